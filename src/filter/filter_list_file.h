#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "filter/filter_entry.h"
#include "filter/filter_list.h"
#include "platform/output_file.h"

namespace qv {

// filter.lst: the 32-bit little-endian format value, CR LF, then one line per
// entry: flags, remote port and local port (16-bit little-endian, taken by
// position, so any byte value may appear there), then the port marker, remote
// address, local address, application and rule, each followed by TAB, and CR LF.
inline constexpr std::uint32_t kFilterListFormatValue = 1001017;
// Longest application or rule name the load accepts.
inline constexpr std::size_t kFilterListNameLimit = 260;

// The entries of a filter.lst image. Never fails: a file under 18 bytes or
// without CR LF after the format value gives no entries, and the first
// malformed entry (no CR LF, a missing TAB, a bad address, a name over 260
// characters) ends the reading; the entries before it are kept.
FilterList parseFilterList(std::string_view bytes);

// Whether the entry can be written so that parseFilterList reads it back the
// same: addresses that pass the address check, names within the limit, and no
// TAB, NUL or CR LF inside a text.
bool isStorableFilterEntry(const FilterEntry& entry) noexcept;

// The filter.lst image of the list. Entries that could not be read back are
// left out: written, they would end the next load and lose every entry after
// them.
std::string serializeFilterList(const FilterList& list);

struct FilterListFileLoad {
  FilterList list;
  int errorNumber = 0;  // system error number of why the file could not be opened or read; 0 when it was read
};

// Reads filter.lst. A file that cannot be opened gives an empty list (the
// caller may report errorNumber; at start-up nothing is reported).
FilterListFileLoad loadFilterListFile(const std::string& path);

// Writes filter.lst atomically: a failed store leaves the previous file whole.
// At shutdown the result is ignored; other callers may report it.
platform::FileWriteResult storeFilterListFile(const FilterList& list, const std::string& path);

}  // namespace qv
