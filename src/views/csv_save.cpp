#include "views/csv_save.h"

#include "platform/atomic_file.h"
#include "views/row_formats.h"

namespace qv {
namespace {

template <class Record, class Document>
ExportResult saveCsv(std::span<const Record> selected, std::span<const Record> shown, const std::string& path,
                     Document document) {
  const std::span<const Record> rows = selected.empty() ? shown : selected;
  if (rows.empty()) return {ExportStatus::kNothingSelected, std::string(kExportNothingSelected)};
  const platform::FileWriteResult written = platform::writeFileAtomically(path, document(rows));
  if (written.ok()) return {};
  return {ExportStatus::kWriteFailed, std::string(kExportWriteError) + " : " + written.errorText()};
}

}  // namespace

ExportResult saveTrafficCsv(std::span<const TrafficRecord> selected, std::span<const TrafficRecord> shown,
                            const std::string& path) {
  return saveCsv(selected, shown, path, &trafficRowsCsv);
}

ExportResult savePacketCsv(std::span<const PacketRecord> selected, std::span<const PacketRecord> shown,
                           const std::string& path) {
  return saveCsv(selected, shown, path, &packetRowsCsv);
}

}  // namespace qv
