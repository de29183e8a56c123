#include "platform/output_file.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/file_faults.h"
#include "platform/system_error.h"

namespace qv::platform {

std::string FileWriteResult::errorText() const { return systemErrorText(errorNumber); }

OutputFile::OutputFile(OutputFile&& other) noexcept
#ifdef _WIN32
    : handle_(std::exchange(other.handle_, nullptr)),
#else
    : descriptor_(std::exchange(other.descriptor_, -1)),
#endif
      errorNumber_(std::exchange(other.errorNumber_, 0)) {
}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    closeQuietly();
#ifdef _WIN32
    handle_ = std::exchange(other.handle_, nullptr);
#else
    descriptor_ = std::exchange(other.descriptor_, -1);
#endif
    errorNumber_ = std::exchange(other.errorNumber_, 0);
  }
  return *this;
}

OutputFile::~OutputFile() { closeQuietly(); }

void OutputFile::fail(int errorNumber) noexcept {
  if (errorNumber_ == 0) errorNumber_ = errorNumber != 0 ? errorNumber : -1;
}

#ifdef _WIN32

OutputFile OutputFile::open(const std::string& path, Creation creation) {
  OutputFile file;
  const DWORD disposition = creation == Creation::kNewOnly ? CREATE_NEW : CREATE_ALWAYS;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    file.fail(static_cast<int>(GetLastError()));
  } else {
    file.handle_ = handle;
  }
  return file;
}

bool OutputFile::isOpen() const noexcept { return handle_ != nullptr; }

bool OutputFile::write(std::string_view bytes) {
  if (!isOpen()) {
    fail(ERROR_INVALID_HANDLE);
    return false;
  }
  while (errorNumber_ == 0 && !bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), bytes.data(), chunk, &written, nullptr) || written == 0) {
      fail(static_cast<int>(GetLastError()));
      break;
    }
    bytes.remove_prefix(written);
  }
  return errorNumber_ == 0;
}

bool OutputFile::syncToDisk() {
  if (errorNumber_ == 0 && isOpen() && !FlushFileBuffers(static_cast<HANDLE>(handle_))) {
    fail(static_cast<int>(GetLastError()));
  }
  return errorNumber_ == 0;
}

bool OutputFile::copyPermissionsFrom(const std::string&) { return errorNumber_ == 0; }

bool OutputFile::close() {
  if (isOpen()) {
    if (!CloseHandle(static_cast<HANDLE>(handle_))) fail(static_cast<int>(GetLastError()));
    handle_ = nullptr;
  }
  return errorNumber_ == 0;
}

void OutputFile::closeQuietly() noexcept {
  if (isOpen()) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

bool removeFile(const std::string& path) noexcept { return DeleteFileA(path.c_str()) != 0; }

#else

OutputFile OutputFile::open(const std::string& path, Creation creation) {
  OutputFile file;
  int options = O_WRONLY | O_CREAT | O_CLOEXEC;
  options |= creation == Creation::kNewOnly ? O_EXCL : O_TRUNC;
  if (const int injected = injectedFileFault(FileStep::kOpen); injected != 0) {
    file.fail(injected);
    return file;
  }
  int descriptor;
  do {
    descriptor = ::open(path.c_str(), options, 0666);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) {
    file.fail(errno);
  } else {
    file.descriptor_ = descriptor;
  }
  return file;
}

bool OutputFile::isOpen() const noexcept { return descriptor_ >= 0; }

bool OutputFile::write(std::string_view bytes) {
  if (!isOpen()) {
    fail(EBADF);
    return false;
  }
  while (errorNumber_ == 0 && !bytes.empty()) {
    if (const int injected = injectedFileFault(FileStep::kWrite); injected != 0) {
      fail(injected);
      break;
    }
    const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    } else if (written == 0) {
      fail(EIO);
    } else {
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
  }
  return errorNumber_ == 0;
}

bool OutputFile::syncToDisk() {
  if (errorNumber_ != 0 || !isOpen()) return errorNumber_ == 0;
  if (const int injected = injectedFileFault(FileStep::kSync); injected != 0) {
    fail(injected);
  } else if (::fsync(descriptor_) != 0) {
    fail(errno);
  }
  return errorNumber_ == 0;
}

bool OutputFile::copyPermissionsFrom(const std::string& path) {
  struct stat status {};
  if (errorNumber_ == 0 && isOpen() && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
    if (::fchmod(descriptor_, status.st_mode & 07777) != 0) fail(errno);
  }
  return errorNumber_ == 0;
}

bool OutputFile::close() {
  if (isOpen()) {
    // A failed close may still have released the descriptor: never retry it.
    if (::close(descriptor_) != 0 && errno != EINTR) fail(errno);
    descriptor_ = -1;
    // Released either way; the injected failure stands for a late write-back
    // error that only closing reports.
    if (const int injected = injectedFileFault(FileStep::kClose); injected != 0) fail(injected);
  }
  return errorNumber_ == 0;
}

void OutputFile::closeQuietly() noexcept {
  if (isOpen()) ::close(descriptor_);
  descriptor_ = -1;
}

bool removeFile(const std::string& path) noexcept {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  return ::unlink(path.c_str()) == 0;
}

#endif

}  // namespace qv::platform
