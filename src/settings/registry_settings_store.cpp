#include "settings/registry_settings_store.h"

#ifdef _WIN32

#include <windows.h>

#include <string>

namespace qv::settings {
namespace {

ValueType typeOf(DWORD registryType) {
  switch (registryType) {
    case REG_SZ:
    case REG_EXPAND_SZ: return ValueType::kText;
    case REG_DWORD: return ValueType::kNumber32;
    default: return ValueType::kBinary;
  }
}

DWORD registryTypeOf(ValueType type) {
  switch (type) {
    case ValueType::kText: return REG_SZ;
    case ValueType::kNumber32: return REG_DWORD;
    case ValueType::kBinary: return REG_BINARY;
  }
  return REG_BINARY;
}

class RegistryKey final : public SettingsKey {
 public:
  RegistryKey(HKEY key, bool writable) : key_(key), writable_(writable) {}
  ~RegistryKey() override { RegCloseKey(key_); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  std::optional<StoredValue> value(std::string_view name) const override {
    const std::string valueName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key_, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    StoredValue stored{typeOf(type), std::vector<std::uint8_t>(size)};
    // The value may change between the two calls; the second one reports
    // the size it actually copied, or fails when the buffer became too small.
    if (RegQueryValueExA(key_, valueName.c_str(), nullptr, &type, stored.bytes.data(), &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    stored.bytes.resize(size);
    stored.type = typeOf(type);
    return stored;
  }

  bool setValue(std::string_view name, const StoredValue& value) override {
    if (!writable_) return false;
    if (value.type == ValueType::kNumber32 && value.bytes.size() != 4) return false;
    const std::string valueName(name);
    return RegSetValueExA(key_, valueName.c_str(), 0, registryTypeOf(value.type), value.bytes.data(),
                          static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS;
  }

  bool deleteValue(std::string_view name) override {
    if (!writable_) return false;
    const std::string valueName(name);
    const LONG status = RegDeleteValueA(key_, valueName.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }

 private:
  HKEY key_;
  bool writable_;
};

class RegistrySettingsStore final : public SettingsStore {
 public:
  std::unique_ptr<const SettingsKey> openForReading() const override {
    const std::string path(kSettingsKeyName);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<RegistryKey>(key, false);
  }

  std::unique_ptr<SettingsKey> createForWriting() override {
    const std::string path(kSettingsKeyName);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return nullptr;
    }
    return std::make_unique<RegistryKey>(key, true);
  }
};

}  // namespace

std::unique_ptr<SettingsStore> makeRegistrySettingsStore() { return std::make_unique<RegistrySettingsStore>(); }

std::unique_ptr<SettingsStore> openUserSettingsStore() { return makeRegistrySettingsStore(); }

}  // namespace qv::settings

#endif
