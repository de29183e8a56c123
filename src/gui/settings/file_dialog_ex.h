#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace qv::gui {

// What one "..." or "Save to File" command asks of the file chooser. The
// filter is written as the log formats' dialogs describe it:
// "Log Files|*.log|Text Files|*.txt|All Files|*.*||".
struct FileDialogRequest {
  enum class Mode { kOpen, kSave };
  Mode mode = Mode::kOpen;
  QString filter;
  QString defaultExtension;  // without the dot; added to a typed name that has none
  QString initialPath;       // a folder or file to start in; empty for the current folder
  QString title;             // empty: the platform's own "Open" / "Save As"
};

// The chosen path as the bytes the file system takes, or nothing on Cancel.
using FileChooser = std::function<std::optional<std::string>(QWidget* owner, const FileDialogRequest& request)>;

// "Name|*.a;*.b|..." as Qt's name filters ("Name (*.a *.b)").
QStringList nameFiltersOf(const QString& filter);

// The viewer's file chooser. Opening: the file must exist. Saving: the folder
// must exist and an existing file is only replaced after the user agrees.
// It is modal over its owner, and the focus returns where it was.
class CFileDialogEx {
 public:
  static std::optional<std::string> choose(QWidget* owner, const FileDialogRequest& request);

  // The chooser windows use unless a test hands them another.
  static FileChooser standard() { return &CFileDialogEx::choose; }
};

}  // namespace qv::gui
