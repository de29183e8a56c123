#include "settings/settings_store.h"

#include <algorithm>

namespace qv::settings {

std::optional<std::vector<std::uint8_t>> SettingsKey::readBinary(std::string_view name, std::size_t size) const {
  std::optional<StoredValue> stored = value(name);
  if (!stored || stored->bytes.size() > size) return std::nullopt;
  std::vector<std::uint8_t> buffer(size, 0);
  std::copy(stored->bytes.begin(), stored->bytes.end(), buffer.begin());
  return buffer;
}

std::optional<std::uint32_t> SettingsKey::readNumber(std::string_view name) const {
  const std::optional<std::vector<std::uint8_t>> bytes = readBinary(name, 4);
  if (!bytes) return std::nullopt;
  const std::vector<std::uint8_t>& b = *bytes;
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::optional<std::string> SettingsKey::readText(std::string_view name) const {
  const std::optional<std::vector<std::uint8_t>> bytes = readBinary(name, kMaxTextReadBytes);
  if (!bytes) return std::nullopt;
  // A stored text need not be terminated; the read stops at the buffer's end.
  const auto end = std::find(bytes->begin(), bytes->end(), std::uint8_t{0});
  return std::string(bytes->begin(), end);
}

bool SettingsKey::writeText(std::string_view name, std::string_view text) {
  const std::size_t length = std::min(text.find('\0'), text.size());
  StoredValue stored{ValueType::kText, std::vector<std::uint8_t>(text.begin(), text.begin() + length)};
  stored.bytes.push_back(0);
  return setValue(name, stored);
}

bool SettingsKey::writeNumber(std::string_view name, std::uint32_t number) {
  StoredValue stored{ValueType::kNumber32,
                     {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                      static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
  return setValue(name, stored);
}

bool SettingsKey::writeBinary(std::string_view name, std::span<const std::uint8_t> bytes) {
  return setValue(name, StoredValue{ValueType::kBinary, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
}

}  // namespace qv::settings
