#include "gui/views/packet_table_model.h"

#include <string>

#include "gui/views/ansi_text.h"
#include "gui/views/header_title.h"
#include "views/packet_columns.h"
#include "views/packet_sort.h"

namespace qv::gui {

PacketTableModel::PacketTableModel(QObject* parent) : QAbstractTableModel(parent) {
  clearPacketLog(log_);
}

int PacketTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(log_.shown.size());
}

int PacketTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kPacketColumnCount;
}

QVariant PacketTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const PacketRecord& record = log_.shown[static_cast<std::size_t>(index.row())];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole: {
      std::string text;
      appendPacketCellText(text, record, static_cast<PacketColumn>(column));
      return decodeAnsi(text);
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter |
                                 (kPacketColumnLayout[static_cast<std::size_t>(column)].rightAligned ? Qt::AlignRight
                                                                                                      : Qt::AlignLeft));
    case Qt::FontRole:
      return newRows_.font(index.row());
    case Qt::DecorationRole:
      return decoration(record, column);
    default:
      return {};
  }
}

QVariant PacketTableModel::decoration(const PacketRecord& record, int column) const {
  if (record.time == "No Data") return {};
  switch (static_cast<PacketColumn>(column)) {
    case PacketColumn::kTime:
      return icons_.icon(actionDirectionIcon(record.flags));
    case PacketColumn::kProtocol:
      if (iconFlags_.protocol) {
        if (const auto index = packetProtocolIcon(record.protocol)) return icons_.icon(*index);
      }
      return {};
    case PacketColumn::kApplicationName:
      if (iconFlags_.applicationName && !record.applicationName.empty()) {
        const QIcon icon = applicationIcons_.icon(record.applicationName);
        if (!icon.isNull()) return icon;
      }
      return {};
    default:
      return {};
  }
}

QVariant PacketTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kPacketColumnCount) return {};
  const ColumnLayout& layout = kPacketColumnLayout[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return headerTitle(layout.title, sort_.arrowOf(section));
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::AlignVCenter | (layout.rightAligned ? Qt::AlignRight : Qt::AlignLeft));
  return {};
}

void PacketTableModel::replaceLog(PacketLogState log) {
  update([&](PacketLogState& current) { current = std::move(log); });
}

PacketLogState PacketTableModel::replaceLog(PacketLogState log, const SortState& sortedBy) {
  beginResetModel();
  std::swap(log_, log);
  sort_ = sortedBy;
  newRows_.forget();
  endResetModel();
  emit headerDataChanged(Qt::Horizontal, 0, kPacketColumnCount - 1);
  return log;
}

void PacketTableModel::markNewRows(std::vector<std::size_t> rows) {
  newRows_.clear(*this, kPacketColumnCount);
  if (rows.empty()) return;
  const int first = static_cast<int>(rows.front());
  const int last = static_cast<int>(rows.back());
  newRows_.set(std::move(rows));
  if (last < rowCount()) emit dataChanged(index(first, 0), index(last, kPacketColumnCount - 1), {Qt::FontRole});
}

void PacketTableModel::clearNewRowMarks() { newRows_.clear(*this, kPacketColumnCount); }

bool PacketTableModel::clickHeader(int column) {
  if (column < 0 || column >= kPacketColumnCount || log_.shown.empty()) return false;
  beginResetModel();
  newRows_.forget();
  const auto change = clickPacketHeader(sort_, log_.shown, column);
  endResetModel();
  if (change) emit headerDataChanged(Qt::Horizontal, 0, kPacketColumnCount - 1);
  return change.has_value();
}

void PacketTableModel::setIconFlags(const ListIconFlags& flags) {
  if (flags == iconFlags_) return;
  iconFlags_ = flags;
  applicationIcons_.clear();
  if (!log_.shown.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kPacketColumnCount - 1));
}

}  // namespace qv::gui
