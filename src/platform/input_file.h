#pragma once

#include <cstdint>
#include <string>

namespace qv::platform {

// A file opened for reading that remembers its first failure as a system
// error number (errno here, GetLastError on Windows), for systemErrorText.
class InputFile {
 public:
  // What others may do with the file while it is open (where the system has
  // share modes): the firewall keeps writing its logs, while a list the
  // program owns must not change under the reader.
  enum class Sharing { kOthersMayWrite, kOthersMayOnlyRead };

  InputFile(const std::string& path, Sharing sharing);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool isOpen() const noexcept;
  // The first failure of open, size or read; 0 while all went well.
  int errorNumber() const noexcept { return errorNumber_; }

  // The file's size when it has one (a regular file); false on failure (a
  // folder is one), with `sized` false for a stream that cannot tell.
  bool size(std::uint64_t& bytes, bool& sized);
  // Reads up to `wanted` bytes: the count read, 0 at the end, -1 on failure.
  std::int64_t read(char* into, std::uint64_t wanted);
  // Reads up to `wanted` bytes from `offset` on, leaving the file position
  // and the remembered failure alone, so that several threads may read parts
  // of one file at once: the count read, 0 at the end, or -1 with the system
  // error number in `errorNumber`.
  std::int64_t readAt(std::uint64_t offset, char* into, std::uint64_t wanted, int& errorNumber) const;

 private:
  void fail(int errorNumber) noexcept;

#ifdef _WIN32
  void* handle_;
#else
  int handle_;
#endif
  int errorNumber_ = 0;
};

// The system error number for running out of memory.
int outOfMemoryError() noexcept;

}  // namespace qv::platform
