#include "write_faults.h"

#include <filesystem>
#include <vector>

#include "filter/filter_entry.h"
#include "filter/filter_list.h"
#include "filter/filter_list_file.h"
#include "logdata/log_export.h"
#include "logdata/log_file.h"
#include "logdata/packet_log_reader.h"
#include "logdata/traffic_log_reader.h"
#include "platform/autostart.h"
#include "settings/temporary_home.h"
#include "views/csv_save.h"
#ifdef QV_HAVE_CAPTURE
#include "capture/capture_export.h"
#endif

namespace qv::test {
namespace {

namespace fs = std::filesystem;

// Enough traffic records that an export takes more than one write call.
const std::vector<TrafficRecord>& trafficRecords() {
  static const std::vector<TrafficRecord> records = [] {
    const TrafficLogFileRead sample = readTrafficLogFile(std::string(QV_SOURCE_DIR) + "/samples/tralog.log");
    std::vector<TrafficRecord> many;
    while (!sample.log.records.empty() && many.size() < 6000) {
      many.insert(many.end(), sample.log.records.begin(), sample.log.records.end());
    }
    return many;
  }();
  return records;
}

const std::vector<PacketRecord>& packetRecords() {
  static const std::vector<PacketRecord> records =
      parsePacketLog(readWholeFile(std::string(QV_SOURCE_DIR) + "/samples/rawlog.log").buffer).records;
  return records;
}

WriteOutcome fromExport(const ExportResult& result) { return {result.written(), result.message}; }

WriteOutcome fromFileWrite(const platform::FileWriteResult& result) {
  return {result.ok(), result.ok() ? std::string() : result.errorText()};
}

std::string beside(const std::string& folder, const std::string& name) { return folder + "/" + name; }

}  // namespace

std::vector<ProgramWrite> platformWrites() {
  std::vector<ProgramWrite> writes;
  const std::string openError = std::string(kExportOpenError) + " : ";
  const std::string writeError = std::string(kExportWriteError) + " : ";
  writes.push_back({"traffic export", [](const std::string& f) { return beside(f, "traffic.log"); },
                    [](const std::string& path) { return fromExport(exportTrafficSelection(trafficRecords(), path)); },
                    openError, writeError});
  writes.push_back({"packet export", [](const std::string& f) { return beside(f, "packets.log"); },
                    [](const std::string& path) { return fromExport(exportPacketSelection(packetRecords(), path)); },
                    openError, writeError});
  // A CSV save reports every failure as a write error.
  writes.push_back({"traffic CSV", [](const std::string& f) { return beside(f, "traffic.csv"); },
                    [](const std::string& path) { return fromExport(saveTrafficCsv({}, trafficRecords(), path)); },
                    writeError, writeError});
  writes.push_back({"packet CSV", [](const std::string& f) { return beside(f, "packets.csv"); },
                    [](const std::string& path) { return fromExport(savePacketCsv(packetRecords(), {}, path)); },
                    writeError, writeError});
  writes.push_back({"filter.lst", [](const std::string& f) { return beside(f, "filter.lst"); },
                    [](const std::string& path) {
                      const FilterList list(std::vector<FilterEntry>(200, blankFilterEntry()));
                      return fromFileWrite(storeFilterListFile(list, path));
                    },
                    "", ""});
  writes.push_back({"autostart entry",
                    [](const std::string& f) {
                      fs::create_directories(f + "/autostart");
                      return f + "/autostart/qvlogview.desktop";
                    },
                    [](const std::string& path) {
                      const ConfigHomeOverride home(fs::path(path).parent_path().parent_path().string());
                      const bool ok = platform::writeStartupEntry("/opt/Quorvex Viewer/bin/qvlogview");
                      // The options dialog learns only that it failed.
                      return WriteOutcome{ok, ok ? "" : "failed"};
                    },
                    "", "", false});
#ifdef QV_HAVE_CAPTURE
  writes.push_back({"capture export", [](const std::string& f) { return beside(f, "packets.pcap"); },
                    [](const std::string& path) {
                      const CaptureExport result = exportCaptureFile(packetRecords(), path);
                      return WriteOutcome{result.ok, result.message};
                    },
                    openError, writeError});
#endif
  return writes;
}

}  // namespace qv::test
