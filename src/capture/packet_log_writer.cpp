#include "capture/packet_log_writer.h"


#include "capture/capture_time.h"
#include "logdata/number_text.h"

namespace qv {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The stored form of an address: its first octet is the least significant byte.
void appendStoredAddress(std::string& out, const Ipv4Address& address) {
  for (std::size_t i = address.size(); i-- > 0;) {
    out.push_back(kHexDigits[address[i] >> 4]);
    out.push_back(kHexDigits[address[i] & 0xF]);
  }
}

void appendName(std::string& out, std::string_view name) {
  for (char c : name) out.push_back(c == '\t' ? ' ' : c);
}

std::uint32_t directionCode(PacketDirection direction) noexcept {
  switch (direction) {
    case PacketDirection::kIncoming:
      return 1;
    case PacketDirection::kOutgoing:
      return 2;
    case PacketDirection::kUnknown:
      break;
  }
  return 0;
}

// A filler line as long as the reader's blind spot at the end of a file.
constexpr std::string_view kTrailer =
    "                                                                "
    "                                                                \r\n";
static_assert(kTrailer.size() == 130);

}  // namespace

std::uint64_t packetLogRecordLength(const PacketLogEntry& entry) noexcept {
  return kPacketRecordFixedBytes + entry.nameAddress.size() + entry.applicationName.size() + entry.frame.size() +
         kPacketRecordTrailingBytes;
}

void appendPacketLogRecord(std::string& out, const PacketLogEntry& entry) {
  const std::uint64_t length = packetLogRecordLength(entry);
  out.reserve(out.size() + length);
  appendHex8(out, static_cast<std::uint32_t>(length));
  out.push_back('\t');
  appendTimeValueDigits(out, entry.timeValue);
  out += "\t00000000\t";
  appendStoredAddress(out, entry.localAddress);
  out.push_back('\t');
  appendStoredAddress(out, entry.remoteAddress);
  out.push_back('\t');
  appendHex8(out, entry.localPort);
  out.push_back('\t');
  appendHex8(out, entry.remotePort);
  out.push_back('\t');
  appendHex8(out, static_cast<std::uint32_t>(entry.frame.size()));
  out.push_back('\t');
  appendHex8(out, directionCode(entry.direction));
  out.push_back('\t');
  appendHex8(out, entry.action == PacketAction::kBlocked ? 1U : 0U);
  out += "\t00000000\t";
  appendName(out, entry.nameAddress);
  out.push_back('\t');
  appendName(out, entry.applicationName);
  out.push_back('\t');
  out.append(reinterpret_cast<const char*>(entry.frame.data()), entry.frame.size());
  out += "\r\n";
}

std::string_view packetLogTrailer() noexcept { return kTrailer; }

}  // namespace qv
