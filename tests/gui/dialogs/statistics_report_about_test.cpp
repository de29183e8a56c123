#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

#include <vector>

#include "gui/app/about_box.h"
#include "gui/views/port_report_opener.h"
#include "gui/views/statistics_chart.h"
#include "gui/views/statistics_dialog.h"
#include "modal_watcher.h"

namespace qv::gui {
namespace {

using namespace RecordFlag;

TrafficRecord event(std::uint8_t flags, std::uint16_t localPort, std::uint16_t remotePort, std::uint32_t count = 1) {
  TrafficRecord record;
  record.flags = flags;
  record.localPort = localPort;
  record.remotePort = remotePort;
  record.occurrences = count;
  record.remoteIp = "10.0.0.1";
  record.localIp = "192.168.0.2";
  return record;
}

TEST(StatisticsDialog, ShowsTheTextAndBarsForItsFirstTenLines) {
  std::vector<TrafficRecord> shown;
  for (std::uint16_t port = 20; port < 32; ++port) {
    shown.push_back(event(kBlocked | kIncoming | (port % 3 ? kTcp : kUdp), port, 4000, port));
  }
  shown.push_back(event(kAllowed | kIncoming | kTcp, 80, 4000, 500));
  StatisticsDialog dialog(shown);
  EXPECT_EQ(dialog.windowTitle(), "Statistics");

  // Bars in the text's order with its counts and shares: read them back from
  // the text the box shows.
  const QStringList lines = dialog.text().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 13);
  EXPECT_EQ(lines[0], "[Proto]\t[Port]\t[Count]\t[ratio(%)]");
  const std::vector<PortChartBar>& bars = dialog.chart().bars();
  ASSERT_EQ(bars.size(), 10u);
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const QStringList cells = lines[static_cast<int>(i) + 1].split(QLatin1Char('\t'));
    ASSERT_EQ(cells.size(), 4);
    EXPECT_EQ(StatisticsChart::axisText(bars[i]), cells[0].trimmed() + QLatin1Char(' ') + cells[1]);
    EXPECT_EQ(StatisticsChart::valueText(bars[i]), cells[2] + QStringLiteral(" (") + cells[3].trimmed() + " %)");
  }
  EXPECT_EQ(StatisticsChart::axisText(bars[0]), "TCP 31");

  StatisticsDialog empty(std::vector<TrafficRecord>{event(kAllowed | kIncoming | kTcp, 80, 4000)});
  EXPECT_EQ(empty.text(), "[Proto]\t[Port]\t[Count]\t[ratio(%)]\n");
  EXPECT_TRUE(empty.chart().bars().empty());
}

TEST(PortReport, OpensTheServicePortsPageOrExplainsAnIcmpEvent) {
  std::vector<QUrl> opened;
  bool browserWorks = true;
  const UrlOpener opener = [&](const QUrl& url) {
    opened.push_back(url);
    return browserWorks;
  };
  test::MessageBoxAnswerer answerer;

  const TrafficRecord incomingTcp = event(kBlocked | kIncoming | kTcp, 139, 4321);
  showPortReport(nullptr, &incomingTcp, opener);
  const TrafficRecord outgoingUdp = event(kAllowed | kOutgoing | kUdp, 1028, 53);
  showPortReport(nullptr, &outgoingUdp, opener);
  showPortReport(nullptr, nullptr, opener);
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0].toString(), "https://isc.sans.edu/port_details.html?port=139");
  EXPECT_TRUE(opened[1].toString().endsWith("port_details.html?port=53"));
  EXPECT_TRUE(opened[2].toString().endsWith("port_details.html?port="));
  EXPECT_TRUE(answerer.messages.empty());

  const TrafficRecord unreachable = event(kBlocked | kIncoming | kIcmp, 3, 3);
  showPortReport(nullptr, &unreachable, opener);
  const TrafficRecord echo = event(kBlocked | kIncoming | kIcmp, 8, 0);
  showPortReport(nullptr, &echo, opener);
  EXPECT_EQ(opened.size(), 3u);
  ASSERT_EQ(answerer.messages.size(), 2u);
  EXPECT_EQ(answerer.messages[0].title, "What's this?");
  EXPECT_EQ(answerer.messages[0].text, "ICMP\nType : Destination Unreachable\nCode : Port Unreachable");
  EXPECT_EQ(answerer.messages[1].text, "ICMP\nType : Echo Request");

  // A browser that cannot be started is reported, not ignored.
  browserWorks = false;
  showPortReport(nullptr, &incomingTcp, opener);
  ASSERT_EQ(answerer.messages.size(), 3u);
  EXPECT_EQ(answerer.messages[2].title, "Quorvex Log Viewer");
  EXPECT_EQ(answerer.messages[2].text, portReportFailureText(opened.back()));
  EXPECT_TRUE(answerer.messages[2].text.contains("port_details.html?port=139"));
}

TEST(AboutBox, NamesTheProgramItsVersionAndTheVendorLibrary) {
  QMessageBox box;
  prepareAboutBox(box, VendorLibraryStatus{VendorLibraryStatus::Kind::kNotFound, "/opt/q<v>/libvendtab.so"});
  EXPECT_EQ(box.windowTitle(), "About Quorvex Log Viewer");
  EXPECT_TRUE(box.text().contains("Quorvex Log Viewer"));
  EXPECT_TRUE(box.text().contains(QStringLiteral("Version ") + QStringLiteral(QV_VERSION)));
  // The path is shown as text, never read as markup.
  EXPECT_TRUE(box.text().contains("not found at /opt/q&lt;v&gt;/libvendtab.so"));
  ASSERT_NE(box.button(QMessageBox::Ok), nullptr);

  const QString loaded =
      aboutBoxText(VendorLibraryStatus{VendorLibraryStatus::Kind::kLoaded, "/usr/lib/qv/libvendtab.so"});
  EXPECT_TRUE(loaded.contains("Vendor library loaded from /usr/lib/qv/libvendtab.so"));
}

}  // namespace
}  // namespace qv::gui
