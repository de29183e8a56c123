#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "filter/quick_filter_run.h"
#include "logdata/packet_record.h"

namespace qv {

// A packet record list as a read leaves it. It is only ever replaced whole,
// never edited, so shown lists and viewers may share it.
using PacketRecordList = std::shared_ptr<const std::vector<PacketRecord>>;

// The packet view's rows. It behaves as a list of record copies, but a
// packet log can hold millions of records, so instead of copying each one it
// keeps the immutable record list it was filtered from and the index of
// each row's record in it. Sorting reorders `order`.
class PacketShownList {
 public:
  PacketShownList() = default;
  PacketShownList(PacketRecordList records, std::vector<RecordIndex> order);

  // A cleared view: the one "No Data" row.
  static PacketShownList noData();

  // True when the list is the "No Data" row of a cleared view.
  bool isNoDataPlaceholder() const noexcept;

  std::size_t size() const noexcept { return order_.size(); }
  bool empty() const noexcept { return order_.empty(); }
  const PacketRecord& operator[](std::size_t row) const { return (*records_)[order_[row]]; }

  // For reordering the rows in place (sorting); the indexes stay those of records().
  std::vector<RecordIndex>& order() noexcept { return order_; }
  const std::vector<RecordIndex>& order() const noexcept { return order_; }
  const PacketRecordList& records() const noexcept { return records_; }

 private:
  PacketRecordList records_;
  std::vector<RecordIndex> order_;
};

}  // namespace qv
