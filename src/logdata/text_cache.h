#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "logdata/name_text.h"
#include "logdata/text.h"

namespace qv {

// Hands out Texts for names read record after record. A text too long to sit
// inline costs a heap block; application paths and host names repeat all
// through a log, so equal long texts get the one block they already have.
// Direct-mapped and of fixed size, so a log of all-different names cannot
// make it grow.
class TextCache {
 public:
  Text get(std::string_view bytes);

 private:
  std::array<Text, 4096> slots_{};
};

// The same for the names of traffic records, which always share a block:
// equal names read one after another get the block they already have.
class NameTextCache {
 public:
  NameText get(std::string_view bytes);

 private:
  std::array<NameText, 4096> slots_{};
};

}  // namespace qv
