#include "settings/memory_settings_store.h"

#include <utility>

namespace qv::settings {

struct MemorySettingsStore::State {
  bool keyExists = false;
  Values values;
  std::size_t writeAttempts = 0;
  std::size_t failingAttempt = 0;  // 0: none
  bool failKeyCreation = false;
  bool failClose = false;

  // Counts one attempt; false when it is the one chosen to fail.
  bool attemptWrite() {
    ++writeAttempts;
    return failingAttempt == 0 || writeAttempts != failingAttempt;
  }
};

namespace {

class MemoryKey final : public SettingsKey {
 public:
  MemoryKey(std::shared_ptr<MemorySettingsStore::State> state, bool writable)
      : state_(std::move(state)), writable_(writable) {}

  std::optional<StoredValue> value(std::string_view name) const override;
  bool setValue(std::string_view name, const StoredValue& value) override;
  bool deleteValue(std::string_view name) override;
  bool close() override { return !writable_ || !state_->failClose; }

 private:
  std::shared_ptr<MemorySettingsStore::State> state_;
  bool writable_;
};

}  // namespace

std::optional<StoredValue> MemoryKey::value(std::string_view name) const {
  const auto found = state_->values.find(name);
  if (found == state_->values.end()) return std::nullopt;
  return found->second;
}

bool MemoryKey::setValue(std::string_view name, const StoredValue& value) {
  if (!writable_ || !state_->attemptWrite()) return false;
  state_->values.insert_or_assign(std::string(name), value);
  return true;
}

bool MemoryKey::deleteValue(std::string_view name) {
  if (!writable_ || !state_->attemptWrite()) return false;
  const auto found = state_->values.find(name);
  if (found != state_->values.end()) state_->values.erase(found);
  return true;
}

MemorySettingsStore::MemorySettingsStore() : state_(std::make_shared<State>()) {}

std::unique_ptr<const SettingsKey> MemorySettingsStore::openForReading() const {
  if (!state_->keyExists) return nullptr;
  return std::make_unique<MemoryKey>(state_, false);
}

std::unique_ptr<SettingsKey> MemorySettingsStore::createForWriting() {
  if (state_->failKeyCreation) return nullptr;
  state_->keyExists = true;
  return std::make_unique<MemoryKey>(state_, true);
}

bool MemorySettingsStore::keyExists() const { return state_->keyExists; }

const MemorySettingsStore::Values& MemorySettingsStore::values() const { return state_->values; }

std::optional<StoredValue> MemorySettingsStore::storedValue(std::string_view name) const {
  const auto found = state_->values.find(name);
  if (found == state_->values.end()) return std::nullopt;
  return found->second;
}

void MemorySettingsStore::putValue(std::string_view name, StoredValue value) {
  state_->keyExists = true;
  state_->values.insert_or_assign(std::string(name), std::move(value));
}

void MemorySettingsStore::failWrite(std::size_t nth) {
  state_->failingAttempt = nth == 0 ? 0 : state_->writeAttempts + nth;
}

void MemorySettingsStore::failKeyCreation(bool fail) { state_->failKeyCreation = fail; }

void MemorySettingsStore::failClose(bool fail) { state_->failClose = fail; }

std::size_t MemorySettingsStore::writeAttempts() const { return state_->writeAttempts; }

}  // namespace qv::settings
