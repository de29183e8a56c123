#include "logdata/log_file.h"

#include <cerrno>
#include <cstdint>
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
using FileHandle = HANDLE;
constexpr FileHandle kNoFile = INVALID_HANDLE_VALUE;
int lastError() { return static_cast<int>(GetLastError()); }
void closeFile(FileHandle file) { CloseHandle(file); }
#else
using FileHandle = int;
constexpr FileHandle kNoFile = -1;
int lastError() { return errno; }
void closeFile(FileHandle file) { ::close(file); }
#endif

class OpenFile {
 public:
  explicit OpenFile(const std::string& path) {
#ifdef _WIN32
    handle_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
#else
    handle_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
#endif
  }
  ~OpenFile() {
    if (handle_ != kNoFile) closeFile(handle_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  bool isOpen() const { return handle_ != kNoFile; }

  // The size to read; for a stream that cannot tell, 0 and `sized` false.
  bool size(std::uint64_t& bytes, bool& sized) const {
#ifdef _WIN32
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(handle_, &length)) return false;
    bytes = static_cast<std::uint64_t>(length.QuadPart);
    sized = true;
#else
    struct stat status {};
    if (::fstat(handle_, &status) != 0) return false;
    if (S_ISDIR(status.st_mode)) {
      errno = EISDIR;
      return false;
    }
    sized = S_ISREG(status.st_mode);
    bytes = sized ? static_cast<std::uint64_t>(status.st_size) : 0;
#endif
    return true;
  }

  // Reads up to `wanted` bytes; the count read, 0 at the end, -1 on failure.
  std::int64_t read(char* into, std::uint64_t wanted) const {
    constexpr std::uint64_t kChunk = std::uint64_t{1} << 30;  // both systems cap a single read
    const std::uint64_t chunk = wanted < kChunk ? wanted : kChunk;
#ifdef _WIN32
    DWORD got = 0;
    if (!ReadFile(handle_, into, static_cast<DWORD>(chunk), &got, nullptr)) return -1;
    return static_cast<std::int64_t>(got);
#else
    for (;;) {
      const ssize_t got = ::read(handle_, into, static_cast<std::size_t>(chunk));
      if (got >= 0 || errno != EINTR) return static_cast<std::int64_t>(got);
    }
#endif
  }

 private:
  FileHandle handle_ = kNoFile;
};

FileReadResult failure(int errorNumber) {
  FileReadResult result;
  result.errorText = platform::systemErrorText(errorNumber);
  return result;
}

#ifdef _WIN32
constexpr int kOutOfMemory = ERROR_NOT_ENOUGH_MEMORY;
#else
constexpr int kOutOfMemory = ENOMEM;
#endif

}  // namespace

FileReadResult readWholeFile(const std::string& path) {
  const OpenFile file(path);
  if (!file.isOpen()) return failure(lastError());
  std::uint64_t expected = 0;
  bool sized = false;
  if (!file.size(expected, sized)) return failure(lastError());
  if (expected >= std::numeric_limits<std::size_t>::max()) return failure(kOutOfMemory);

  auto buffer = std::make_shared<ReadBuffer>();
  try {
    buffer->bytes.reserve(static_cast<std::size_t>(expected) + 1);
    buffer->bytes.assign(static_cast<std::size_t>(expected) + 1, '\0');
    std::uint64_t length = 0;
    for (;;) {
      if (length == expected) {
        // A stream of unknown size (or a file that grew) is read to its end.
        if (sized) break;
        buffer->bytes.resize(buffer->bytes.size() + (buffer->bytes.size() < 65536 ? 65536 : buffer->bytes.size()));
        expected = buffer->bytes.size() - 1;
      }
      const std::int64_t got = file.read(buffer->bytes.data() + length, expected - length);
      if (got < 0) return failure(lastError());
      if (got == 0) break;
      length += static_cast<std::uint64_t>(got);
    }
    // A file cut short while it was read ends where its data ended.
    buffer->bytes.resize(static_cast<std::size_t>(length) + 1);
    buffer->bytes[static_cast<std::size_t>(length)] = '\0';
    if (!sized) buffer->bytes.shrink_to_fit();
    buffer->fileLength = length;
  } catch (const std::bad_alloc&) {
    return failure(kOutOfMemory);
  }
  FileReadResult result;
  result.opened = true;
  result.buffer = std::move(buffer);
  return result;
}

}  // namespace qv
