#include "logdata/packet_log_reader.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <span>
#include <string_view>
#include <utility>

#include "logdata/number_text.h"
#include "logdata/packet_record_layout.h"
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
void readFrame(PacketRecord& record, std::span<const std::uint8_t> bytes) {
  const Frame frame(bytes);
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
  explicit RecordParser(const SharedReadBuffer& buffer) : buffer_(buffer), data_(buffer->parsedBytes()) {}

  // Parses the record at pos (inside the data) and tells where its parts lie.
  PacketRecord parse(ByteOffset pos, PacketRecordLayout& layout) {
    layout = layoutPacketRecord(data_, pos);
    PacketRecord record;
    record.buffer = buffer_;
    record.recordStart = pos;
    if (layout.fixedStart == 0) return record;

    const FixedFields fields(layout.text, layout.fixedStart);
    record.time = RecordTime::ofValueWithMilliseconds(timeValueOfDigits(fields.field(PacketField::kTime, 16)));
    readEndpointFields(fields, record);
    record.flags |= directionFlag(fields.character(PacketField::kDirectionChar));
    record.flags |= actionFlag(fields.character(PacketField::kActionChar));
    record.nameAddress = names_.get(layout.nameAddress);
    record.applicationName = names_.get(layout.applicationName);
    readFrame(record, bytesWithin(data_, layout.packetOffset, layout.packetLength));
    return record;
  }

 private:
  const SharedReadBuffer& buffer_;
  std::string_view data_;
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

  auto parser = std::make_unique<RecordParser>(buffer);
  PacketRecordLayout layout;
  ByteOffset pos = header.firstLine;
  while (startsBeforeMargin(pos, length, kRecordStartMargin)) {
    if (bytes[pos] != '0') {
      pos = afterFragment(bytes.data(), pos, length);
      applyFragmentRingRule(log.newestIndex, log.records.size(), pos, length, kFragmentRingDistance);
      continue;
    }
    log.records.push_back(parser->parse(pos, layout));
    pos = layout.next();
  }
  return log;
}

PacketRecord parsePacketRecord(const SharedReadBuffer& buffer, std::uint64_t start) {
  if (!buffer || start >= buffer->parsedBytes().size()) throw std::out_of_range("no packet record starts there");
  PacketRecordLayout layout;
  return RecordParser(buffer).parse(start, layout);
}

}  // namespace qv
