#pragma once

#include <functional>

namespace qv::platform {

// The system calls a file write is made of, in the order the atomic
// replacement makes them. kSync pushes the written bytes to the disk (there
// is no buffer of our own to flush before it); kSyncFolder makes a finished
// rename durable and is best effort.
enum class FileStep { kOpen, kWrite, kSync, kClose, kRename, kSyncFolder };

// Decides, before a step runs, whether it fails: 0 lets it run, anything
// else is the error number the step fails with instead.
using FileFaultHook = std::function<int(FileStep)>;

// Installs a hook for the whole process while it lives, so that tests can
// make any step of any write fail the way a full disk or a broken device
// would. Writers run without one; hooks do not nest.
class ScopedFileFaultHook {
 public:
  explicit ScopedFileFaultHook(FileFaultHook hook);
  ~ScopedFileFaultHook();
  ScopedFileFaultHook(const ScopedFileFaultHook&) = delete;
  ScopedFileFaultHook& operator=(const ScopedFileFaultHook&) = delete;

 private:
  FileFaultHook hook_;
};

// The error the installed hook gives for this step, or 0 (always 0 without a
// hook: one atomic load).
int injectedFileFault(FileStep step);

}  // namespace qv::platform
