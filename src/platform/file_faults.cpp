#include "platform/file_faults.h"

#include <atomic>
#include <utility>

namespace qv::platform {
namespace {

std::atomic<const FileFaultHook*> installedHook{nullptr};

}  // namespace

ScopedFileFaultHook::ScopedFileFaultHook(FileFaultHook hook) : hook_(std::move(hook)) {
  installedHook.store(&hook_, std::memory_order_release);
}

ScopedFileFaultHook::~ScopedFileFaultHook() { installedHook.store(nullptr, std::memory_order_release); }

int injectedFileFault(FileStep step) {
  const FileFaultHook* hook = installedHook.load(std::memory_order_acquire);
  return hook != nullptr && *hook ? (*hook)(step) : 0;
}

}  // namespace qv::platform
