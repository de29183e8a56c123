#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

// The whole image of a packet log plus one NUL byte. Packet records and all
// their copies share ownership of it, so a viewer opened on old packets stays
// valid after a new read replaces the window's buffer.
struct ReadBuffer {
  std::vector<char> bytes;  // file content followed by one NUL
  std::uint64_t fileLength = 0;

  std::string_view content() const { return std::string_view(bytes.data(), static_cast<std::size_t>(fileLength)); }
};

using SharedReadBuffer = std::shared_ptr<const ReadBuffer>;

}  // namespace qv
