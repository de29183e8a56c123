#include "views/read_operation.h"

#include <optional>
#include <utility>
#include <variant>

#include "filter/criteria_validation.h"
#include "filter/quick_filter.h"
#include "filter/time_window.h"
#include "logdata/log_file.h"
#include "logdata/log_messages.h"
#include "logdata/packet_log_reader.h"
#include "logdata/traffic_log_reader.h"

namespace qv {
namespace {

// Validates the criteria and prepares the filter, or answers the message of
// the first invalid field.
std::variant<QuickFilter, std::string> prepareFilter(const FilterCriteria& criteria, std::int64_t nowUnixSeconds) {
  if (std::optional<std::string> message = validateCriteria(criteria)) return std::move(*message);
  TimeWindow window;
  if (!criteria.time.empty()) window = computeTimeWindow(criteria.time, nowUnixSeconds);
  return QuickFilter(criteria, window);
}

std::string openErrorMessage(const std::string& systemText) {
  return std::string(kOpenErrorPrefix) + " : " + systemText;
}

// The rows first: they may hold the only other reference to the record list.
void releaseTrafficRecords(TrafficLogState& state) {
  state.shown = TrafficShownList();
  state.records = std::make_shared<const std::vector<TrafficRecord>>();
}

ReadResult clearedTraffic(TrafficLogState& state, ReadStatus status, std::string message = {}) {
  clearTrafficLog(state);
  return {status, std::move(message)};
}

ReadResult clearedPacket(PacketLogState& state, ReadStatus status, std::string message = {}) {
  clearPacketLog(state);
  return {status, std::move(message)};
}

void runTraffic(TrafficLogState& state, const QuickFilter& filter, const TrafficExclusion& excluded) {
  // Drop the old rows first: merged rows may hold a large record list of their own.
  state.shown = TrafficShownList();
  state.shown = TrafficShownList(state.records, runTrafficFilter(*state.records, state.newestIndex, filter, excluded));
  state.countLine = countLineText(state.shown.size(), state.records->size());
}

void runPacket(PacketLogState& state, const QuickFilter& filter) {
  // Drop the old rows first: they may hold the only other reference to a large record list.
  state.shown = PacketShownList();
  state.shown = PacketShownList(state.records, runPacketFilter(*state.records, state.newestIndex, filter));
  state.countLine = countLineText(state.shown.size(), state.records->size());
}

}  // namespace

std::string countLineText(std::size_t shownRows, std::size_t recordCount) {
  return "Records : " + std::to_string(shownRows) + " / " + std::to_string(recordCount);
}

ReadResult readTrafficLog(TrafficLogState& state, const std::string& path, const FilterCriteria& criteria,
                          std::int64_t nowUnixSeconds, const TrafficExclusion& excluded) {
  auto prepared = prepareFilter(criteria, nowUnixSeconds);
  if (auto* message = std::get_if<std::string>(&prepared)) return {ReadStatus::kValidationFailed, std::move(*message)};
  const QuickFilter& filter = std::get<QuickFilter>(prepared);

  // Whatever happens next replaces the records; giving them back first keeps
  // the old log and the new file from being held at once.
  releaseTrafficRecords(state);
  // Parsed through a small window: the file's bytes are never all held.
  TrafficLogFileRead file = readTrafficLogFile(path);
  if (!file.opened) return clearedTraffic(state, ReadStatus::kOpenFailed, openErrorMessage(file.errorText));
  TrafficLog log = std::move(file.log);
  if (log.status == LogParseStatus::kInvalidFormat) {
    return clearedTraffic(state, ReadStatus::kInvalidFormat, std::string(kInvalidFileFormat));
  }
  if (log.status == LogParseStatus::kNoRecords) return clearedTraffic(state, ReadStatus::kNoRecords);
  state.records = std::make_shared<const std::vector<TrafficRecord>>(std::move(log.records));
  state.newestIndex = log.newestIndex;
  runTraffic(state, filter, excluded);
  return {};
}

ReadResult readPacketLog(PacketLogState& state, const std::string& path, const FilterCriteria& criteria,
                         std::int64_t nowUnixSeconds) {
  auto prepared = prepareFilter(criteria, nowUnixSeconds);
  if (auto* message = std::get_if<std::string>(&prepared)) return {ReadStatus::kValidationFailed, std::move(*message)};
  const QuickFilter& filter = std::get<QuickFilter>(prepared);

  // The old records, rows and file image are replaced whatever happens next;
  // releasing them first keeps two logs from being held at once (copies held
  // elsewhere, such as an open packet viewer's, keep their own share).
  state.shown = PacketShownList();
  state.records = std::make_shared<const std::vector<PacketRecord>>();
  state.buffer.reset();
  FileReadResult file = readWholeFile(path);
  if (!file.opened) return clearedPacket(state, ReadStatus::kOpenFailed, openErrorMessage(file.errorText));
  if (!file.buffer || file.buffer->fileLength == 0) return clearedPacket(state, ReadStatus::kNoRecords);
  state.buffer = std::move(file.buffer);
  PacketLog log = parsePacketLog(state.buffer);
  if (log.status == LogParseStatus::kInvalidFormat) {
    return clearedPacket(state, ReadStatus::kInvalidFormat, std::string(kInvalidFileFormat));
  }
  if (log.status == LogParseStatus::kNoRecords) return clearedPacket(state, ReadStatus::kNoRecords);
  state.records = std::make_shared<const std::vector<PacketRecord>>(std::move(log.records));
  state.newestIndex = log.newestIndex;
  runPacket(state, filter);
  return {};
}

ReadResult filterTrafficLog(TrafficLogState& state, const FilterCriteria& criteria, std::int64_t nowUnixSeconds,
                            const TrafficExclusion& excluded) {
  if (!state.records || state.records->empty()) return clearedTraffic(state, ReadStatus::kNoRecords);
  auto prepared = prepareFilter(criteria, nowUnixSeconds);
  if (auto* message = std::get_if<std::string>(&prepared)) return {ReadStatus::kValidationFailed, std::move(*message)};
  runTraffic(state, std::get<QuickFilter>(prepared), excluded);
  return {};
}

ReadResult filterPacketLog(PacketLogState& state, const FilterCriteria& criteria, std::int64_t nowUnixSeconds) {
  if (!state.records || state.records->empty()) return clearedPacket(state, ReadStatus::kNoRecords);
  auto prepared = prepareFilter(criteria, nowUnixSeconds);
  if (auto* message = std::get_if<std::string>(&prepared)) return {ReadStatus::kValidationFailed, std::move(*message)};
  runPacket(state, std::get<QuickFilter>(prepared));
  return {};
}

void clearTrafficLog(TrafficLogState& state) {
  releaseTrafficRecords(state);
  state.shown = TrafficShownList::noData();
  state.countLine = countLineText(0, 0);
}

void clearPacketLog(PacketLogState& state) {
  state.shown = PacketShownList::noData();
  state.records = std::make_shared<const std::vector<PacketRecord>>();
  state.countLine = countLineText(0, 0);
}

}  // namespace qv
