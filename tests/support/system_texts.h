#pragma once

#include <string>

#include "platform/system_error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

// The system's own texts for the failures tests provoke: the C library's
// wording on POSIX systems, FormatMessage's on Windows.
namespace qv::test {

#ifdef _WIN32
inline std::string noSuchFileText() { return platform::systemErrorText(ERROR_FILE_NOT_FOUND); }
inline std::string noSuchFolderText() { return platform::systemErrorText(ERROR_PATH_NOT_FOUND); }
inline std::string isAFolderText() { return platform::systemErrorText(ERROR_ACCESS_DENIED); }
inline std::string diskFullText() { return platform::systemErrorText(ERROR_DISK_FULL); }
#else
inline std::string noSuchFileText() { return platform::systemErrorText(ENOENT); }
inline std::string noSuchFolderText() { return platform::systemErrorText(ENOENT); }
inline std::string isAFolderText() { return platform::systemErrorText(EISDIR); }
inline std::string diskFullText() { return platform::systemErrorText(ENOSPC); }
#endif

}  // namespace qv::test
