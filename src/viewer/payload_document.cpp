#include "viewer/payload_document.h"

#include <algorithm>

namespace qv {

PayloadDocument::PayloadDocument(std::string_view payload) {
  for (std::size_t i = 0; i + 1 < payload.size(); ++i) {
    if (payload[i] == '\r' && payload[i + 1] == '\n') lineBreaks_.push_back(i++);
  }
}

std::size_t PayloadDocument::documentPosition(std::size_t byte) const noexcept {
  // Every CR LF whose CR lies before `byte` counts one position less.
  const auto before = std::lower_bound(lineBreaks_.begin(), lineBreaks_.end(), byte);
  return byte - static_cast<std::size_t>(before - lineBreaks_.begin());
}

std::size_t PayloadDocument::bytePosition(std::size_t position) const noexcept {
  // The n-th CR LF (from 0) sits at widget position break - n; those before
  // `position` each add one byte.
  std::size_t low = 0;
  std::size_t high = lineBreaks_.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (lineBreaks_[middle] - middle < position) low = middle + 1;
    else high = middle;
  }
  return position + low;
}

}  // namespace qv
