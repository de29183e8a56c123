#include "logdata/log_file.h"

#include <cerrno>
#include <limits>
#include <memory>
#include <new>
#include <utility>

#include "platform/system_error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv {
namespace {

#ifdef _WIN32
constexpr int kOutOfMemory = ERROR_NOT_ENOUGH_MEMORY;
#else
constexpr int kOutOfMemory = ENOMEM;
#endif

FileReadResult failure(std::string errorText) {
  FileReadResult result;
  result.errorText = std::move(errorText);
  return result;
}

}  // namespace

#ifdef _WIN32

LogFile::LogFile(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
  if (handle_ == INVALID_HANDLE_VALUE) fail(static_cast<int>(GetLastError()));
}

LogFile::~LogFile() {
  if (isOpen()) CloseHandle(handle_);
}

bool LogFile::isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

bool LogFile::size(std::uint64_t& bytes, bool& sized) {
  LARGE_INTEGER length{};
  if (!GetFileSizeEx(handle_, &length)) {
    fail(static_cast<int>(GetLastError()));
    return false;
  }
  bytes = static_cast<std::uint64_t>(length.QuadPart);
  sized = true;
  return true;
}

std::int64_t LogFile::read(char* into, std::uint64_t wanted) {
  constexpr std::uint64_t kChunk = std::uint64_t{1} << 30;  // a single read takes a 32-bit count
  DWORD got = 0;
  if (!ReadFile(handle_, into, static_cast<DWORD>(wanted < kChunk ? wanted : kChunk), &got, nullptr)) {
    fail(static_cast<int>(GetLastError()));
    return -1;
  }
  return static_cast<std::int64_t>(got);
}

#else

LogFile::LogFile(const std::string& path) : handle_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
  if (handle_ < 0) fail(errno);
}

LogFile::~LogFile() {
  if (isOpen()) ::close(handle_);
}

bool LogFile::isOpen() const { return handle_ >= 0; }

bool LogFile::size(std::uint64_t& bytes, bool& sized) {
  struct stat status {};
  if (::fstat(handle_, &status) != 0) {
    fail(errno);
    return false;
  }
  // A folder opens here but is no log; elsewhere it does not even open.
  if (S_ISDIR(status.st_mode)) {
    fail(EISDIR);
    return false;
  }
  sized = S_ISREG(status.st_mode);
  bytes = sized ? static_cast<std::uint64_t>(status.st_size) : 0;
  return true;
}

std::int64_t LogFile::read(char* into, std::uint64_t wanted) {
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

#endif

void LogFile::fail(int errorNumber) { errorText_ = platform::systemErrorText(errorNumber); }

FileReadResult readWholeFile(const std::string& path) {
  LogFile file(path);
  if (!file.isOpen()) return failure(file.errorText());
  std::uint64_t expected = 0;
  bool sized = false;
  if (!file.size(expected, sized)) return failure(file.errorText());
  if (expected >= std::numeric_limits<std::size_t>::max()) return failure(platform::systemErrorText(kOutOfMemory));

  auto buffer = std::make_shared<ReadBuffer>();
  try {
    buffer->bytes.assign(static_cast<std::size_t>(expected) + 1, '\0');
    std::uint64_t length = 0;
    for (;;) {
      if (length == expected) {
        // A stream of unknown size is read to its end; a file, to the size it had when opened.
        if (sized) break;
        buffer->bytes.resize(buffer->bytes.size() + (buffer->bytes.size() < 65536 ? 65536 : buffer->bytes.size()));
        expected = buffer->bytes.size() - 1;
      }
      const std::int64_t got = file.read(buffer->bytes.data() + length, expected - length);
      if (got < 0) return failure(file.errorText());
      if (got == 0) break;
      length += static_cast<std::uint64_t>(got);
    }
    // A file cut short while it was read ends where its data ended.
    buffer->bytes.resize(static_cast<std::size_t>(length) + 1);
    buffer->bytes[static_cast<std::size_t>(length)] = '\0';
    if (!sized) buffer->bytes.shrink_to_fit();
    buffer->fileLength = length;
  } catch (const std::bad_alloc&) {
    return failure(platform::systemErrorText(kOutOfMemory));
  }
  FileReadResult result;
  result.opened = true;
  result.buffer = std::move(buffer);
  return result;
}

}  // namespace qv
