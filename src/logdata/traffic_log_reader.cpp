#include "logdata/traffic_log_reader.h"

#include <cstring>
#include <functional>
#include <future>
#include <iterator>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "logdata/log_file.h"
#include "logdata/number_text.h"
#include "logdata/record_fields.h"
#include "logdata/text_cache.h"
#include "logdata/record_time.h"
#include "platform/large_pages.h"
#include "platform/system_error.h"

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

// A part of the file read piece by piece into a window that slides forward
// with the scan and grows only for a line longer than itself. Reads are
// positional, so several sources may scan parts of one open file at once.
class FileSource {
 public:
  FileSource(const LogFile& file, ByteOffset length, ByteOffset start = 0)
      : file_(file), length_(length), window_(kWindowSize), base_(start) {}

  ByteOffset length() const { return length_; }
  // The system error number of a failed read; 0 while all went well.
  int errorNumber() const { return errorNumber_; }
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
  // moves forward; a begin beyond the window is simply read from.
  void cover(ByteOffset begin, ByteOffset end) {
    const ByteOffset fileAt = base_ + filled_;
    if (begin >= base_ && begin <= fileAt) {
      const std::size_t kept = static_cast<std::size_t>(fileAt - begin);
      std::memmove(window_.data(), window_.data() + (begin - base_), kept);
      filled_ = kept;
    } else {
      filled_ = 0;
    }
    base_ = begin;
    if (end > length_) end = length_;
    const std::size_t needed = end > begin ? static_cast<std::size_t>(end - begin) : 0;
    if (needed > window_.size()) window_.resize(needed + kWindowSize);
    // Reads at least what is needed, and tops the window up so that the next
    // lines are already there.
    while (filled_ < needed || (base_ + filled_ < length_ && filled_ < kWindowSize / 2)) {
      const ByteOffset at = base_ + filled_;
      if (at >= length_) return;
      const ByteOffset remaining = length_ - at;
      const std::size_t room = window_.size() - filled_;
      const std::int64_t got = file_.readAt(at, window_.data() + filled_,
                                            remaining < room ? static_cast<std::size_t>(remaining) : room, errorNumber_);
      if (got <= 0) {
        // At an early end or a failure the data ends here.
        length_ = at;
        return;
      }
      filled_ += static_cast<std::size_t>(got);
    }
  }

  const LogFile& file_;
  ByteOffset length_;
  std::vector<char> window_;
  ByteOffset base_ = 0;
  std::size_t filled_ = 0;
  int errorNumber_ = 0;
};

constexpr std::size_t kHeaderBytes = 72;

// Scans the lines that start at `begin` and before `end` (where the next part
// of a split scan begins; the file's end for the last part), the same over
// whole buffers and over files read piece by piece. Every fragment line is
// reported as onFragment(records before it, the position after it, the
// length of the data then) for the ring rule.
template <class Source, class OnFragment>
void scanLines(Source& source, ByteOffset begin, ByteOffset end, std::vector<TrafficRecord>& records,
               OnFragment onFragment) {
  auto parser = std::make_unique<RecordLineParser>();
  ByteOffset pos = begin;
  while (pos < end && startsBeforeMargin(pos, source.length(), kLineStartMargin)) {
    while (pos < source.length() && source.at(pos) == '\0') ++pos;
    while (pos < source.length() && source.at(pos) == '\n') ++pos;
    // (The length can shrink here when the file was cut short while read.)
    if (source.length() < kLineStartMargin || pos > source.length() - kLineStartMargin) break;

    const char first = source.at(pos);
    if (first == '\0') {
      // A fragment that is only a NUL (padding right after a line end) is one
      // byte long: jumping to the next CR would swallow the lines before it.
      ++pos;
      onFragment(records.size(), pos, source.length());
      continue;
    }
    // A NUL inside a line ends its text but not the line: the line runs to its CR.
    const ByteOffset lineEnd = source.findCr(pos);
    const ByteOffset next = lineEnd < source.length() ? lineEnd + 1 : source.length();
    if (first != '0') {
      onFragment(records.size(), next, source.length());
    } else {
      const std::string_view line = source.view(pos, lineEnd);
      const void* nul = std::memchr(line.data(), '\0', line.size());
      const std::size_t textLength =
          nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()) : line.size();
      parser->parseInto(line.substr(0, textLength), records.emplace_back());
    }
    pos = next;
  }
}

