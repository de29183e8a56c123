#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QTest>

#include <string>
#include <vector>

#include "gui/settings/color_component_box.h"
#include "gui/settings/color_swatch.h"
#include "gui/settings/options_dialog.h"
#include "modal_watcher.h"
#include "settings/memory_settings_store.h"
#include "settings/value_names.h"

namespace qv::gui {
namespace {

using settings::MemorySettingsStore;
using settings::StoredValue;
using settings::ViewOptions;
using settings::ValueType;
using test::childNamed;
using test::childWithText;

StoredValue text(const std::string& bytes) {
  StoredValue value{ValueType::kText, {bytes.begin(), bytes.end()}};
  value.bytes.push_back(0);
  return value;
}

StoredValue number(std::uint32_t value) {
  return StoredValue{ValueType::kNumber32, {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
}

// Drives one Options dialog over a memory store, with the start-up entry and
// the file chooser replaced by recorders.
struct OptionsFixture {
  explicit OptionsFixture(ViewOptions current = {}) : current(current) {}

  OptionsDialog& open() {
    dialog = std::make_unique<OptionsDialog>(
        store, current,
        [this](QWidget*, const FileDialogRequest& request) {
          requests.push_back(request);
          return chosenPath;
        },
        [this](bool enabled) {
          startupCalls.push_back(enabled);
          return startupWorks;
        });
    dialog->show();
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    return *dialog;
  }

  ColorComponentBox& color(const char* name) const {
    auto* box = childNamed<ColorComponentBox>(*dialog, QString::fromLatin1(name));
    EXPECT_NE(box, nullptr) << name;
    return *box;
  }
  QString colors() const {
    QStringList values;
    for (const char* row : {"Background (RGB)", "Text (RGB)"}) {
      for (const char* component : {"red", "green", "blue"}) {
        values << color((std::string(row) + " " + component).c_str()).value();
      }
    }
    return values.join(QLatin1Char(','));
  }
  QString checkedPreset() const {
    for (QRadioButton* button : dialog->findChildren<QRadioButton*>()) {
      if (button->isChecked()) return button->text();
    }
    return {};
  }
  void click(const char* buttonText) const {
    auto* button = childWithText<QAbstractButton>(*dialog, QString::fromLatin1(buttonText));
    ASSERT_NE(button, nullptr) << buttonText;
    button->click();
  }
  void pressOk() const { dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }
  void type(const char* field, const char* keys) const {
    ColorComponentBox& box = color(field);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&box, QString::fromLatin1(keys));
  }
  std::vector<QColor> swatches() const {
    std::vector<QColor> result;
    for (const ColorSwatch* swatch : dialog->findChildren<ColorSwatch*>()) result.push_back(swatch->color());
    return result;
  }

  MemorySettingsStore store;
  ViewOptions current;
  std::unique_ptr<OptionsDialog> dialog;
  std::optional<std::string> chosenPath;
  std::vector<FileDialogRequest> requests;
  std::vector<bool> startupCalls;
  bool startupWorks = true;
};

TEST(OptionsDialog, PresetsFillTheFieldsAndAnyEditSelectsCustom) {
  OptionsFixture fixture(ViewOptions{{}, 0xE4DDD1, 0});
  fixture.open();
  EXPECT_EQ(fixture.checkedPreset(), "Soft");
  EXPECT_EQ(fixture.colors(), "209,221,228,0,0,0");

  fixture.click("Black");
  EXPECT_EQ(fixture.checkedPreset(), "Black");
  EXPECT_EQ(fixture.colors(), "0,0,0,230,230,230");
  EXPECT_EQ(fixture.swatches(), (std::vector<QColor>{QColor(0, 0, 0), QColor(230, 230, 230)}));

  // Typing switches to Custom and repaints the swatch at once.
  fixture.type("Background (RGB) green", "128");
  EXPECT_EQ(fixture.checkedPreset(), "Custom");
  EXPECT_EQ(fixture.swatches()[0], QColor(0, 128, 0));

  fixture.click("Light");
  EXPECT_EQ(fixture.colors(), "255,255,235,0,0,0");
  // The arrows are edits too, and keep within 0 to 255.
  QTest::keyClick(&fixture.color("Background (RGB) red"), Qt::Key_Up);
  EXPECT_EQ(fixture.color("Background (RGB) red").value(), "255");
  EXPECT_EQ(fixture.checkedPreset(), "Light");
  QTest::keyClick(&fixture.color("Text (RGB) blue"), Qt::Key_Up);
  EXPECT_EQ(fixture.color("Text (RGB) blue").value(), "1");
  EXPECT_EQ(fixture.checkedPreset(), "Custom");
  EXPECT_EQ(fixture.swatches()[1], QColor(0, 0, 1));

  // Custom keeps whatever the fields hold.
  fixture.click("Custom");
  EXPECT_EQ(fixture.colors(), "255,255,235,0,0,1");

  OptionsFixture almostSoft(ViewOptions{{}, 0xE4DDD1, 0x000001});
  almostSoft.open();
  EXPECT_EQ(almostSoft.checkedPreset(), "Custom");
}

TEST(OptionsDialog, BadColourFieldsKeepTheDialogOpenAndWriteNothing) {
  OptionsFixture fixture;
  fixture.open();
  fixture.type("Text (RGB) green", "256");
  {
    test::MessageBoxAnswerer answerer;
    fixture.pressOk();
    ASSERT_EQ(answerer.messages.size(), 1u);
    EXPECT_EQ(answerer.messages[0].title, "Error");
    EXPECT_EQ(answerer.messages[0].text, "Error : RGB element over 255");
  }
  fixture.type("Text (RGB) green", "12a");
  {
    test::MessageBoxAnswerer answerer;
    fixture.pressOk();
    ASSERT_EQ(answerer.messages.size(), 1u);
    EXPECT_EQ(answerer.messages[0].title, "Quorvex Log Viewer");
    EXPECT_EQ(answerer.messages[0].text, "Please enter an integer.");
  }
  // The field at fault has the focus, its text selected for retyping.
  EXPECT_TRUE(test::holdsFocus(*fixture.dialog, fixture.color("Text (RGB) green")));
  EXPECT_TRUE(fixture.dialog->isVisible());
  EXPECT_EQ(fixture.dialog->result(), QDialog::Rejected);
  EXPECT_FALSE(fixture.store.keyExists());
  EXPECT_TRUE(fixture.startupCalls.empty());
}

TEST(OptionsDialog, OkWritesTheChainInOrderAndHandsBackTheViewOptions) {
  OptionsFixture fixture(ViewOptions{{}, 0xFFFFFF, 0});
  // A stored path the display cannot show exactly keeps its bytes.
  const std::string packetPath = "/var/log/r\xE9seau/rawlog.log";
  fixture.store.putValue(settings::names::kPacketLogPath, text(packetPath));
  fixture.store.putValue(settings::names::kClearData, number(0));
  OptionsDialog& dialog = fixture.open();
  EXPECT_FALSE(childWithText<QCheckBox>(dialog, "Clear data on the view when this application is iconized")->isChecked());

  fixture.chosenPath = "/logs/tra\xF6/tralog.log";
  childNamed<QAbstractButton>(dialog, "tralog.log File Path browse")->click();
  ASSERT_EQ(fixture.requests.size(), 1u);
  EXPECT_EQ(fixture.requests[0].filter, "Log Files|*.log|Text Files|*.txt|All Files|*.*||");
  EXPECT_EQ(fixture.requests[0].mode, FileDialogRequest::Mode::kOpen);

  fixture.click("Soft");
  childWithText<QCheckBox>(dialog, "Protocol")->setChecked(true);
  childWithText<QCheckBox>(dialog, "Gridlines")->setChecked(false);
  childWithText<QCheckBox>(dialog, "Automatically load this application into system-tray at system startup")
      ->setChecked(true);
  childWithText<QCheckBox>(dialog, "Minimized Window")->setChecked(true);
  fixture.startupWorks = false;  // no right to make the entry: stored as off

  std::vector<ViewOptions> signalled;
  QObject::connect(&dialog, &OptionsDialog::viewOptionsAccepted,
                   [&](const ViewOptions& options) { signalled.push_back(options); });
  fixture.pressOk();

  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(fixture.startupCalls, std::vector<bool>{true});
  ViewOptions expected{{}, 0xE4DDD1, 0};
  expected.style.protocolIcons = true;
  expected.style.gridlines = false;
  EXPECT_EQ(dialog.viewOptions(), expected);
  EXPECT_EQ(signalled, std::vector<ViewOptions>{expected});

  const auto stored = [&](std::string_view name) { return fixture.store.storedValue(name); };
  EXPECT_EQ(stored(settings::names::kTrafficLogPath), text("/logs/tra\xF6/tralog.log"));
  EXPECT_EQ(stored(settings::names::kPacketLogPath), text(packetPath));
  EXPECT_EQ(stored(settings::names::kViewStyle), number(0x08 | 0x01));
  EXPECT_EQ(stored(settings::names::kBackgroundColor), number(0xE4DDD1));
  EXPECT_EQ(stored(settings::names::kTextColor), number(0));
  EXPECT_EQ(stored(settings::names::kStartMinimized), number(1));
  EXPECT_EQ(stored(settings::names::kClearData), number(0));
  EXPECT_EQ(stored(settings::names::kRegisterAutorun), number(0));
}

TEST(OptionsDialog, AFailedWriteStopsTheChainAndCancelWritesNothing) {
  OptionsFixture failing;
  failing.store.putValue(settings::names::kBackgroundColor, number(0x123456));
  failing.open();
  failing.click("Black");
  failing.store.failWrite(3);  // "ViewStyle", the third in the chain
  failing.pressOk();
  EXPECT_EQ(failing.dialog->result(), QDialog::Accepted);
  EXPECT_TRUE(failing.store.storedValue(settings::names::kPacketLogPath).has_value());
  EXPECT_FALSE(failing.store.storedValue(settings::names::kViewStyle).has_value());
  EXPECT_EQ(failing.store.storedValue(settings::names::kBackgroundColor), number(0x123456));
  EXPECT_FALSE(failing.store.storedValue(settings::names::kRegisterAutorun).has_value());

  OptionsFixture cancelled;
  OptionsDialog& dialog = cancelled.open();
  cancelled.click("Black");
  childWithText<QCheckBox>(dialog, "Automatically load this application into system-tray at system startup")
      ->setChecked(true);
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(cancelled.store.keyExists());
  EXPECT_EQ(cancelled.store.writeAttempts(), 0u);
  EXPECT_TRUE(cancelled.startupCalls.empty());
}

}  // namespace
}  // namespace qv::gui
