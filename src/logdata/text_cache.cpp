#include "logdata/text_cache.h"

#include <cstdint>
#include <cstring>

namespace qv {
namespace {

std::uint64_t load64(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// Mixes the length and three words: the end of the text (where paths and
// host names differ), the words before it and the middle. Texts of 16 bytes
// or more only, so that all three words exist.
std::size_t slotHash(std::string_view bytes) {
  const char* data = bytes.data();
  const std::size_t size = bytes.size();
  std::uint64_t hash = size * 0x9E3779B97F4A7C15ULL;
  hash = (hash ^ load64(data + size - 8)) * 0xBF58476D1CE4E5B9ULL;
  hash = (hash ^ load64(data + size - 16)) * 0x94D049BB133111EBULL;
  hash = (hash ^ load64(data + size / 2 - 8)) * 0x9E3779B97F4A7C15ULL;
  return static_cast<std::size_t>(hash ^ (hash >> 29));
}

// Any length: short texts are read as two zero-padded words.
std::size_t anySizeHash(std::string_view bytes) {
  if (bytes.size() >= 16) return slotHash(bytes);
  char padded[16] = {};
  std::memcpy(padded, bytes.data(), bytes.size());
  std::uint64_t hash = bytes.size() * 0x9E3779B97F4A7C15ULL;
  hash = (hash ^ load64(padded)) * 0xBF58476D1CE4E5B9ULL;
  hash = (hash ^ load64(padded + 8)) * 0x94D049BB133111EBULL;
  return static_cast<std::size_t>(hash ^ (hash >> 29));
}

}  // namespace

NameText NameTextCache::get(std::string_view bytes) {
  if (bytes.empty()) return NameText();
  NameText& slot = slots_[anySizeHash(bytes) % slots_.size()];
  if (slot.view() != bytes) slot = NameText(bytes);
  return slot;
}

}  // namespace qv