// The scan of every line after the header in one pass.
template <class Source>
TrafficLog scanTrafficLog(Source& source) {
  TrafficLog log;
  const LogHeader header = readLogHeader(source.prefix(kHeaderBytes), kTrafficLogTag);
  log.status = header.status;
  if (header.status != LogParseStatus::kOk) return log;
  log.newestIndex = header.newestIndex;
  platform::reserveOnLargePages(log.records, recordReservation(header, source.length(), kShortestRecordLine));
  scanLines(source, header.firstLine, source.length(), log.records,
            [&log](std::uint64_t recordsBefore, ByteOffset pos, ByteOffset length) {
              applyFragmentRingRule(log.newestIndex, recordsBefore, pos, length, kFragmentRingDistance);
            });
  return log;
}

// A fragment line of one part of a split scan, kept for the ring rule.
struct FragmentMark {
  std::uint64_t recordsBefore = 0;  // counted within the part
  ByteOffset pos = 0;
  ByteOffset length = 0;
};

struct PartScan {
  std::vector<TrafficRecord> records;
  // Of the fragments that follow the same record, only the first can change
  // the ring's newest record (the rule is settled by it for the others), so
  // a part keeps at most one mark per record: a file of fragments cannot
  // make the list outgrow the records.
  std::vector<FragmentMark> fragments;
  int errorNumber = 0;
};

PartScan scanPart(const LogFile& file, ByteOffset length, ByteOffset begin, ByteOffset end, std::size_t reservation) {
  PartScan part;
  FileSource source(file, length, begin);
  platform::reserveOnLargePages(part.records, reservation);
  scanLines(source, begin, end, part.records, [&part](std::uint64_t recordsBefore, ByteOffset pos, ByteOffset now) {
    if (part.fragments.empty() || part.fragments.back().recordsBefore != recordsBefore) {
      part.fragments.push_back({recordsBefore, pos, now});
    }
  });
  part.errorNumber = source.errorNumber();
  return part;
}

// Where the parts of a split scan begin: just after a CR, where a single pass
// begins a line too, found from even shares of [firstLine, last) on. A share
// without a CR joins the part before it.
std::vector<ByteOffset> partStarts(const LogFile& file, ByteOffset firstLine, ByteOffset last, unsigned parts) {
  std::vector<ByteOffset> starts{firstLine};
  std::vector<char> window(std::size_t{64} << 10);
  for (unsigned part = 1; part < parts; ++part) {
    ByteOffset at = firstLine + (last - firstLine) / parts * part;
    if (at <= starts.back()) continue;
    const ByteOffset limit = firstLine + (last - firstLine) / parts * (part + 1);
    while (at < limit) {
      int errorNumber = 0;
      const std::int64_t got = file.readAt(at, window.data(), window.size(), errorNumber);
      if (got <= 0) return starts;
      const void* cr = std::memchr(window.data(), '\r', static_cast<std::size_t>(got));
      if (cr != nullptr) {
        const ByteOffset start = at + static_cast<ByteOffset>(static_cast<const char*>(cr) - window.data()) + 1;
        if (start < last) starts.push_back(start);
        break;
      }
      at += static_cast<ByteOffset>(got);
    }
  }
  return starts;
}

