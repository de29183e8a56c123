#include "logdata/packet_log_reader.h"

#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "logdata/number_text.h"
#include "logdata/protocol_names.h"
#include "logdata/record_fields.h"
#include "logdata/text_cache.h"
#include "logdata/record_time.h"
#include "platform/large_pages.h"

namespace qv {
namespace {

constexpr ByteOffset kRecordStartMargin = 130;      // records closer to the end are not read
constexpr ByteOffset kFragmentRingDistance = 1700;  // fragments closer to the end do not mark the ring
constexpr std::size_t kShortestRecord = 160;        // bounds the reservation made from the header's count

constexpr std::uint16_t kEtherTypeIpv4 = 0x0800;
constexpr unsigned kIpProtocolIcmp = 1;
constexpr unsigned kIpProtocolTcp = 6;

// Field offsets from t, the position after the first TAB of a record (the
// addresses and ports are in EndpointField).
namespace Field {
constexpr std::size_t kTime = 0;
constexpr std::size_t kPacketLength = 62;
constexpr std::size_t kDirectionChar = 78;
constexpr std::size_t kActionChar = 87;
constexpr std::size_t kNames = 98;
}  // namespace Field

// The bytes of a captured frame that the data really holds.
class Frame {
 public:
  explicit Frame(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::size_t size() const { return bytes_.size(); }
  std::optional<std::uint8_t> byte(std::size_t index) const {
    return index < bytes_.size() ? std::optional<std::uint8_t>(bytes_[index]) : std::nullopt;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Names the protocol from the frame's EtherType and, for IPv4, takes the ICMP
// type and code or the TCP flags from it.
void readFrame(PacketRecord& record) {
  const Frame frame(record.packetBytes());
  const auto typeHigh = frame.byte(12);
  const auto typeLow = frame.byte(13);
  if (!typeHigh || !typeLow) return;
  const auto etherType = static_cast<std::uint16_t>(*typeHigh << 8 | *typeLow);
  if (etherType != kEtherTypeIpv4) {
    record.protocol = PacketProtocol::ofEtherType(etherType);
    return;
  }
  const auto protocolNumber = frame.byte(23);
  if (!protocolNumber) return;
  record.protocol = PacketProtocol::ofIpProtocol(*protocolNumber);
  // The IPv4 header length in bytes when the version is 4; byte 14 is there
  // whenever byte 23 is.
  const std::size_t h = static_cast<std::size_t>(*frame.byte(14) * 4 % 256);
  if (*protocolNumber == kIpProtocolIcmp && frame.size() > h + 15) {
    record.localPort = *frame.byte(14 + h);   // ICMP type
    record.remotePort = *frame.byte(15 + h);  // ICMP code
  } else if (*protocolNumber == kIpProtocolTcp && frame.size() > h + 27) {
    record.tcpFlags = *frame.byte(27 + h);
  }
}

class RecordParser {
 public:
  explicit RecordParser(const SharedReadBuffer& buffer, ByteOffset length)
      : buffer_(buffer), data_(buffer->bytes.data()), length_(length) {}

  // Parses the record at pos; returns it with packetOffset and packetLength set.
  PacketRecord parse(ByteOffset pos) {
    PacketRecord record;
    record.buffer = buffer_;
    record.recordStart = pos;

    // The record's text part ends at its first CR or NUL; the packet bytes
    // follow the TAB after the application name, inside that text.
    const std::string_view text = textAt(pos);
    const std::size_t firstTab = text.find('\t');
    record.recordLength = hexValue(text.substr(0, firstTab));
    record.packetOffset = pos + text.size();
    if (firstTab == std::string_view::npos) return record;

    const std::size_t t = firstTab + 1;
    const FixedFields fields(text, t);

    record.time = RecordTime::ofValueWithMilliseconds(timeValueOfDigits(fields.field(Field::kTime, 16)));
    readEndpointFields(fields, record);
    record.packetLength = hexValue(fields.field(Field::kPacketLength, 8));
    record.flags |= directionFlag(fields.character(Field::kDirectionChar));
    record.flags |= actionFlag(fields.character(Field::kActionChar));

    if (t + Field::kNames <= text.size()) {
      std::string_view rest = text.substr(t + Field::kNames);
      const std::size_t nameEnd = rest.find('\t');
      record.nameAddress = names_.get(rest.substr(0, nameEnd));
      if (nameEnd != std::string_view::npos) {
        const std::size_t appStart = t + Field::kNames + nameEnd + 1;
        const std::size_t appEnd = text.find('\t', appStart);
        record.applicationName = names_.get(text.substr(appStart, appEnd - appStart));
        if (appEnd != std::string_view::npos) record.packetOffset = pos + appEnd + 1;
      }
    }
    readFrame(record);
    return record;
  }

 private:
  std::string_view textAt(ByteOffset pos) const {
    const char* const start = data_ + pos;
    const std::size_t available = static_cast<std::size_t>(length_ - pos);
    std::size_t size = 0;
    // Eight bytes at a time while they lie inside the data: a word holds a
    // NUL or a CR when one of its bytes, or of it XOR CRs, is zero.
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (size + 8 <= available) {
      std::uint64_t word;
      std::memcpy(&word, start + size, sizeof word);
      const std::uint64_t crs = word ^ (kOnes * '\r');
      if (((word - kOnes) & ~word & kHighBits) | ((crs - kOnes) & ~crs & kHighBits)) break;
      size += 8;
    }
    while (size < available && start[size] != '\r' && start[size] != '\0') ++size;
    return {start, size};
  }

  const SharedReadBuffer& buffer_;
  const char* data_;
  ByteOffset length_;
  NameTextCache names_;
};

// Just past a fragment line: past its first CR and the byte after it, or past
// the NUL that comes first (the read buffer's own final NUL at the latest).
ByteOffset afterFragment(const char* data, ByteOffset pos, ByteOffset length) {
  for (; pos < length; ++pos) {
    if (data[pos] == '\r') return pos + 2;
    if (data[pos] == '\0') return pos + 1;
  }
  return length + 1;
}

}  // namespace

PacketLog parsePacketLog(SharedReadBuffer buffer) {
  PacketLog log;
  if (!buffer || buffer->fileLength == 0 || buffer->bytes.empty()) return log;
  // The file's bytes; the NUL that follows them is implied.
  const ByteOffset length =
      buffer->fileLength < buffer->bytes.size() ? buffer->fileLength : buffer->bytes.size() - 1;
  const std::string_view bytes(buffer->bytes.data(), static_cast<std::size_t>(length));
  const LogHeader header = readLogHeader(bytes, kPacketLogTag);
  log.status = header.status;
  if (header.status != LogParseStatus::kOk) return log;
  log.newestIndex = header.newestIndex;

  platform::reserveOnLargePages(log.records, recordReservation(header, length, kShortestRecord));

  auto parser = std::make_unique<RecordParser>(buffer, length);
  ByteOffset pos = header.firstLine;
  while (startsBeforeMargin(pos, length, kRecordStartMargin)) {
    if (bytes[pos] != '0') {
      pos = afterFragment(bytes.data(), pos, length);
      applyFragmentRingRule(log.newestIndex, log.records.size(), pos, length, kFragmentRingDistance);
      continue;
    }
    PacketRecord record = parser->parse(pos);
    // 64-bit: a stored length near 4 GiB cannot wrap the position back.
    pos = record.packetOffset + record.packetLength + 2;
    log.records.push_back(std::move(record));
  }
  return log;
}

}  // namespace qv
