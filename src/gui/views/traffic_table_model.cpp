#include "gui/views/traffic_table_model.h"

#include <string>

#include "gui/views/ansi_text.h"
#include "gui/views/header_title.h"
#include "views/traffic_columns.h"
#include "views/traffic_sort.h"

namespace qv::gui {

TrafficTableModel::TrafficTableModel(QObject* parent) : QAbstractTableModel(parent) {
  clearTrafficLog(log_);
}

int TrafficTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(log_.shown.size());
}

int TrafficTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kTrafficColumnCount;
}

QVariant TrafficTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const TrafficRecord& record = log_.shown[static_cast<std::size_t>(index.row())];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole: {
      std::string text;
      appendTrafficCellText(text, record, static_cast<TrafficColumn>(column));
      return decodeAnsi(text);
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter |
                                 (kTrafficColumnLayout[static_cast<std::size_t>(column)].rightAligned ? Qt::AlignRight
                                                                                                       : Qt::AlignLeft));
    case Qt::FontRole:
      return newRows_.font(index.row());
    case Qt::DecorationRole:
      return decoration(record, column);
    default:
      return {};
  }
}

QVariant TrafficTableModel::decoration(const TrafficRecord& record, int column) const {
  if (record.time == "No Data") return {};
  switch (static_cast<TrafficColumn>(column)) {
    case TrafficColumn::kTime:
      return icons_.icon(actionDirectionIcon(record.flags));
    case TrafficColumn::kProtocol:
      if (iconFlags_.protocol) return icons_.icon(trafficProtocolIcon(record.flags));
      return {};
    case TrafficColumn::kApplicationName:
      if (iconFlags_.applicationName && !record.applicationName.empty()) {
        const QIcon icon = applicationIcons_.icon(record.applicationName);
        if (!icon.isNull()) return icon;
      }
      return {};
    case TrafficColumn::kRuleName:
      if (iconFlags_.ruleName) {
        if (const auto index = ruleIcon(record.ruleName)) return icons_.icon(*index);
      }
      return {};
    default:
      return {};
  }
}

QVariant TrafficTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kTrafficColumnCount) return {};
  const ColumnLayout& layout = kTrafficColumnLayout[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return headerTitle(layout.title, sort_.arrowOf(section));
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::AlignVCenter | (layout.rightAligned ? Qt::AlignRight : Qt::AlignLeft));
  return {};
}

void TrafficTableModel::replaceLog(TrafficLogState log) {
  update([&](TrafficLogState& current) { current = std::move(log); });
}

TrafficLogState TrafficTableModel::replaceLog(TrafficLogState log, const SortState& sortedBy) {
  beginResetModel();
  std::swap(log_, log);
  sort_ = sortedBy;
  newRows_.forget();
  endResetModel();
  emit headerDataChanged(Qt::Horizontal, 0, kTrafficColumnCount - 1);
  return log;
}

void TrafficTableModel::markNewRows(std::vector<std::size_t> rows) {
  newRows_.clear(*this, kTrafficColumnCount);
  if (rows.empty()) return;
  const int first = static_cast<int>(rows.front());
  const int last = static_cast<int>(rows.back());
  newRows_.set(std::move(rows));
  if (last < rowCount()) emit dataChanged(index(first, 0), index(last, kTrafficColumnCount - 1), {Qt::FontRole});
}

void TrafficTableModel::clearNewRowMarks() { newRows_.clear(*this, kTrafficColumnCount); }

bool TrafficTableModel::clickHeader(int column) {
  if (column < 0 || column >= kTrafficColumnCount || log_.shown.empty()) return false;
  beginResetModel();
  newRows_.forget();
  const auto change = clickTrafficHeader(sort_, log_.shown, column);
  endResetModel();
  if (change) {
    emit headerDataChanged(Qt::Horizontal, 0, kTrafficColumnCount - 1);
  }
  return change.has_value();
}

void TrafficTableModel::setIconFlags(const ListIconFlags& flags) {
  if (flags == iconFlags_) return;
  iconFlags_ = flags;
  applicationIcons_.clear();
  if (!log_.shown.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kTrafficColumnCount - 1));
}

}  // namespace qv::gui
