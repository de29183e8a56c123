#include "logdata/traffic_log_reader.h"

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "logdata/log_file.h"
#include "logdata/number_text.h"
#include "logdata/record_fields.h"
#include "logdata/text_cache.h"
#include "logdata/record_time.h"
#include "platform/large_pages.h"

namespace qv {
namespace {

constexpr ByteOffset kLineStartMargin = 200;      // lines closer to the end are not read
constexpr ByteOffset kFragmentRingDistance = 880;  // fragments closer to the end do not mark the ring
constexpr std::size_t kShortestRecordLine = 128;   // bounds the reservation made from the header's count

// Field offsets from t, the position after the first TAB of a record line
// (the addresses and ports are in EndpointField).
namespace Field {
constexpr std::size_t kTime = 0;
constexpr std::size_t kProtocolChar = 24;
constexpr std::size_t kDirectionChar = 69;
constexpr std::size_t kBeginTime = 71;
constexpr std::size_t kEndTime = 88;
constexpr std::size_t kOccurrences = 105;
constexpr std::size_t kActionChar = 121;
constexpr std::size_t kNames = 174;
}  // namespace Field

// The text that fields are read from: up to the first CR or NUL.
std::string_view lineText(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\r' || line[i] == '\0') return line.substr(0, i);
  }
  return line;
}

// Reads record lines, sharing conversion work between neighbouring records.
class RecordLineParser {
 public:
  // Fills a default record in place (records go straight into the log's list).
  void parseInto(std::string_view text, TrafficRecord& record) {
    const std::size_t firstTab = text.find('\t');
    // Without a TAB after the length field every field is absent.
    if (firstTab == std::string_view::npos) return;
    const std::size_t t = firstTab + 1;
    const FixedFields fields(text, t);

    record.time = RecordTime::ofValue(timeValueOfDigits(fields.field(Field::kTime, 16)));
    switch (fields.character(Field::kProtocolChar)) {
      case '2': record.flags |= RecordFlag::kIcmp; break;
      case 'D': record.flags |= RecordFlag::kTcp; break;
      case 'E': record.flags |= RecordFlag::kUdp; break;
      default: break;
    }
    readEndpointFields(fields, record);
    record.flags |= directionFlag(fields.character(Field::kDirectionChar));
    record.beginTime = RecordTime::ofValue(timeValueOfDigits(fields.field(Field::kBeginTime, 16)));
    record.endTime = RecordTime::ofValue(timeValueOfDigits(fields.field(Field::kEndTime, 16)));
    record.occurrences = hexValue(fields.field(Field::kOccurrences, 8));
    record.flags |= actionFlag(fields.character(Field::kActionChar));

    if (t + Field::kNames <= text.size()) {
      std::string_view rest = text.substr(t + Field::kNames);
      record.nameAddress = names_.get(nextName(rest));
      record.ruleName = names_.get(nextName(rest));
      record.applicationName = names_.get(nextName(rest));
    }
  }

 private:
  // The text up to the next TAB (all of it when none follows); `rest` moves past that TAB.
  static std::string_view nextName(std::string_view& rest) {
    const std::size_t tab = rest.find('\t');
    const std::string_view name = rest.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    return name;
  }

  NameTextCache names_;
};

}  // namespace

TrafficRecord parseTrafficRecordLine(std::string_view line) {
  TrafficRecord record;
  RecordLineParser().parseInto(lineText(line), record);
  return record;
}

namespace {

// The file's bytes held whole in memory.
class MemorySource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  ByteOffset length() const { return bytes_.size(); }
  std::string_view prefix(std::size_t size) { return bytes_.substr(0, size); }
  char at(ByteOffset pos) { return bytes_[static_cast<std::size_t>(pos)]; }
  // The offset of the first CR at or after pos; length() when there is none.
  ByteOffset findCr(ByteOffset pos) {
    const void* cr = std::memchr(bytes_.data() + pos, '\r', static_cast<std::size_t>(bytes_.size() - pos));
    return cr != nullptr ? static_cast<ByteOffset>(static_cast<const char*>(cr) - bytes_.data()) : bytes_.size();
  }
  // Bytes [begin, end) as just found by findCr.
  std::string_view view(ByteOffset begin, ByteOffset end) {
    return bytes_.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
  }

