#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "logdata/record_rows.h"
#include "logdata/traffic_record.h"
#include "views/packet_shown_list.h"

namespace qv {

// A re-read of a followed log moves rows around (new events, a sort, a ring
// that wrapped and dropped its oldest events), so the user's place is kept by
// the events' contents. A digest stands for an event's contents: equal
// events have equal digests, and different ones almost never do.
std::uint64_t eventDigest(const TrafficRecord& record);
// A packet event's digest covers its own bytes in the log.
std::uint64_t eventDigest(const PacketRecord& record);

// The digests of shown rows in display order; none for the "No Data" row.
std::vector<std::uint64_t> eventDigests(TrafficRows rows);
std::vector<std::uint64_t> eventDigests(const PacketShownList& rows);

// The user's place in a list: selected rows and the row at the top of the view.
struct ListPlace {
  std::vector<std::size_t> selectedRows;
  std::optional<std::size_t> topRow;
  std::optional<std::size_t> currentRow;
};

// The place carried over to the re-read list, and the rows that are new.
struct KeptPlace {
  std::vector<std::size_t> selectedRows;  // ascending; events no longer there are dropped
  // The row of the old top event; when it is gone, of the nearest event
  // below it (then above it) that is still there; none when none is.
  std::optional<std::size_t> topRow;
  std::optional<std::size_t> currentRow;  // none when its event is gone
  // Rows whose events the previous read did not show, ascending. Of several
  // equal events, the ones beyond the earlier count are new.
  std::vector<std::size_t> newRows;
};

// Carries `place` from the rows `before` to the rows `after` (digests in
// display order, as eventDigests gives them).
KeptPlace keepPlace(std::span<const std::uint64_t> before, const ListPlace& place,
                    std::span<const std::uint64_t> after);

}  // namespace qv
