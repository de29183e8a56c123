#include "logdata/text_cache.h"

#include <cstdint>
#include <cstring>

namespace qv {
namespace {

// FNV-1a over the last bytes: paths share long prefixes, their ends differ.
std::size_t slotHash(std::string_view bytes) {
  constexpr std::size_t kHashedTail = 32;
  const std::string_view tail = bytes.size() > kHashedTail ? bytes.substr(bytes.size() - kHashedTail) : bytes;
  std::uint32_t hash = 2166136261u ^ static_cast<std::uint32_t>(bytes.size());
  for (const char c : tail) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

Text TextCache::get(std::string_view bytes) {
  if (bytes.size() <= Text::kInlineCapacity) return Text(bytes);
  Text& slot = slots_[slotHash(bytes) % slots_.size()];
  if (slot.view() != bytes) slot = Text(bytes);
  return slot;
}

}  // namespace qv