 private:
  std::string_view bytes_;
};

// The file read piece by piece into a window that slides forward with the
// scan and grows only for a line longer than itself.
class FileSource {
 public:
  FileSource(LogFile& file, ByteOffset length) : file_(file), length_(length), window_(kWindowSize) {}

  ByteOffset length() const { return length_; }
  bool failed() const { return failed_; }
  std::string_view prefix(std::size_t size) {
    const ByteOffset end = size < length_ ? size : length_;
    cover(0, end);
    return view(0, end);
  }
  char at(ByteOffset pos) {
    if (pos < base_ || pos >= base_ + filled_) cover(pos, pos + 1);
    return pos >= base_ && pos < base_ + filled_ ? window_[static_cast<std::size_t>(pos - base_)] : '\0';
  }
  ByteOffset findCr(ByteOffset pos) {
    ByteOffset searched = pos;
    for (;;) {
      if (searched < base_ || searched >= base_ + filled_) {
        cover(pos, searched + 1);
        if (searched >= base_ + filled_) return length_;
      }
      const char* from = window_.data() + (searched - base_);
      const void* cr = std::memchr(from, '\r', static_cast<std::size_t>(base_ + filled_ - searched));
      if (cr != nullptr) return searched + static_cast<ByteOffset>(static_cast<const char*>(cr) - from);
      searched = base_ + filled_;
      if (searched >= length_) return length_;
    }
  }
  std::string_view view(ByteOffset begin, ByteOffset end) {
    if (begin < base_ || end > base_ + filled_) cover(begin, end);
    if (end > base_ + filled_) end = base_ + filled_;  // the file ended sooner
    if (begin < base_ || begin > end) return {};
    return {window_.data() + (begin - base_), static_cast<std::size_t>(end - begin)};
  }

 private:
  static constexpr std::size_t kWindowSize = std::size_t{1} << 20;

  // Makes the window hold [begin, end), keeping the bytes from begin on that
  // it already has, or as much of it as the file still gives. The scan only
  // moves forward, so begin never lies before the window; bytes between the
  // window and a begin beyond it are read and dropped.
  void cover(ByteOffset begin, ByteOffset end) {
    ByteOffset fileAt = base_ + filled_;
    if (begin <= fileAt) {
      const std::size_t kept = static_cast<std::size_t>(fileAt - begin);
      std::memmove(window_.data(), window_.data() + (begin - base_), kept);
      filled_ = kept;
    } else {
      while (fileAt < begin) {
        const ByteOffset gap = begin - fileAt;
        if (!readInto(0, gap < window_.size() ? static_cast<std::size_t>(gap) : window_.size(), fileAt)) {
          base_ = fileAt;
          filled_ = 0;
          return;
        }
      }
      filled_ = 0;
    }
    base_ = begin;
    if (end > length_) end = length_;
    const std::size_t needed = end > begin ? static_cast<std::size_t>(end - begin) : 0;
    if (needed > window_.size()) window_.resize(needed + kWindowSize);
    // Reads at least what is needed, and tops the window up so that the next
    // lines are already there.
    while (filled_ < needed || (base_ + filled_ < length_ && filled_ < kWindowSize / 2)) {
      const ByteOffset remaining = length_ - (base_ + filled_);
      const std::size_t room = window_.size() - filled_;
      ByteOffset at = base_ + filled_;
      if (!readInto(filled_, remaining < room ? static_cast<std::size_t>(remaining) : room, at)) return;
      filled_ = static_cast<std::size_t>(at - base_);
    }
  }

