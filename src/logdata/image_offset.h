#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "logdata/read_buffer.h"

namespace qv {

// An offset into a read image, stored in six bytes without alignment so that
// a packet record stays small. Reads and assigns like a std::uint64_t.
class ImageOffset {
 public:
  constexpr ImageOffset() noexcept = default;
  // NOLINTNEXTLINE: implicit on purpose, the field was a plain integer
  ImageOffset(std::uint64_t offset) {
    if (offset > kLargestReadImage + 1) throw std::out_of_range("offset beyond the largest read image");
    for (unsigned char& byte : bytes_) {
      byte = static_cast<unsigned char>(offset);
      offset >>= 8;
    }
  }
  operator std::uint64_t() const noexcept {  // NOLINT: implicit on purpose
    std::uint64_t offset = 0;
    for (int i = 5; i >= 0; --i) offset = offset << 8 | bytes_[i];
    return offset;
  }

 private:
  unsigned char bytes_[6] = {};
};

static_assert(sizeof(ImageOffset) == 6 && alignof(ImageOffset) == 1);

}  // namespace qv
