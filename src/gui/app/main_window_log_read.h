#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "filter/filter_hit_counts.h"
#include "filter/filter_list.h"
#include "gui/app/main_window.h"
#include "views/read_operation.h"

namespace qv::gui {

// What one read produces off the user-interface thread.
struct MainWindow::LogRead {
  ReadResult result;
  TrafficLogState traffic;
  PacketLogState packet;
  // The traffic read's own copy of the filter list and the counts of its run.
  FilterList filterList;
  FilterHitCounts hitCounts;
  // A place-keeping read: the digests of the shown rows in display order.
  std::vector<std::uint64_t> digests;
  // The place carried over by the worker, from the place the read started with.
  std::optional<KeptPlace> kept;
};

}  // namespace qv::gui
