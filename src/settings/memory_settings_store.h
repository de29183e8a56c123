#pragma once

#include "settings/settings_store.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qv::settings {

// Settings held in memory, for tests: starts without a key, like a first run,
// and can be told to fail a chosen write or the key's creation. Keys opened
// from it share its contents and stay valid after the store is gone.
class MemorySettingsStore final : public SettingsStore {
 public:
  using Values = std::map<std::string, StoredValue, std::less<>>;

  MemorySettingsStore();

  std::unique_ptr<const SettingsKey> openForReading() const override;
  std::unique_ptr<SettingsKey> createForWriting() override;

  bool keyExists() const;
  const Values& values() const;
  std::optional<StoredValue> storedValue(std::string_view name) const;
  // Puts a value in place directly (creating the key), bypassing failures.
  void putValue(std::string_view name, StoredValue value);

  // The nth write from now on fails (1 = the next one); writes and deletes
  // count. 0 cancels.
  void failWrite(std::size_t nth);
  void failKeyCreation(bool fail);
  // Closing a key opened for writing reports a failure to save.
  void failClose(bool fail);
  // Writes and deletes attempted so far, failed ones included.
  std::size_t writeAttempts() const;

  // Shared by the store and the keys opened from it.
  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace qv::settings
