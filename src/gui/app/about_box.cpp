#include "gui/app/about_box.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

#include "decode/vendor_lookup.h"

namespace qv::gui {

namespace {

// The status line holds the library's path in the file system's bytes.
QString statusText(const VendorLibraryStatus& status) {
  const std::string text = vendorLibraryStatusText(status);
  return QFile::decodeName(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

QString aboutBoxTitle() { return QStringLiteral("About Quorvex Log Viewer"); }

QString aboutBoxText(const VendorLibraryStatus& vendorLibrary) {
  return QStringLiteral("<p><b>Quorvex Log Viewer</b><br>Version %1</p><p>%2</p>")
      .arg(QStringLiteral(QV_VERSION).toHtmlEscaped(), statusText(vendorLibrary).toHtmlEscaped());
}

void prepareAboutBox(QMessageBox& box, const VendorLibraryStatus& vendorLibrary) {
  box.setWindowTitle(aboutBoxTitle());
  box.setTextFormat(Qt::RichText);
  box.setText(aboutBoxText(vendorLibrary));
  box.setStandardButtons(QMessageBox::Ok);
  const QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) box.setIconPixmap(icon.pixmap(box.fontMetrics().height() * 3));
}

void showAboutBox(QWidget* parent) {
  QMessageBox box(parent);
  prepareAboutBox(box, vendorLibraryStatus(vendorLibraryPath()));
  box.exec();
}

}  // namespace qv::gui
