#include "gui/settings/file_dialog_ex.h"

#include <QFile>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

namespace qv::gui {

QStringList nameFiltersOf(const QString& filter) {
  QStringList names;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype at = 0; at + 1 < parts.size(); at += 2) {
    if (parts[at].isEmpty()) break;
    QStringList patterns = parts[at + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) pattern = pattern.trimmed();
    names << QStringLiteral("%1 (%2)").arg(parts[at], patterns.join(QLatin1Char(' ')));
  }
  return names;
}

std::optional<std::string> CFileDialogEx::choose(QWidget* owner, const FileDialogRequest& request) {
  const bool saving = request.mode == FileDialogRequest::Mode::kSave;
  QFileDialog dialog(owner, request.title);
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setOption(QFileDialog::DontResolveSymlinks, !saving);
  dialog.setNameFilters(nameFiltersOf(request.filter));
  if (!request.defaultExtension.isEmpty()) dialog.setDefaultSuffix(request.defaultExtension);
  if (!request.initialPath.isEmpty()) {
    const QFileInfo initial(request.initialPath);
    if (initial.isDir()) {
      dialog.setDirectory(initial.absoluteFilePath());
    } else {
      dialog.setDirectory(initial.absolutePath());
      dialog.selectFile(initial.fileName());
    }
  }

  // The chooser is modal, so the owner takes no input while it is up; the
  // focus goes back to whichever control had it.
  QPointer<QWidget> focused = QApplication::focusWidget();
  const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  if (focused) focused->setFocus();
  if (!chosen) return std::nullopt;
  const QByteArray path = QFile::encodeName(dialog.selectedFiles().constFirst());
  return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

}  // namespace qv::gui
