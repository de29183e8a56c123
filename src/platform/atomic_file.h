#pragma once

#include <string>
#include <string_view>

#include "platform/output_file.h"

namespace qv::platform {

// Replaces the file at path with bytes so that a crash, a full disk or a
// failed write leaves either the whole old content or the whole new one,
// never a mixture or a truncated file: the bytes go to a new temporary file
// in the same folder, are flushed to the disk, and the temporary file is then
// renamed over path. On failure the temporary file is removed and path is
// untouched. A symbolic link at path is followed, so the link stays. An
// existing target that is no regular file (a device, a pipe) cannot be
// replaced and is written in place; a folder is refused as an open failure.
FileWriteResult writeFileAtomically(const std::string& path, std::string_view bytes);

// The same replacement for bytes that come piece by piece, so that a large
// file need not be held in memory whole: nothing at path changes before
// commit() succeeds, and a writer dropped without a successful commit removes
// its temporary file.
class AtomicFileWriter {
 public:
  // Creates the temporary file (or opens a device or pipe); a failure shows
  // in commit(), with openFailed set.
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // False when the file could not be created; commit() tells why.
  bool isOpen() const noexcept { return failure_.ok() && file_.isOpen(); }
  // False once anything has failed; the bytes after a failure are dropped.
  bool write(std::string_view bytes);
  // Syncs, closes and renames the temporary file over path. Call it once.
  FileWriteResult commit();

 private:
  void discard() noexcept;

  std::string target_;
  std::string temporaryPath_;  // empty when writing in place or when nothing was created
  OutputFile file_;
  FileWriteResult failure_;
};

}  // namespace qv::platform
