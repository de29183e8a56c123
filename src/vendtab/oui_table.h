#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::vendtab {

// One assigned OUI. Its text starts at byte `offset` of text chunk `chunk`
// and is zero-terminated. The texts are kept in a few chunks so that no
// single string constant grows beyond what every compiler accepts.
struct OuiEntry {
  std::uint32_t key;
  std::uint16_t chunk;
  std::uint16_t offset;
};

// Sorted by key, no key twice. Generated (oui_table.cpp), never edited.
extern const OuiEntry kOuiEntries[];
extern const std::size_t kOuiEntryCount;
extern const char* const kVendorTextChunks[];

}  // namespace qv::vendtab
