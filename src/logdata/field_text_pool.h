#pragma once

#include <cstdint>
#include <string_view>

#include "logdata/text.h"

namespace qv {

// Texts put by hand into record fields that normally hold numbers: a filter
// entry's "All" or partial address, its port marker in the time field, the
// "No Data" row. There are few of them, so each distinct text is kept once for
// the life of the program and a field holds only its 32-bit number. Looking a
// number up takes no lock; adding one does.
class FieldTextPool {
 public:
  // The number of `text`, the same for equal texts.
  static std::uint32_t numberOf(std::string_view text);
  // The text of a number handed out by numberOf.
  static const Text& textOf(std::uint32_t number) noexcept;
};

}  // namespace qv
