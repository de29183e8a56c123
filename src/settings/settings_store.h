#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv::settings {

// The settings key every window reads and writes (under the current user).
inline constexpr std::string_view kSettingsKeyName = "Software\\Orvane\\Quorvex Log Viewer";

// Readers never read more than this many bytes of a text value, terminator
// included; a longer stored text counts as missing.
inline constexpr std::size_t kMaxTextReadBytes = 260;

// The longest text that still reads back: one byte goes to the terminator.
inline constexpr std::size_t kMaxReadableTextLength = kMaxTextReadBytes - 1;

// A value's stored type, as the registry keeps it beside the bytes.
enum class ValueType : std::uint8_t { kText, kNumber32, kBinary };

// A value exactly as stored: texts carry their zero terminator, 32-bit
// numbers are 4 little-endian bytes, binary values their raw bytes.
struct StoredValue {
  ValueType type = ValueType::kBinary;
  std::vector<std::uint8_t> bytes;

  friend bool operator==(const StoredValue&, const StoredValue&) = default;
};

// An open settings key; closed when destroyed. Backends implement the raw
// value access; the typed readers here apply the same rules to every backend:
// the stored type is not checked, a value larger than the reader asks for
// counts as missing, and a shorter one is read into a zero-filled buffer.
class SettingsKey {
 public:
  virtual ~SettingsKey() = default;

  // The stored value, or nullopt when it is missing or cannot be read.
  virtual std::optional<StoredValue> value(std::string_view name) const = 0;
  // One write; false when it failed (nothing else is reported). A backend
  // may hold it until close().
  virtual bool setValue(std::string_view name, const StoredValue& value) = 0;
  // True also when the value did not exist.
  virtual bool deleteValue(std::string_view name) = 0;
  // Ends the writes: a backend that saves them together (the settings file)
  // saves them here and reports whether that worked; a key also closes when
  // it is destroyed.
  virtual bool close() { return true; }

  // Exactly `size` bytes: a shorter value's tail reads as zeros.
  std::optional<std::vector<std::uint8_t>> readBinary(std::string_view name, std::size_t size) const;
  // A double word (4 bytes, little-endian).
  std::optional<std::uint32_t> readNumber(std::string_view name) const;
  // A text of at most kMaxTextReadBytes bytes, up to its first zero byte.
  std::optional<std::string> readText(std::string_view name) const;

  // Texts are stored up to their first zero byte, with a terminator.
  bool writeText(std::string_view name, std::string_view text);
  bool writeNumber(std::string_view name, std::uint32_t number);
  bool writeBinary(std::string_view name, std::span<const std::uint8_t> bytes);
};

// The settings key's home: the registry on Windows, a settings file here,
// memory in tests. Holds no values itself; every window opens the key when
// it needs it.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Opens the key for reading; nullptr when it does not exist or cannot be
  // read, which readers treat like a key without values (the first run).
  virtual std::unique_ptr<const SettingsKey> openForReading() const = 0;
  // Creates or opens the key for writing; nullptr when that fails.
  virtual std::unique_ptr<SettingsKey> createForWriting() = 0;
};

// The current user's settings: the settings file in the configuration folder
// (the registry key on Windows). Linked from the Qt-backed library here.
std::unique_ptr<SettingsStore> openUserSettingsStore();

}  // namespace qv::settings
