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

}  // namespace qv::platform
