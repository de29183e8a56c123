#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace qv {

// The payload pane's text as a text widget holds it: the widget turns each
// CR LF into one line break, so from the first CR LF on its positions fall
// behind the payload's byte positions (which the hex pane and the search
// use). Maps between the two.
class PayloadDocument {
 public:
  PayloadDocument() = default;
  explicit PayloadDocument(std::string_view payload);

  // The widget position of payload byte `byte`; the LF of a CR LF shares
  // its CR's position.
  std::size_t documentPosition(std::size_t byte) const noexcept;
  // The payload byte at widget position `position`.
  std::size_t bytePosition(std::size_t position) const noexcept;

 private:
  // Byte positions of the CR of every CR LF, ascending.
  std::vector<std::size_t> lineBreaks_;
};

}  // namespace qv
