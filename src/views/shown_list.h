#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

#include "filter/quick_filter_run.h"
#include "logdata/record_rows.h"

namespace qv {

// A record list as a read leaves it. It is only ever replaced whole, never
// edited, so shown lists and viewers may share it.
template <class Record>
using RecordList = std::shared_ptr<const std::vector<Record>>;

// A list view's rows. It behaves as a list of records, but a log can hold
// millions of them, so instead of copying each one it keeps the immutable
// record list it was filtered from and the index of each row's record in it.
// Sorting reorders `order`. Rows that are not in the read's records (merged
// events) come with a record list of their own.
template <class Record>
class ShownList {
 public:
  ShownList() = default;
  // Throws std::out_of_range for an index beyond `records`.
  ShownList(RecordList<Record> records, std::vector<RecordIndex> order)
      : records_(std::move(records)), order_(std::move(order)) {
    const std::size_t count = records_ ? records_->size() : 0;
    for (const RecordIndex index : order_) {
      if (index >= count) throw std::out_of_range("shown list: row index beyond the record list");
    }
  }

  // A cleared view: the one "No Data" row.
  static ShownList noData();

  // True when the list is the "No Data" row of a cleared view rather than
  // events (an empty filter result has no rows at all).
  bool isNoDataPlaceholder() const noexcept { return order_.size() == 1 && (*this)[0].time == "No Data"; }

  std::size_t size() const noexcept { return order_.size(); }
  bool empty() const noexcept { return order_.empty(); }
  const Record& operator[](std::size_t row) const { return (*records_)[order_[row]]; }

  // The rows in their order, for functions that read rows.
  RecordRows<Record> rows() const noexcept {
    if (!records_) return {};
    return RecordRows<Record>(std::span<const Record>(*records_), order_);
  }

  // For reordering the rows in place (sorting); the indexes stay those of records().
  std::vector<RecordIndex>& order() noexcept { return order_; }
  const std::vector<RecordIndex>& order() const noexcept { return order_; }
  const RecordList<Record>& records() const noexcept { return records_; }

 private:
  RecordList<Record> records_;
  std::vector<RecordIndex> order_;
};

}  // namespace qv
