#include "gui/filter/filter_list_table_model.h"

#include "gui/views/ansi_text.h"

namespace qv::gui {

namespace {

constexpr int kEntryColumns = static_cast<int>(kFilterListColumns.size());

}  // namespace

FilterListTableModel::FilterListTableModel(const CountedFilterListModel& rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows) {}

int FilterListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.rowCount());
}

int FilterListTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kEntryColumns + 1; }

QVariant FilterListTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const auto row = static_cast<FilterEntryIndex>(index.row());
  const int column = index.column();
  if (role == Qt::TextAlignmentRole) {
    const bool right = column == kHitCountColumn || kFilterListColumns[static_cast<std::size_t>(column)].rightAligned;
    return QVariant::fromValue(Qt::Alignment(right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  }
  if (column == kHitCountColumn) {
    const FilterHitCount count = rows_.hitCount(row);
    if (role == Qt::DisplayRole) return count ? QString::number(*count) : QString();
    if (role == Qt::ToolTipRole && !count) return QStringLiteral("Counted at the next filter run");
    return {};
  }
  if (role != Qt::DisplayRole) return {};
  return decodeAnsi(rows_.rows().cellText(row, static_cast<FilterListColumn>(column)));
}

QVariant FilterListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section > kHitCountColumn) return {};
  if (section == kHitCountColumn) {
    if (role == Qt::DisplayRole) return QStringLiteral("Hidden");
    if (role == Qt::ToolTipRole) return QStringLiteral("Events this entry hid in the last filter run");
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
  }
  const FilterListColumnInfo& info = kFilterListColumns[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return QString::fromLatin1(info.title.data(), static_cast<qsizetype>(info.title.size()));
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::Alignment(info.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  }
  return {};
}

void FilterListTableModel::reload() {
  beginResetModel();
  endResetModel();
}

}  // namespace qv::gui
