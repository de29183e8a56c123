#pragma once

#include <QAbstractTableModel>

#include "filter/counted_filter_list_model.h"

namespace qv::gui {

// The Filter List dialog's rows: the nine entry columns and the hit count.
class FilterListTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kHitCountColumn = 9;

  explicit FilterListTableModel(const CountedFilterListModel& rows, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The rows changed underneath: shows them again.
  void reload();

 private:
  const CountedFilterListModel& rows_;
};

}  // namespace qv::gui
