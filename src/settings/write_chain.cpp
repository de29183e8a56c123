#include "settings/write_chain.h"

namespace qv::settings {

WriteChain::WriteChain(SettingsStore& store) : key_(store.createForWriting()) {
  result_.keyCreated = key_ != nullptr;
  stopped_ = key_ == nullptr;
}

bool WriteChain::proceed() {
  ++result_.total;
  return !stopped_;
}

WriteChain& WriteChain::text(std::string_view name, std::string_view text) {
  if (proceed()) {
    stopped_ = !key_->writeText(name, text);
    if (!stopped_) ++result_.written;
  }
  return *this;
}

WriteChain& WriteChain::number(std::string_view name, std::uint32_t number) {
  if (proceed()) {
    stopped_ = !key_->writeNumber(name, number);
    if (!stopped_) ++result_.written;
  }
  return *this;
}

WriteChain& WriteChain::binary(std::string_view name, std::span<const std::uint8_t> bytes) {
  if (proceed()) {
    stopped_ = !key_->writeBinary(name, bytes);
    if (!stopped_) ++result_.written;
  }
  return *this;
}

WriteChainResult WriteChain::finish() {
  if (key_ && !key_->close()) result_.written = 0;
  key_.reset();
  stopped_ = true;
  return result_;
}

}  // namespace qv::settings
