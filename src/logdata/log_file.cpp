#include "logdata/log_file.h"

#include <limits>
#include <memory>
#include <new>
#include <utility>

#include "platform/large_pages.h"
#include "platform/system_error.h"

namespace qv {
namespace {

FileReadResult failure(std::string errorText) {
  FileReadResult result;
  result.errorText = std::move(errorText);
  return result;
}

}  // namespace

LogFile::LogFile(const std::string& path) : file_(path, platform::InputFile::Sharing::kOthersMayWrite) {
  noteFailure();
}

LogFile::~LogFile() = default;

bool LogFile::isOpen() const { return file_.isOpen(); }

bool LogFile::size(std::uint64_t& bytes, bool& sized) {
  if (file_.size(bytes, sized)) return true;
  noteFailure();
  return false;
}

std::int64_t LogFile::read(char* into, std::uint64_t wanted) {
  const std::int64_t got = file_.read(into, wanted);
  if (got < 0) noteFailure();
  return got;
}

void LogFile::noteFailure() {
  if (file_.errorNumber() != 0 && errorText_.empty()) errorText_ = platform::systemErrorText(file_.errorNumber());
}

FileReadResult readWholeFile(const std::string& path) {
  LogFile file(path);
  if (!file.isOpen()) return failure(file.errorText());
  std::uint64_t expected = 0;
  bool sized = false;
  if (!file.size(expected, sized)) return failure(file.errorText());
  // An image past what record offsets can hold could never be held in memory either.
  if (expected >= std::numeric_limits<std::size_t>::max() || expected > kLargestReadImage) {
    return failure(platform::systemErrorText(platform::outOfMemoryError()));
  }

  ReadBuffer buffer;
  try {
    platform::reserveOnLargePages(buffer.bytes, static_cast<std::size_t>(expected) + 1);
    buffer.bytes.assign(static_cast<std::size_t>(expected) + 1, '\0');
    std::uint64_t length = 0;
    for (;;) {
      if (length == expected) {
        // A stream of unknown size is read to its end; a file, to the size it had when opened.
        if (sized) break;
        if (buffer.bytes.size() > kLargestReadImage / 2) throw std::bad_alloc();
        buffer.bytes.resize(buffer.bytes.size() + (buffer.bytes.size() < 65536 ? 65536 : buffer.bytes.size()));
        expected = buffer.bytes.size() - 1;
      }
      const std::int64_t got = file.read(buffer.bytes.data() + length, expected - length);
      if (got < 0) return failure(file.errorText());
      if (got == 0) break;
      length += static_cast<std::uint64_t>(got);
    }
    // A file cut short while it was read ends where its data ended.
    buffer.bytes.resize(static_cast<std::size_t>(length) + 1);
    buffer.bytes[static_cast<std::size_t>(length)] = '\0';
    if (!sized) buffer.bytes.shrink_to_fit();
    buffer.fileLength = length;
  } catch (const std::bad_alloc&) {
    return failure(platform::systemErrorText(platform::outOfMemoryError()));
  }
  FileReadResult result;
  result.opened = true;
  result.buffer = SharedReadBuffer(std::move(buffer));
  return result;
}

}  // namespace qv
