#include "platform/input_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv::platform {

void InputFile::fail(int errorNumber) noexcept {
  if (errorNumber_ == 0) errorNumber_ = errorNumber;
}

#ifdef _WIN32

InputFile::InputFile(const std::string& path, Sharing sharing)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ,
                          sharing == Sharing::kOthersMayWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
  if (handle_ == INVALID_HANDLE_VALUE) fail(static_cast<int>(GetLastError()));
}

InputFile::~InputFile() {
  if (isOpen()) CloseHandle(handle_);
}

bool InputFile::isOpen() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }

bool InputFile::size(std::uint64_t& bytes, bool& sized) {
  LARGE_INTEGER length{};
  if (!GetFileSizeEx(handle_, &length)) {
    fail(static_cast<int>(GetLastError()));
    return false;
  }
  bytes = static_cast<std::uint64_t>(length.QuadPart);
  sized = true;
  return true;
}

std::int64_t InputFile::read(char* into, std::uint64_t wanted) {
  constexpr std::uint64_t kChunk = std::uint64_t{1} << 30;  // a single read takes a 32-bit count
  DWORD got = 0;
  if (!ReadFile(handle_, into, static_cast<DWORD>(wanted < kChunk ? wanted : kChunk), &got, nullptr)) {
    fail(static_cast<int>(GetLastError()));
    return -1;
  }
  return static_cast<std::int64_t>(got);
}

std::int64_t InputFile::readAt(std::uint64_t offset, char* into, std::uint64_t wanted, int& errorNumber) const {
  constexpr std::uint64_t kChunk = std::uint64_t{1} << 30;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  if (!ReadFile(handle_, into, static_cast<DWORD>(wanted < kChunk ? wanted : kChunk), &got, &at)) {
    const DWORD error = GetLastError();
    if (error == ERROR_HANDLE_EOF) return 0;
    errorNumber = static_cast<int>(error);
    return -1;
  }
  return static_cast<std::int64_t>(got);
}

int outOfMemoryError() noexcept { return ERROR_NOT_ENOUGH_MEMORY; }

#else

// Files have no share modes here: both kinds of sharing open alike.
InputFile::InputFile(const std::string& path, Sharing) : handle_(-1) {
  do {
    handle_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (handle_ < 0 && errno == EINTR);
  if (handle_ < 0) fail(errno);
}

InputFile::~InputFile() {
  if (isOpen()) ::close(handle_);
}

bool InputFile::isOpen() const noexcept { return handle_ >= 0; }

bool InputFile::size(std::uint64_t& bytes, bool& sized) {
  struct stat status {};
  if (::fstat(handle_, &status) != 0) {
    fail(errno);
    return false;
  }
  // A folder opens here but is no file to read; elsewhere it does not even open.
  if (S_ISDIR(status.st_mode)) {
    fail(EISDIR);
    return false;
  }
  sized = S_ISREG(status.st_mode);
  bytes = sized ? static_cast<std::uint64_t>(status.st_size) : 0;
  return true;
}

std::int64_t InputFile::read(char* into, std::uint64_t wanted) {
  constexpr std::uint64_t kChunk = std::uint64_t{1} << 30;  // Linux moves at most about 2 GiB per call
  for (;;) {
    const ssize_t got = ::read(handle_, into, static_cast<std::size_t>(wanted < kChunk ? wanted : kChunk));
    if (got >= 0) return static_cast<std::int64_t>(got);
    if (errno != EINTR) {
      fail(errno);
      return -1;
    }
  }
}

std::int64_t InputFile::readAt(std::uint64_t offset, char* into, std::uint64_t wanted, int& errorNumber) const {
  constexpr std::uint64_t kChunk = std::uint64_t{1} << 30;
  for (;;) {
    const ssize_t got =
        ::pread(handle_, into, static_cast<std::size_t>(wanted < kChunk ? wanted : kChunk), static_cast<off_t>(offset));
    if (got >= 0) return static_cast<std::int64_t>(got);
    if (errno != EINTR) {
      errorNumber = errno;
      return -1;
    }
  }
}

int outOfMemoryError() noexcept { return ENOMEM; }

#endif

}  // namespace qv::platform
