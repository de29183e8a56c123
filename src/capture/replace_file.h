#pragma once

#include <string>
#include <string_view>

namespace qv {

struct FileWriteResult {
  bool ok = false;
  // "File Open Error : <system text>" when the file cannot be created,
  // "File Write Error : <system text>" when its content cannot be stored.
  std::string message;
};

// Writes `bytes` as the whole content of the file at `path`. A regular file
// is written beside the target under a temporary name and renamed over it
// only once everything is on disk, so a failure leaves the previous content
// (or no file) and never a half-written one. An existing target that is not
// a regular file (a device, a pipe) is written in place. A symbolic link is
// followed and the file it names is replaced.
FileWriteResult writeFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace qv
