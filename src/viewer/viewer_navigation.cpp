#include "viewer/viewer_navigation.h"

namespace qv {

ViewerNavigation::ViewerNavigation(std::size_t packetCount, std::size_t startIndex) noexcept
    : count_(packetCount), index_(packetCount == 0 ? 0 : (startIndex < packetCount ? startIndex : packetCount - 1)) {}

NavigationButtons ViewerNavigation::buttons() const noexcept {
  const bool notFirst = index_ > 0;
  const bool notLast = index_ + 1 < count_;
  return {notFirst, notFirst, notLast, notLast};
}

std::string ViewerNavigation::counterText() const {
  return std::to_string(index_ + 1) + " / " + std::to_string(count_);
}

std::optional<std::size_t> ViewerNavigation::first() noexcept {
  if (index_ == 0) return std::nullopt;
  return index_ = 0;
}

std::optional<std::size_t> ViewerNavigation::previous() noexcept {
  if (index_ == 0) return std::nullopt;
  return --index_;
}

std::optional<std::size_t> ViewerNavigation::next() noexcept {
  if (index_ + 1 >= count_) return std::nullopt;
  return ++index_;
}

std::optional<std::size_t> ViewerNavigation::last() noexcept {
  if (index_ + 1 >= count_) return std::nullopt;
  return index_ = count_ - 1;
}

std::optional<std::size_t> ViewerNavigation::moveTo(std::size_t index) noexcept {
  if (index >= count_) return std::nullopt;
  return index_ = index;
}

}  // namespace qv
