#pragma once

#include "settings/settings_store.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace qv::settings {

// What a writer's chain achieved. Nobody is told of a failure; the result
// is for callers that care and for tests.
struct WriteChainResult {
  bool keyCreated = false;
  std::size_t written = 0;  // values written, in the chain's order
  std::size_t total = 0;    // values the chain holds

  bool complete() const { return keyCreated && written == total; }
};

// One writer's ordered sequence of writes: creates or opens the key, then
// writes value after value and skips everything after the first write that
// fails, so the values after it keep their previous stored contents.
// finish() closes the key; when the backend then fails to save the writes it
// held, none of them counts as written.
class WriteChain {
 public:
  explicit WriteChain(SettingsStore& store);

  WriteChain& text(std::string_view name, std::string_view text);
  WriteChain& number(std::string_view name, std::uint32_t number);
  WriteChain& binary(std::string_view name, std::span<const std::uint8_t> bytes);

  WriteChainResult finish();

 private:
  bool proceed();

  std::unique_ptr<SettingsKey> key_;
  bool stopped_ = false;
  WriteChainResult result_;
};

}  // namespace qv::settings