// The parts' records joined in file order, and the ring rule replayed over
// their fragments as a single pass would have met them.
TrafficLog joinParts(const LogHeader& header, std::vector<PartScan>& parts) {
  TrafficLog log;
  log.status = header.status;
  log.newestIndex = header.newestIndex;
  log.records = std::move(parts.front().records);
  std::size_t total = 0;
  for (const PartScan& part : parts) total += part.records.size();
  total += log.records.size();
  if (log.records.capacity() < total) {
    std::vector<TrafficRecord> joined;
    platform::reserveOnLargePages(joined, total);
    std::move(log.records.begin(), log.records.end(), std::back_inserter(joined));
    log.records = std::move(joined);
  }
  std::uint64_t before = 0;
  for (std::size_t index = 0; index < parts.size(); ++index) {
    PartScan& part = parts[index];
    const std::uint64_t partRecords = index == 0 ? log.records.size() : part.records.size();
    for (const FragmentMark& mark : part.fragments) {
      applyFragmentRingRule(log.newestIndex, before + mark.recordsBefore, mark.pos, mark.length,
                            kFragmentRingDistance);
    }
    if (index > 0) std::move(part.records.begin(), part.records.end(), std::back_inserter(log.records));
    before += partRecords;
  }
  return log;
}

// The file's lines after the header in `parts` parts, each on a thread of its
// own (the first on the calling one). Equal to a single pass: records, their
// order, the ring's newest record.
TrafficLog scanTrafficLogInParts(const LogFile& file, ByteOffset length, unsigned parts, int& errorNumber) {
  FileSource headerSource(file, length);
  const LogHeader header = readLogHeader(headerSource.prefix(kHeaderBytes), kTrafficLogTag);
  errorNumber = headerSource.errorNumber();
  if (header.status != LogParseStatus::kOk || errorNumber != 0) {
    TrafficLog log;
    log.status = header.status;
    return log;
  }
  const ByteOffset last = length > kLineStartMargin ? length - kLineStartMargin : 0;
  const std::vector<ByteOffset> starts =
      last > header.firstLine ? partStarts(file, header.firstLine, last, parts) : std::vector<ByteOffset>{header.firstLine};
  const std::size_t reservation = recordReservation(header, length, kShortestRecordLine);

  std::vector<std::future<PartScan>> others;
  for (std::size_t part = 1; part < starts.size(); ++part) {
    const ByteOffset end = part + 1 < starts.size() ? starts[part + 1] : length;
    others.push_back(std::async(std::launch::async, scanPart, std::cref(file), length, starts[part], end,
                                reservation / starts.size() + 1024));
  }
  std::vector<PartScan> scans;
  scans.push_back(scanPart(file, length, starts.front(), starts.size() > 1 ? starts[1] : length, reservation));
  for (std::future<PartScan>& other : others) scans.push_back(other.get());
  for (const PartScan& scan : scans) {
    if (scan.errorNumber != 0) {
      errorNumber = scan.errorNumber;
      return {};
    }
  }
  return joinParts(header, scans);
}

// Parts worth a thread each: one per processor up to four, none under 4 MiB.
unsigned partsFor(ByteOffset length) {
  constexpr ByteOffset kSmallestPart = ByteOffset{4} << 20;
  const unsigned processors = std::thread::hardware_concurrency();
  unsigned parts = processors < 4 ? processors : 4;
  while (parts > 1 && length / parts < kSmallestPart) --parts;
  return parts < 1 ? 1 : parts;
}

}  // namespace

TrafficLog parseTrafficLog(std::string_view bytes) {
  MemorySource source(bytes);
  return scanTrafficLog(source);
}

TrafficLogFileRead readTrafficLogFile(const std::string& path) { return readTrafficLogFile(path, 0); }

TrafficLogFileRead readTrafficLogFile(const std::string& path, unsigned parts) {
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
  if (parts == 0) parts = partsFor(length);
  int errorNumber = 0;
  TrafficLog log;
  if (parts > 1) {
    log = scanTrafficLogInParts(file, length, parts, errorNumber);
  } else {
    FileSource source(file, length);
    log = scanTrafficLog(source);
    errorNumber = source.errorNumber();
  }
  if (errorNumber != 0) {
    result.errorText = platform::systemErrorText(errorNumber);
    return result;
  }
  result.opened = true;
  result.log = std::move(log);
  return result;
}

}  // namespace qv
