#pragma once

#include <QUrl>

#include <functional>

#include "logdata/traffic_record.h"

class QWidget;

namespace qv::gui {

// Opens a web page in the user's browser; false when it could not.
// QDesktopServices::openUrl unless a test hands in its own.
using UrlOpener = std::function<bool(const QUrl& url)>;

UrlOpener standardUrlOpener();

// "Search ISC Port Reports" for the selected event (null when none is
// selected): opens the port-report page of the event's service port, or for
// an ICMP event explains its type and code in a "What's this?" box. A page
// that cannot be opened is reported, rather than leaving the user waiting.
void showPortReport(QWidget* owner, const TrafficRecord* selectedEvent, const UrlOpener& openUrl);

// The message shown when the browser could not be started for url.
QString portReportFailureText(const QUrl& url);

}  // namespace qv::gui
