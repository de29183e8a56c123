#pragma once

#include <QAbstractItemModel>
#include <QFont>
#include <QVariant>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace qv::gui {

// The rows a followed log's last re-read added, shown in bold for a while so
// that the eye finds them. Rows are display indexes: anything that moves rows
// (a read, filter run, sort) drops the marks.
class NewRowMarks {
 public:
  void set(std::vector<std::size_t> ascendingRows) { rows_ = std::move(ascendingRows); }
  bool empty() const noexcept { return rows_.empty(); }
  const std::vector<std::size_t>& rows() const noexcept { return rows_; }

  bool contains(int row) const {
    return row >= 0 && std::binary_search(rows_.begin(), rows_.end(), static_cast<std::size_t>(row));
  }

  // Qt::FontRole of a cell: bold only, every other font property is the view's.
  QVariant font(int row) const {
    if (!contains(row)) return {};
    QFont bold;
    bold.setBold(true);
    return bold;
  }

  // Drops the marks and tells the views to redraw the rows that had them.
  void clear(QAbstractItemModel& model, int columnCount) {
    if (rows_.empty()) return;
    const int first = static_cast<int>(rows_.front());
    const int last = static_cast<int>(rows_.back());
    rows_.clear();
    if (last < model.rowCount()) {
      emit model.dataChanged(model.index(first, 0), model.index(last, columnCount - 1), {Qt::FontRole});
    }
  }

  // Forgets the marks without a redraw (the model is being reset anyway).
  void forget() noexcept { rows_.clear(); }

 private:
  std::vector<std::size_t> rows_;
};

}  // namespace qv::gui
