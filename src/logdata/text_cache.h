#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "logdata/name_text.h"
#include "logdata/text.h"

namespace qv {

// Hands out the names of records read one after another. Application paths
// and host names repeat all through a log, so equal names get the one block
// they already have. Direct-mapped and of fixed size, so a log of
// all-different names cannot make it grow.
class NameTextCache {
 public:
  NameText get(std::string_view bytes);

 private:
  std::array<NameText, 4096> slots_{};
};

}  // namespace qv
