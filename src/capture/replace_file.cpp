#include "capture/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/system_error.h"

namespace qv {

namespace {

FileWriteResult failure(std::string_view kind, int errorNumber) {
  return {false, std::string(kind) + " : " + platform::systemErrorText(errorNumber)};
}

FileWriteResult openFailure(int errorNumber) { return failure("File Open Error", errorNumber); }
FileWriteResult writeFailure(int errorNumber) { return failure("File Write Error", errorNumber); }

// Writes everything or returns the error number of the write that failed.
int writeAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Descriptors of devices and pipes cannot be synchronised; that is no failure.
int syncFile(int descriptor) {
  if (::fsync(descriptor) == 0 || errno == EINVAL || errno == EROFS) return 0;
  return errno;
}

FileWriteResult writeInPlace(const std::string& path, std::string_view bytes) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (descriptor < 0) return openFailure(errno);
  int error = writeAll(descriptor, bytes);
  if (error == 0) error = syncFile(descriptor);
  if (::close(descriptor) != 0 && error == 0) error = errno;
  if (error != 0) return writeFailure(error);
  return {true, {}};
}

mode_t defaultNewFileMode() {
  // The process mask is only readable by setting it; put it straight back.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

FileWriteResult writeFileReplacing(const std::string& path, std::string_view bytes) {
  if (path.empty()) return openFailure(ENOENT);
  std::string target = path;
  struct stat status {};
  const bool exists = ::stat(path.c_str(), &status) == 0;
  if (exists) {
    if (S_ISDIR(status.st_mode)) return openFailure(EISDIR);
    if (!S_ISREG(status.st_mode)) return writeInPlace(path, bytes);
    std::vector<char> resolved(PATH_MAX + 1);
    if (::realpath(path.c_str(), resolved.data()) != nullptr) target = resolved.data();
  }

  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temporary = folder + (slash == std::string::npos ? "/." : ".") + name + ".XXXXXX";
  const int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) return openFailure(errno);

  int error = 0;
  if (::fchmod(descriptor, exists ? (status.st_mode & 07777) : defaultNewFileMode()) != 0) error = errno;
  if (error == 0) error = writeAll(descriptor, bytes);
  if (error == 0) error = syncFile(descriptor);
  if (::close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return writeFailure(error);
  }
  return {true, {}};
}

}  // namespace qv
