#include "vendtab/vendtab.h"

#include <algorithm>

#include "vendtab/oui_table.h"

namespace {

constexpr const char* kUnknownVendor = "Reserved / Unknown";

}  // namespace

extern "C" const char* GetVendorFromMAC(std::uint32_t oui) {
  using qv::vendtab::OuiEntry;
  const OuiEntry* const begin = qv::vendtab::kOuiEntries;
  const OuiEntry* const end = begin + qv::vendtab::kOuiEntryCount;
  const OuiEntry* const found =
      std::lower_bound(begin, end, oui, [](const OuiEntry& entry, std::uint32_t key) { return entry.key < key; });
  if (found == end || found->key != oui) return kUnknownVendor;
  return qv::vendtab::kVendorTextChunks[found->chunk] + found->offset;
}
