#include "filter/filter_list_dialog_model.h"

#include <cstdint>

namespace qv {

namespace {

std::string_view actionText(std::uint8_t flags) {
  using namespace RecordFlag;
  if ((flags & kActionMask) == kActionMask) return "Both";
  return (flags & kAllowed) != 0 ? "Allow" : "Block";
}

std::string_view directionText(std::uint8_t flags) {
  using namespace RecordFlag;
  if ((flags & kDirectionMask) == kDirectionMask) return "Both";
  if ((flags & kIncoming) != 0) return "Incoming";
  if ((flags & kOutgoing) != 0) return "Outgoing";
  return "Unknown";
}

std::string_view protocolText(std::uint8_t flags) {
  using namespace RecordFlag;
  if ((flags & kTcp) != 0 && (flags & kUdp) != 0) return "All";
  if ((flags & kUdp) != 0) return "UDP";
  if ((flags & kIcmp) != 0) return "ICMP";
  return "TCP";
}

std::string portText(bool anyPort, std::uint16_t port) { return anyPort ? std::string("All") : std::to_string(port); }

}  // namespace

std::string filterListCellText(const FilterEntry& entry, FilterListColumn column) {
  switch (column) {
    case FilterListColumn::kAction: return std::string(actionText(entry.flags));
    case FilterListColumn::kDirection: return std::string(directionText(entry.flags));
    case FilterListColumn::kProtocol: return std::string(protocolText(entry.flags));
    case FilterListColumn::kRemoteIp: return entry.remoteIp.str();
    case FilterListColumn::kRemotePort: return portText(entry.matchesAnyRemotePort(), entry.remotePort);
    case FilterListColumn::kLocalIp: return entry.localIp.str();
    case FilterListColumn::kLocalPort: return portText(entry.matchesAnyLocalPort(), entry.localPort);
    case FilterListColumn::kApplicationName: return entry.applicationName.str();
    case FilterListColumn::kRuleName: return entry.ruleName.str();
  }
  return {};
}

std::string FilterListDialogModel::cellText(FilterEntryIndex row, FilterListColumn column) const {
  return row < entries_.size() ? filterListCellText(entries_[row], column) : std::string();
}

void FilterListDialogModel::add(const EditFilterFields& accepted) { entries_.push_back(buildFilterEntry(accepted)); }

std::optional<EditFilterFields> FilterListDialogModel::fieldsToEdit(std::optional<FilterEntryIndex> selected) const {
  if (!isRow(selected)) return std::nullopt;
  return editFilterFieldsFromEntry(entries_[*selected]);
}

bool FilterListDialogModel::replace(std::optional<FilterEntryIndex> selected, const EditFilterFields& accepted) {
  if (!isRow(selected)) return false;
  entries_[*selected] = buildFilterEntry(accepted);
  return true;
}

bool FilterListDialogModel::remove(std::optional<FilterEntryIndex> selected) {
  if (!isRow(selected)) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*selected));
  return true;
}

bool FilterListDialogModel::removeAll() {
  if (entries_.empty()) return false;
  entries_.clear();
  return true;
}

void FilterListDialogModel::applyTo(FilterList& list) const { list = FilterList(entries_); }

}  // namespace qv
