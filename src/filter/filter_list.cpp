#include "filter/filter_list.h"

namespace qv {

bool FilterList::isExcluded(const TrafficRecord& record) const noexcept {
  for (const FilterEntry& entry : entries_) {
    if (matches(record, entry)) return true;
  }
  return false;
}

}  // namespace qv
