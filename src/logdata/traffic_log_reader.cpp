#include "logdata/traffic_log_reader.h"

#include <cstring>
#include <memory>

#include "logdata/number_text.h"
#include "logdata/text_cache.h"
#include "logdata/time_text.h"

namespace qv {
namespace {

constexpr ByteOffset kLineStartMargin = 200;      // lines closer to the end are not read
constexpr ByteOffset kFragmentRingDistance = 880;  // fragments closer to the end do not mark the ring
constexpr std::size_t kShortestRecordLine = 128;   // bounds the reservation made from the header's count

// Field offsets from t, the position after the first TAB of a record line.
namespace Field {
constexpr std::size_t kTime = 0;
constexpr std::size_t kProtocolChar = 24;
constexpr std::size_t kLocalIp = 26;
constexpr std::size_t kRemoteIp = 35;
constexpr std::size_t kLocalPort = 48;
constexpr std::size_t kRemotePort = 57;
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
    const auto field = [&](std::size_t offset, std::size_t length) {
      return t + offset < text.size() ? text.substr(t + offset, length) : std::string_view();
    };
    const auto character = [&](std::size_t offset) { return t + offset < text.size() ? text[t + offset] : '\0'; };

    record.time = times_.timeText(field(Field::kTime, 16), false);
    switch (character(Field::kProtocolChar)) {
      case '2': record.flags |= RecordFlag::kIcmp; break;
      case 'D': record.flags |= RecordFlag::kTcp; break;
      case 'E': record.flags |= RecordFlag::kUdp; break;
      default: break;
    }
    record.localIp = address(field(Field::kLocalIp, 8), localIp_);
    record.remoteIp = address(field(Field::kRemoteIp, 8), remoteIp_);
    record.localPort = static_cast<std::uint16_t>(hexValue(field(Field::kLocalPort, 4)));
    record.remotePort = static_cast<std::uint16_t>(hexValue(field(Field::kRemotePort, 4)));
    switch (character(Field::kDirectionChar)) {
      case '1': record.flags |= RecordFlag::kIncoming; break;
      case '2': record.flags |= RecordFlag::kOutgoing; break;
      default: break;
    }
    record.beginTime = times_.timeText(field(Field::kBeginTime, 16), false);
    record.endTime = times_.timeText(field(Field::kEndTime, 16), false);
    record.occurrences = hexValue(field(Field::kOccurrences, 8));
    // A line too short to hold the action field has neither action bit.
    if (const char action = character(Field::kActionChar); action == '1') {
      record.flags |= RecordFlag::kBlocked;
    } else if (action != '\0') {
      record.flags |= RecordFlag::kAllowed;
    }

    if (t + Field::kNames <= text.size()) {
      std::string_view rest = text.substr(t + Field::kNames);
      record.nameAddress = names_.get(nextName(rest));
      record.ruleName = names_.get(nextName(rest));
      record.applicationName = names_.get(nextName(rest));
    }
  }

 private:
  struct RecentAddress {
    char digits[8] = {};
    std::size_t size = 0;
    bool used = false;
    Text text;
  };

  // Local addresses hardly change from one record to the next.
  static Text address(std::string_view digits, RecentAddress& recent) {
    const bool same = recent.used && recent.size == digits.size() &&
                      (digits.size() == 8 ? std::memcmp(recent.digits, digits.data(), 8) == 0
                                          : std::memcmp(recent.digits, digits.data(), digits.size()) == 0);
    if (!same) {
      recent.text = dottedAddress(digits);
      std::memcpy(recent.digits, digits.data(), digits.size());
      recent.size = digits.size();
      recent.used = true;
    }
    return recent.text;
  }

  // The text up to the next TAB (all of it when none follows); `rest` moves past that TAB.
  static std::string_view nextName(std::string_view& rest) {
    const std::size_t tab = rest.find('\t');
    const std::string_view name = rest.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    return name;
  }

  TimeTextConverter times_;
  TextCache names_;
  RecentAddress localIp_;
  RecentAddress remoteIp_;
};

}  // namespace

TrafficRecord parseTrafficRecordLine(std::string_view line) {
  TrafficRecord record;
  RecordLineParser().parseInto(lineText(line), record);
  return record;
}

TrafficLog parseTrafficLog(std::string_view bytes) {
  TrafficLog log;
  const LogHeader header = readLogHeader(bytes, kTrafficLogTag);
  log.status = header.status;
  if (header.status != LogParseStatus::Ok) return log;
  log.newestIndex = header.newestIndex;

  const char* const data = bytes.data();
  const ByteOffset length = bytes.size();
  const ByteOffset reserve = header.recordCount < length / kShortestRecordLine ? header.recordCount
                                                                                : length / kShortestRecordLine;
  log.records.reserve(static_cast<std::size_t>(reserve));

  auto parser = std::make_unique<RecordLineParser>();
  ByteOffset pos = header.firstLine;
  while (startsBeforeMargin(pos, length, kLineStartMargin)) {
    while (pos < length && data[pos] == '\0') ++pos;
    while (pos < length && data[pos] == '\n') ++pos;
    if (pos > length - kLineStartMargin) break;

    // A NUL inside a line ends its text but not the line: the line runs to its CR.
    const void* cr = std::memchr(data + pos, '\r', static_cast<std::size_t>(length - pos));
    const ByteOffset lineEnd = cr != nullptr ? static_cast<ByteOffset>(static_cast<const char*>(cr) - data) : length;
    const ByteOffset next = cr != nullptr ? lineEnd + 1 : length;

    if (data[pos] != '0') {
      // A fragment that is only a NUL (padding right after a line end) is one
      // byte long: jumping to the next CR would swallow the lines before it.
      const ByteOffset afterFragment = data[pos] == '\0' ? pos + 1 : next;
      applyFragmentRingRule(log.newestIndex, log.records.size(), afterFragment, length, kFragmentRingDistance);
      pos = afterFragment;
      continue;
    } else {
      const std::string_view line(data + pos, static_cast<std::size_t>(lineEnd - pos));
      const void* nul = std::memchr(line.data(), '\0', line.size());
      const std::size_t textLength =
          nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()) : line.size();
      parser->parseInto(line.substr(0, textLength), log.records.emplace_back());
    }
    pos = next;
  }
  return log;
}

}  // namespace qv