  // Reads up to `wanted` bytes to window offset `into`, advancing `fileAt`.
  // At an early end or a failure the data ends at fileAt.
  bool readInto(std::size_t into, std::size_t wanted, ByteOffset& fileAt) {
    const std::int64_t got = wanted == 0 ? 0 : file_.read(window_.data() + into, wanted);
    if (got <= 0) {
      failed_ = failed_ || got < 0;
      length_ = fileAt;
      return false;
    }
    fileAt += static_cast<ByteOffset>(got);
    return true;
  }

  LogFile& file_;
  ByteOffset length_;
  std::vector<char> window_;
  ByteOffset base_ = 0;
  std::size_t filled_ = 0;
  bool failed_ = false;
};

constexpr std::size_t kHeaderBytes = 72;

// The scan of every line after the header, the same over whole buffers and
// over files read piece by piece.
template <class Source>
TrafficLog scanTrafficLog(Source& source) {
  TrafficLog log;
  const LogHeader header = readLogHeader(source.prefix(kHeaderBytes), kTrafficLogTag);
  log.status = header.status;
  if (header.status != LogParseStatus::kOk) return log;
  log.newestIndex = header.newestIndex;

  platform::reserveOnLargePages(log.records, recordReservation(header, source.length(), kShortestRecordLine));

  auto parser = std::make_unique<RecordLineParser>();
  ByteOffset pos = header.firstLine;
  while (startsBeforeMargin(pos, source.length(), kLineStartMargin)) {
    while (pos < source.length() && source.at(pos) == '\0') ++pos;
    while (pos < source.length() && source.at(pos) == '\n') ++pos;
    // (The length can shrink here when the file was cut short while read.)
    if (source.length() < kLineStartMargin || pos > source.length() - kLineStartMargin) break;

    const char first = source.at(pos);
    if (first == '\0') {
      // A fragment that is only a NUL (padding right after a line end) is one
      // byte long: jumping to the next CR would swallow the lines before it.
      ++pos;
      applyFragmentRingRule(log.newestIndex, log.records.size(), pos, source.length(), kFragmentRingDistance);
      continue;
    }
    // A NUL inside a line ends its text but not the line: the line runs to its CR.
    const ByteOffset lineEnd = source.findCr(pos);
    const ByteOffset next = lineEnd < source.length() ? lineEnd + 1 : source.length();
    if (first != '0') {
      applyFragmentRingRule(log.newestIndex, log.records.size(), next, source.length(), kFragmentRingDistance);
    } else {
      const std::string_view line = source.view(pos, lineEnd);
      const void* nul = std::memchr(line.data(), '\0', line.size());
      const std::size_t textLength =
          nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()) : line.size();
      parser->parseInto(line.substr(0, textLength), log.records.emplace_back());
    }
    pos = next;
  }
  return log;
}

}  // namespace

TrafficLog parseTrafficLog(std::string_view bytes) {
  MemorySource source(bytes);
  return scanTrafficLog(source);
}

TrafficLogFileRead readTrafficLogFile(const std::string& path) {
  TrafficLogFileRead result;
  LogFile file(path);
  std::uint64_t length = 0;
  bool sized = false;
  if (!file.isOpen() || !file.size(length, sized)) {
    result.errorText = file.errorText();
    return result;
  }
  if (!sized) {
    // A stream cannot tell its length, which the scan needs first: read it whole.
    const FileReadResult whole = readWholeFile(path);
    result.opened = whole.opened;
    result.errorText = whole.errorText;
    if (whole.opened) result.log = parseTrafficLog(whole.buffer->content());
    return result;
  }
  FileSource source(file, length);
  TrafficLog log = scanTrafficLog(source);
  if (source.failed()) {
    result.errorText = file.errorText();
    return result;
  }
  result.opened = true;
  result.log = std::move(log);
  return result;
}

}  // namespace qv
