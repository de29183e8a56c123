#include "views/view_commands.h"

#include <algorithm>
#include <memory>

#include "filter/filter_list_index.h"
#include "views/packet_sort.h"
#include "views/pattern_merge.h"
#include "views/sort_state.h"
#include "views/traffic_sort.h"

namespace qv {

TrafficExclusion exclusionFor(const FilterList& list) {
  if (list.empty()) return {};
  auto index = std::make_shared<const FilterListIndex>(list);
  return [index](const TrafficRecord& record) { return index->isExcluded(record); };
}

void analyzeTrafficView(TrafficLogState& state) {
  if (!state.records || state.records->empty()) {
    clearTrafficLog(state);
    return;
  }
  mergeEventPatterns(state.shown);
  state.countLine = countLineText(state.shown.size(), state.records->size());
}

void clickTrafficHeaders(TrafficLogState& state, std::span<const int> clicks) {
  SortState sortState;
  for (const int column : clicks) clickTrafficHeader(sortState, state.shown, column);
}

void clickPacketHeaders(PacketLogState& state, std::span<const int> clicks) {
  SortState sortState;
  for (const int column : clicks) clickPacketHeader(sortState, state.shown, column);
}

TrafficRows shownTrafficEvents(const TrafficLogState& state) {
  if (state.shown.isNoDataPlaceholder()) return {};
  return state.shown.rows();
}

std::vector<PacketRecord> shownPacketEvents(const PacketLogState& state) {
  std::vector<PacketRecord> rows;
  if (state.shown.isNoDataPlaceholder()) return rows;
  rows.reserve(state.shown.size());
  for (std::size_t row = 0; row < state.shown.size(); ++row) rows.push_back(state.shown[row]);
  return rows;
}

std::vector<RowIndex> captureRowOrder(const PacketShownList& shown, bool sortedByClick) {
  std::vector<RowIndex> rows;
  if (shown.isNoDataPlaceholder()) return rows;
  rows.reserve(shown.size());
  for (RowIndex row = 0; row < shown.size(); ++row) rows.push_back(row);
  if (!sortedByClick) std::reverse(rows.begin(), rows.end());
  return rows;
}

}  // namespace qv
