#include "gui/views/port_report_opener.h"

#include <QDesktopServices>
#include <QMessageBox>

#include <variant>

#include "views/port_report.h"

namespace qv::gui {

namespace {

QString fromBytes(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

UrlOpener standardUrlOpener() {
  return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

QString portReportFailureText(const QUrl& url) {
  return QStringLiteral("Error : The web browser could not be started for %1").arg(url.toString());
}

void showPortReport(QWidget* owner, const TrafficRecord* selectedEvent, const UrlOpener& openUrl) {
  const PortReport report = portReportFor(selectedEvent);
  if (const auto* box = std::get_if<IcmpExplanationBox>(&report)) {
    QString text = fromBytes(box->text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox::information(owner, fromBytes(kIcmpExplanationCaption), text, QMessageBox::Ok);
    return;
  }
  const QUrl url(fromBytes(std::get<PortReportPage>(report).url), QUrl::StrictMode);
  if (url.isValid() && openUrl && openUrl(url)) return;
  QMessageBox::warning(owner, QStringLiteral("Quorvex Log Viewer"), portReportFailureText(url), QMessageBox::Ok);
}

}  // namespace qv::gui
