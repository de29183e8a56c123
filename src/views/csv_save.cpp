#include "views/csv_save.h"

#include "platform/atomic_file.h"
#include "views/row_formats.h"

namespace qv {
namespace {

template <class Rows, class Document>
ExportResult saveCsv(Rows selected, Rows shown, const std::string& path, Document document) {
  const Rows rows = selected.empty() ? shown : selected;
  if (rows.empty()) return {ExportStatus::kNothingSelected, std::string(kExportNothingSelected)};
  const platform::FileWriteResult written = platform::writeFileAtomically(path, document(rows));
  if (written.ok()) return {};
  return {ExportStatus::kWriteFailed, std::string(kExportWriteError) + " : " + written.errorText()};
}

}  // namespace

ExportResult saveTrafficCsv(TrafficRows selected, TrafficRows shown, const std::string& path) {
  return saveCsv(selected, shown, path, &trafficRowsCsv);
}

ExportResult savePacketCsv(std::span<const PacketRecord> selected, std::span<const PacketRecord> shown,
                           const std::string& path) {
  return saveCsv(selected, shown, path, &packetRowsCsv);
}

}  // namespace qv
