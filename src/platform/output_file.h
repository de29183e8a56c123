#pragma once

#include <string>
#include <string_view>

namespace qv::platform {

// The outcome of writing a file: 0, or the system error number of the first
// failure (errno here, GetLastError on Windows).
struct FileWriteResult {
  int errorNumber = 0;
  // The failure came before any byte was written: the file (or the temporary
  // file beside it) could not be created or opened.
  bool openFailed = false;

  bool ok() const noexcept { return errorNumber == 0; }
  // The system's message text for the failure.
  std::string errorText() const;
};

// A file opened for writing that remembers its first failure, so that a
// caller can write everything and ask once at the end. Others may read the
// file but not write it while it is open (where the system has share modes).
class OutputFile {
 public:
  enum class Creation {
    kReplaceContent,  // create, or truncate an existing file
    kNewOnly,         // fail if the path exists
  };

  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  // Closes without reporting; call close() to learn whether closing worked.
  ~OutputFile();

  // Check isOpen() or errorNumber() afterwards.
  static OutputFile open(const std::string& path, Creation creation);

  bool isOpen() const noexcept;
  // The first failure of open, write, sync or close; 0 while all went well.
  int errorNumber() const noexcept { return errorNumber_; }

  // Writes all bytes; after a failure it writes nothing more.
  bool write(std::string_view bytes);
  // Pushes the written bytes to the disk itself.
  bool syncToDisk();
  // Gives the file this regular file's permission bits (no-op on Windows).
  bool copyPermissionsFrom(const std::string& path);
  // Closes the file; false when closing (or anything before it) failed.
  bool close();

 private:
  void fail(int errorNumber) noexcept;
  void closeQuietly() noexcept;

#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int descriptor_ = -1;
#endif
  int errorNumber_ = 0;
};

// Removes a regular file; used to drop an incomplete output.
bool removeFile(const std::string& path) noexcept;

}  // namespace qv::platform
