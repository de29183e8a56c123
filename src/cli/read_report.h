#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "views/read_operation.h"

namespace qv::cli {

// Exit codes of the commands that read a log: kSuccessExit for a read that
// showed records or found none, kFailureExit for a file that could not be
// opened or was rejected, kUsageExit for an invalid quick-filter field.
int readExitCode(ReadStatus status);

// Writes the read's message, if any, to err as its own line.
void reportReadMessage(const ReadResult& result, std::ostream& err);

// Flushes the command's output; a write that failed (a full disk, a closed
// stream) turns `exitCode` into kFailureExit with a message, so that a lost listing is
// never reported as success.
int finishOutput(std::string_view command, std::ostream& out, std::ostream& err, int exitCode);

// Collects output lines and writes them to a stream in large blocks, so that
// a million rows cost a few hundred writes rather than millions.
class LineWriter {
 public:
  explicit LineWriter(std::ostream& out) : out_(out) { buffer_.reserve(kBlock + 4096); }
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;
  ~LineWriter() { flush(); }

  // The text of the line being built; end it with endLine().
  std::string& line() noexcept { return buffer_; }
  void endLine() {
    buffer_ += '\n';
    if (buffer_.size() >= kBlock) flush();
  }
  void flush() {
    if (!buffer_.empty()) out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  std::ostream& out_;
  std::string buffer_;
};

}  // namespace qv::cli
