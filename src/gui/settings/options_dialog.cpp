#include "gui/settings/options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/settings/color_component_box.h"
#include "gui/settings/color_swatch.h"

namespace qv::gui {

namespace {

using settings::ColorField;
using settings::ColorPreset;

constexpr int kPathCharacterLimit = 260;

QString fromBytes(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

std::string toBytes(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString qtext(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

QGroupBox* checkGroup(const QString& title, std::initializer_list<QCheckBox*> boxes) {
  auto* group = new QGroupBox(title);
  auto* layout = new QVBoxLayout(group);
  for (QCheckBox* box : boxes) layout->addWidget(box);
  layout->addStretch();
  return group;
}

}  // namespace

OptionsDialog::OptionsDialog(settings::SettingsStore& store, const settings::ViewOptions& current, FileChooser chooser,
                             StartupEntryUpdater updateStartupEntry, QWidget* parent)
    : QDialog(parent),
      store_(store),
      chooser_(std::move(chooser)),
      updateStartupEntry_(std::move(updateStartupEntry)),
      model_(current, store),
      accepted_(current) {
  setWindowTitle(QStringLiteral("Options"));

  auto* paths = new QGridLayout;
  const auto addPath = [&](int row, PathField& field, const QString& label) {
    field.edit = new QLineEdit;
    field.edit->setMaxLength(kPathCharacterLimit);
    field.edit->setMinimumWidth(field.edit->fontMetrics().averageCharWidth() * 48);
    auto* browseButton = new QToolButton;
    browseButton->setText(QStringLiteral("..."));
    browseButton->setAccessibleName(label + QStringLiteral(" browse"));
    auto* caption = new QLabel(label);
    caption->setBuddy(field.edit);
    paths->addWidget(caption, row, 0);
    paths->addWidget(field.edit, row, 1);
    paths->addWidget(browseButton, row, 2);
    connect(browseButton, &QToolButton::clicked, this, [this, &field] { browse(field); });
  };
  addPath(0, trafficPath_, QStringLiteral("tralog.log File Path"));
  addPath(1, packetPath_, QStringLiteral("rawlog.log File Path"));
  showPath(trafficPath_, model_.trafficLogPath);
  showPath(packetPath_, model_.packetLogPath);

  clearData_ = new QCheckBox(QStringLiteral("Clear data on the view when this application is iconized"));
  registerAutorun_ =
      new QCheckBox(QStringLiteral("Automatically load this application into system-tray at system startup"));
  protocolIcons_ = new QCheckBox(QStringLiteral("Protocol"));
  appNameIcons_ = new QCheckBox(QStringLiteral("Application Name"));
  ruleNameIcons_ = new QCheckBox(QStringLiteral("Rule Name"));
  gridlines_ = new QCheckBox(QStringLiteral("Gridlines"));
  hotTracking_ = new QCheckBox(QStringLiteral("Hot-Tracking "));
  startMinimized_ = new QCheckBox(QStringLiteral("Minimized Window"));

  clearData_->setChecked(model_.clearData);
  registerAutorun_->setChecked(model_.registerAutorun);
  protocolIcons_->setChecked(model_.style.protocolIcons);
  appNameIcons_->setChecked(model_.style.appNameIcons);
  ruleNameIcons_->setChecked(model_.style.ruleNameIcons);
  gridlines_->setChecked(model_.style.gridlines);
  hotTracking_->setChecked(model_.style.hotTracking);
  startMinimized_->setChecked(model_.startMinimized);

  auto* general = checkGroup(QStringLiteral("General Settings"), {clearData_, registerAutorun_});
  auto* styles = new QHBoxLayout;
  styles->addWidget(checkGroup(QStringLiteral("Sub-item Icons"), {protocolIcons_, appNameIcons_, ruleNameIcons_}));
  styles->addWidget(checkGroup(QStringLiteral("View Style"), {gridlines_, hotTracking_}));
  styles->addWidget(checkGroup(QStringLiteral("Window Size at Startup"), {startMinimized_}));

  auto* colorGroup = new QGroupBox(QStringLiteral("Color"));
  auto* colorLayout = new QGridLayout(colorGroup);
  presets_ = new QButtonGroup(this);
  auto* presetRow = new QHBoxLayout;
  const char* presetNames[] = {"Standard", "Black", "Soft", "Light", "Custom"};
  for (int id = 0; id < 5; ++id) {
    auto* button = new QRadioButton(QString::fromLatin1(presetNames[id]));
    presets_->addButton(button, id);
    presetRow->addWidget(button);
  }
  presetRow->addStretch();
  colorLayout->addLayout(presetRow, 0, 0, 1, 5);
  backgroundSwatch_ = new ColorSwatch;
  textSwatch_ = new ColorSwatch;
  const QString rowNames[] = {QStringLiteral("Background (RGB)"), QStringLiteral("Text (RGB)")};
  const QString componentNames[] = {QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")};
  for (int row = 0; row < 2; ++row) {
    auto* caption = new QLabel(rowNames[row]);
    colorLayout->addWidget(caption, row + 1, 0);
    for (int component = 0; component < 3; ++component) {
      const std::size_t field = static_cast<std::size_t>(row * 3 + component);
      auto* box = new ColorComponentBox;
      box->setAccessibleName(rowNames[row] + QLatin1Char(' ') + componentNames[component]);
      if (component == 0) caption->setBuddy(box);
      colors_[field] = box;
      colorLayout->addWidget(box, row + 1, component + 1);
      connect(box, &ColorComponentBox::edited, this, [this, field](const QString& text) { editColor(field, text); });
    }
    colorLayout->addWidget(row == 0 ? backgroundSwatch_ : textSwatch_, row + 1, 4);
  }
  colorLayout->setColumnStretch(4, 1);
  connect(presets_, &QButtonGroup::idClicked, this, [this](int id) { choosePreset(static_cast<ColorPreset>(id)); });
  showColors();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &OptionsDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(paths);
  layout->addWidget(general);
  layout->addLayout(styles);
  layout->addWidget(colorGroup);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void OptionsDialog::showPath(PathField& field, std::string bytes) {
  field.bytes = std::move(bytes);
  field.shown = QFile::decodeName(QByteArray(field.bytes.data(), static_cast<qsizetype>(field.bytes.size())));
  field.edit->setText(field.shown);
}

std::string OptionsDialog::pathBytes(const PathField& field) {
  if (field.edit->text() == field.shown) return field.bytes;
  const QByteArray bytes = QFile::encodeName(field.edit->text());
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void OptionsDialog::browse(PathField& field) {
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::kOpen;
  request.filter = QStringLiteral("Log Files|*.log|Text Files|*.txt|All Files|*.*||");
  if (!chooser_) return;
  const std::optional<std::string> chosen = chooser_(this, request);
  if (!chosen) return;
  takeOverFields();
  showPath(field, *chosen);
}

void OptionsDialog::takeOverFields() {
  model_.trafficLogPath = pathBytes(trafficPath_);
  model_.packetLogPath = pathBytes(packetPath_);
  model_.clearData = clearData_->isChecked();
  model_.registerAutorun = registerAutorun_->isChecked();
  model_.startMinimized = startMinimized_->isChecked();
  model_.style.protocolIcons = protocolIcons_->isChecked();
  model_.style.appNameIcons = appNameIcons_->isChecked();
  model_.style.ruleNameIcons = ruleNameIcons_->isChecked();
  model_.style.gridlines = gridlines_->isChecked();
  model_.style.hotTracking = hotTracking_->isChecked();
}

void OptionsDialog::choosePreset(ColorPreset preset) {
  model_.choosePreset(preset);
  showColors();
}

void OptionsDialog::editColor(std::size_t field, const QString& text) {
  model_.editColor(static_cast<ColorField>(field), toBytes(text));
  showColors();
}

void OptionsDialog::showColors() {
  for (std::size_t field = 0; field < colors_.size(); ++field) {
    colors_[field]->setValue(fromBytes(model_.colorText(static_cast<ColorField>(field))));
  }
  if (QAbstractButton* button = presets_->button(static_cast<int>(model_.preset()))) button->setChecked(true);
  backgroundSwatch_->setColor(model_.backgroundSwatch());
  textSwatch_->setColor(model_.textSwatch());
}

void OptionsDialog::accept() {
  takeOverFields();
  // Without a way to make the entry the option cannot be kept on.
  const StartupEntryUpdater noStartupEntry = [](bool enabled) { return !enabled; };
  const settings::OptionsOutcome outcome =
      model_.accept(store_, updateStartupEntry_ ? updateStartupEntry_ : noStartupEntry);
  if (outcome.kind != settings::OptionsOutcome::Kind::kAccepted) {
    QMessageBox::warning(this, qtext(outcome.caption), qtext(outcome.message), QMessageBox::Ok);
    if (outcome.kind == settings::OptionsOutcome::Kind::kNotANumber) {
      ColorComponentBox* box = colors_[static_cast<std::size_t>(outcome.field)];
      box->setFocus(Qt::OtherFocusReason);
      box->selectAll();
    }
    return;
  }
  registerAutorun_->setChecked(model_.registerAutorun);
  accepted_ = outcome.view;
  emit viewOptionsAccepted(accepted_);
  QDialog::accept();
}

}  // namespace qv::gui
