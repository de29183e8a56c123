#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <string>

#include "gui/settings/file_dialog_ex.h"
#include "settings/options_model.h"
#include "settings/settings_store.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace qv::gui {

class ColorComponentBox;
class ColorSwatch;

// Brings the start-up entry into the state of its check box; false when it
// could not (the option is then stored as off).
using StartupEntryUpdater = std::function<bool(bool enabled)>;

// "Options": log paths, list appearance, colours and start-up behaviour. It
// reads and writes the settings itself; the caller gives it the traffic
// view's list options and, after OK, applies viewOptions() to both views.
// Cancel writes nothing.
class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  OptionsDialog(settings::SettingsStore& store, const settings::ViewOptions& current, FileChooser chooser,
                StartupEntryUpdater updateStartupEntry, QWidget* parent = nullptr);

  // The list options to apply; meaningful once the dialog was accepted.
  const settings::ViewOptions& viewOptions() const { return accepted_; }

  void accept() override;

 signals:
  // Emitted on OK after the settings were written.
  void viewOptionsAccepted(const qv::settings::ViewOptions& options);

 private:
  // A log path field keeps the stored bytes for as long as the user leaves
  // its text alone, so a path the display cannot show exactly is not altered.
  struct PathField {
    QLineEdit* edit = nullptr;
    std::string bytes;
    QString shown;
  };

  QWidget* makePathRow(PathField& field, const QString& label);
  void browse(PathField& field);
  void choosePreset(settings::ColorPreset preset);
  void editColor(std::size_t field, const QString& text);
  void showColors();
  void takeOverFields();
  static void showPath(PathField& field, std::string bytes);
  static std::string pathBytes(const PathField& field);

  settings::SettingsStore& store_;
  FileChooser chooser_;
  StartupEntryUpdater updateStartupEntry_;
  settings::OptionsModel model_;
  settings::ViewOptions accepted_;

  PathField trafficPath_;
  PathField packetPath_;
  QCheckBox* clearData_ = nullptr;
  QCheckBox* registerAutorun_ = nullptr;
  QCheckBox* protocolIcons_ = nullptr;
  QCheckBox* appNameIcons_ = nullptr;
  QCheckBox* ruleNameIcons_ = nullptr;
  QCheckBox* gridlines_ = nullptr;
  QCheckBox* hotTracking_ = nullptr;
  QCheckBox* startMinimized_ = nullptr;
  QButtonGroup* presets_ = nullptr;
  std::array<ColorComponentBox*, settings::kColorFieldCount> colors_{};
  ColorSwatch* backgroundSwatch_ = nullptr;
  ColorSwatch* textSwatch_ = nullptr;
};

}  // namespace qv::gui
