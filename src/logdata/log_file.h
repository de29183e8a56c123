#pragma once

#include <cstdint>
#include <string>

#include "logdata/read_buffer.h"
#include "platform/input_file.h"

namespace qv {

struct FileReadResult {
  bool opened = false;
  std::string errorText;  // the system's text when the file could not be opened or read
  SharedReadBuffer buffer;
};

// Reads a whole log file into one buffer of its length + 1 bytes, the last
// one NUL. The file is opened for reading while others may go on reading and
// writing it (the firewall keeps its logs open); sizes are 64-bit throughout.
FileReadResult readWholeFile(const std::string& path);

// A log file opened for reading while others may go on reading and writing
// it. Failures leave the system's text in errorText().
class LogFile {
 public:
  explicit LogFile(const std::string& path);
  ~LogFile();
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  bool isOpen() const;
  const std::string& errorText() const { return errorText_; }

  // The file's size when it has one (a regular file); false on failure, with
  // `sized` false for a stream that cannot tell.
  bool size(std::uint64_t& bytes, bool& sized);
  // Reads up to `wanted` bytes: the count read, 0 at the end, -1 on failure.
  std::int64_t read(char* into, std::uint64_t wanted);
  // Reads from `offset` on, as platform::InputFile::readAt: safe from several
  // threads at once; a failure leaves its error number in `errorNumber`, not
  // in errorText().
  std::int64_t readAt(std::uint64_t offset, char* into, std::uint64_t wanted, int& errorNumber) const {
    return file_.readAt(offset, into, wanted, errorNumber);
  }

 private:
  void noteFailure();

  platform::InputFile file_;
  std::string errorText_;
};

}  // namespace qv
