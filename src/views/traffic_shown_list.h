#pragma once

#include <cstddef>
#include <vector>

#include "logdata/traffic_record.h"

namespace qv {

// The traffic view's rows: copies of records, row i being rows[i]. Copies,
// not indexes, because analyses replace them with records that are not in
// the record list; the record texts share their storage, so a copy is cheap.
struct TrafficShownList {
  std::vector<TrafficRecord> rows;

  // A cleared view: the one "No Data" row.
  static TrafficShownList noData();

  // True when the list is the "No Data" row of a cleared view rather than
  // events (an empty filter result has no rows at all).
  bool isNoDataPlaceholder() const noexcept;

  std::size_t size() const noexcept { return rows.size(); }
  bool empty() const noexcept { return rows.empty(); }
  const TrafficRecord& operator[](std::size_t row) const { return rows[row]; }
};

}  // namespace qv
