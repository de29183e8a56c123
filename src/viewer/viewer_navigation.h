#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace qv {

// Which navigation buttons a packet position allows.
struct NavigationButtons {
  bool first = false;
  bool previous = false;
  bool next = false;
  bool last = false;
  friend constexpr bool operator==(NavigationButtons, NavigationButtons) noexcept = default;
};

// The viewer's place in its packet list (never empty while a viewer shows it).
class ViewerNavigation {
 public:
  // A start index beyond the list is taken as the last packet.
  ViewerNavigation(std::size_t packetCount, std::size_t startIndex) noexcept;

  std::size_t index() const noexcept { return index_; }
  std::size_t count() const noexcept { return count_; }

  NavigationButtons buttons() const noexcept;
  // "%lu / %ld": the position from 1, and the list size.
  std::string counterText() const;

  // Each returns the index it moved to, or nothing when the move is not
  // possible there (the index is then unchanged).
  std::optional<std::size_t> first() noexcept;
  std::optional<std::size_t> previous() noexcept;
  std::optional<std::size_t> next() noexcept;
  std::optional<std::size_t> last() noexcept;
  // Any index within the list (a search hit).
  std::optional<std::size_t> moveTo(std::size_t index) noexcept;

 private:
  std::size_t count_;
  std::size_t index_;
};

}  // namespace qv
