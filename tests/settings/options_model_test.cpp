#include "settings/memory_settings_store.h"
#include "settings/options_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv::settings {
namespace {

// Records what the dialog asked of the start-up entry and answers as told.
struct StartupEntrySpy {
  bool succeeds = true;
  std::vector<bool> requests;
  std::function<bool(bool)> callback() {
    return [this](bool enabled) {
      requests.push_back(enabled);
      return succeeds;
    };
  }
};

ViewOptions viewOptions(std::uint32_t background, std::uint32_t text) {
  return ViewOptions{ViewStyle{}, background, text};
}

TEST(OptionsModel, SelectsThePresetThatMatchesExactly) {
  const MemorySettingsStore store;
  EXPECT_EQ(OptionsModel(viewOptions(0xFFFFFF, 0), store).preset(), ColorPreset::kStandard);
  EXPECT_EQ(OptionsModel(viewOptions(0, 0xE6E6E6), store).preset(), ColorPreset::kBlack);
  EXPECT_EQ(OptionsModel(viewOptions(0xE4DDD1, 0), store).preset(), ColorPreset::kSoft);
  EXPECT_EQ(OptionsModel(viewOptions(0xEBFFFF, 0), store).preset(), ColorPreset::kLight);
  const OptionsModel custom(viewOptions(0xE4DDD1, 0x000001), store);
  EXPECT_EQ(custom.preset(), ColorPreset::kCustom);
  EXPECT_EQ(custom.colorText(ColorField::kBackgroundRed), "209");
  EXPECT_EQ(custom.colorText(ColorField::kBackgroundBlue), "228");
  EXPECT_EQ(custom.colorText(ColorField::kTextRed), "1");
}

TEST(OptionsModel, PresetButtonsFillTheFieldsAndEditsSwitchToCustom) {
  const MemorySettingsStore store;
  OptionsModel model(viewOptions(0xFFFFFF, 0), store);
  model.editColor(ColorField::kTextGreen, "17");
  model.choosePreset(ColorPreset::kSoft);
  EXPECT_EQ(model.preset(), ColorPreset::kSoft);
  const std::vector<std::string> expected = {"209", "221", "228", "0", "0", "0"};
  for (std::size_t i = 0; i < kColorFieldCount; ++i) EXPECT_EQ(model.colorText(static_cast<ColorField>(i)), expected[i]);
  EXPECT_EQ(model.backgroundSwatch(), 0xE4DDD1U);

  // The dialog showing the preset's values hands the same texts back: no edit.
  EXPECT_FALSE(model.editColor(ColorField::kBackgroundRed, "209"));
  EXPECT_EQ(model.preset(), ColorPreset::kSoft);
  EXPECT_TRUE(model.editColor(ColorField::kTextBlue, "5"));
  EXPECT_EQ(model.preset(), ColorPreset::kCustom);

  model.choosePreset(ColorPreset::kCustom);
  EXPECT_EQ(model.colorText(ColorField::kTextBlue), "5");
  model.choosePreset(ColorPreset::kBlack);
  EXPECT_EQ(model.backgroundSwatch(), 0U);
  EXPECT_EQ(model.textSwatch(), 0xE6E6E6U);
}

TEST(OptionsModel, SwatchesTakeEachFieldModulo256) {
  const MemorySettingsStore store;
  OptionsModel model(viewOptions(0, 0), store);
  model.editColor(ColorField::kBackgroundRed, "257");
  model.editColor(ColorField::kBackgroundGreen, "-1");
  model.editColor(ColorField::kBackgroundBlue, "x");
  EXPECT_EQ(model.backgroundSwatch(), 0x00FF01U);
}

TEST(OptionsModel, BeforeTheKeyExistsPathsAreEmptyAndStartUpBoxesUnchecked) {
  const MemorySettingsStore store;
  const OptionsModel model(viewOptions(0xFFFFFF, 0), store);
  EXPECT_EQ(model.trafficLogPath, "");
  EXPECT_EQ(model.packetLogPath, "");
  EXPECT_FALSE(model.startMinimized);
  EXPECT_FALSE(model.clearData);
  EXPECT_FALSE(model.registerAutorun);
}

TEST(OptionsModel, BadFieldsKeepTheDialogOpenAndWriteNothing) {
  struct Case {
    ColorField field;
    const char* text;
    OptionsOutcome::Kind kind;
  };
  for (const Case& c : {Case{ColorField::kTextBlue, "256", OptionsOutcome::Kind::kComponentOutOfRange},
                        Case{ColorField::kBackgroundRed, "-1", OptionsOutcome::Kind::kComponentOutOfRange},
                        Case{ColorField::kTextRed, "99999999999999999999", OptionsOutcome::Kind::kComponentOutOfRange},
                        Case{ColorField::kBackgroundGreen, "12a", OptionsOutcome::Kind::kNotANumber},
                        Case{ColorField::kTextGreen, "", OptionsOutcome::Kind::kNotANumber}}) {
    MemorySettingsStore store;
    OptionsModel model(viewOptions(0xFFFFFF, 0), store);
    model.trafficLogPath = "/x/tralog.log";
    model.registerAutorun = true;
    model.editColor(c.field, c.text);
    StartupEntrySpy spy;
    const OptionsOutcome outcome = model.accept(store, spy.callback());
    EXPECT_EQ(outcome.kind, c.kind) << c.text;
    EXPECT_FALSE(store.keyExists()) << c.text;
    EXPECT_TRUE(spy.requests.empty()) << c.text;
    if (c.kind == OptionsOutcome::Kind::kComponentOutOfRange) {
      EXPECT_EQ(outcome.message, "Error : RGB element over 255");
      EXPECT_EQ(outcome.caption, "Error");
    } else {
      EXPECT_EQ(outcome.field, c.field);
    }
  }
}

TEST(OptionsModel, APathTooLongToReadBackIsRefused) {
  MemorySettingsStore store;
  OptionsModel model(viewOptions(0xFFFFFF, 0), store);
  model.packetLogPath = std::string(kMaxReadableTextLength + 1, 'p');
  StartupEntrySpy spy;
  EXPECT_EQ(model.accept(store, spy.callback()).kind, OptionsOutcome::Kind::kPathTooLong);
  EXPECT_FALSE(store.keyExists());
  model.packetLogPath.pop_back();
  EXPECT_EQ(model.accept(store, spy.callback()).kind, OptionsOutcome::Kind::kAccepted);
  EXPECT_EQ(readOptionsSettings(store).packetLogPath, model.packetLogPath);
}

TEST(OptionsModel, OkUpdatesTheStartUpEntryThenWritesTheOptions) {
  MemorySettingsStore store;
  OptionsModel model(viewOptions(0xFFFFFF, 0), store);
  model.trafficLogPath = "/fw/tralog.log";
  model.style = ViewStyle{true, false, true, true, false};
  model.startMinimized = true;
  model.clearData = false;
  model.registerAutorun = true;
  model.editColor(ColorField::kBackgroundGreen, " 200 ");
  StartupEntrySpy spy;
  const OptionsOutcome outcome = model.accept(store, spy.callback());
  ASSERT_EQ(outcome.kind, OptionsOutcome::Kind::kAccepted);
  EXPECT_EQ(outcome.view, (ViewOptions{ViewStyle{true, false, true, true, false}, 0xFFC8FF, 0}));
  EXPECT_EQ(spy.requests, std::vector<bool>{true});
  EXPECT_EQ(readOptionsSettings(store), (StoredOptions{"/fw/tralog.log", "", true, false, true}));
  EXPECT_EQ(store.storedValue("ViewStyle")->bytes, (std::vector<std::uint8_t>{0x16, 0, 0, 0}));

  // Unchecked: the entry is removed.
  OptionsModel again(outcome.view, store);
  EXPECT_TRUE(again.registerAutorun);
  again.registerAutorun = false;
  again.accept(store, spy.callback());
  EXPECT_EQ(spy.requests, (std::vector<bool>{true, false}));
  EXPECT_FALSE(readOptionsSettings(store).registerAutorun);
}

TEST(OptionsModel, AStartUpEntryThatCannotBeWrittenIsStoredAsOff) {
  MemorySettingsStore store;
  OptionsModel model(viewOptions(0xFFFFFF, 0), store);
  model.registerAutorun = true;
  StartupEntrySpy spy;
  spy.succeeds = false;
  ASSERT_EQ(model.accept(store, spy.callback()).kind, OptionsOutcome::Kind::kAccepted);
  EXPECT_EQ(store.storedValue("RegisterAutorun")->bytes, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_FALSE(model.registerAutorun);
}

TEST(OptionsModel, WholeNumbersAsTheDialogAcceptsThem) {
  EXPECT_EQ(parseWholeNumber("0"), 0);
  EXPECT_EQ(parseWholeNumber(" +17\t"), 17);
  EXPECT_EQ(parseWholeNumber("-3"), -3);
  EXPECT_EQ(parseWholeNumber("1 2"), std::nullopt);
  EXPECT_EQ(parseWholeNumber("-"), std::nullopt);
  EXPECT_EQ(parseWholeNumber("0x10"), std::nullopt);
  EXPECT_EQ(parseWholeNumber("4.5"), std::nullopt);
}

}  // namespace
}  // namespace qv::settings
