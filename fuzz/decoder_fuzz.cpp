// Feeds arbitrary frames through the packet decoder. Input layout: byte 0
// picks the record's protocol name, byte 1 is its TCP flag byte, byte 2
// picks the record's ports (TFTP or not); the rest is the captured frame.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "decode/decode_result.h"
#include "decode/packet_decoder.h"
#include "logdata/packet_record.h"
#include "logdata/read_buffer.h"

namespace {

constexpr std::string_view kProtocols[] = {"TCP", "UDP", "ICMP", "IGMP", "ARP", "RARP", "", "IPv6"};

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::span<const std::uint8_t> frame(data + 3, size - 3);
  auto statedLength = static_cast<std::uint32_t>(frame.size());
  // Now and then the stored length claims more than the file holds.
  if (data[2] & 0x80) statedLength += data[2] & 0x7F;
  qv::PacketRecord record;
  record.buffer = qv::readBufferOf(qv::packetRecordTextOfFrame(frame, statedLength));
  record.protocol = kProtocols[data[0] % std::size(kProtocols)];
  record.tcpFlags = data[1];
  record.localPort = (data[2] & 0x01) ? 69 : 1024;
  record.remotePort = (data[2] & 0x02) ? 69 : 2048;

  // A lookup that names some OUIs exercises the vendor suffix without loading a library.
  const qv::PacketDecoder decoder([](std::string_view oui) {
    check(oui.size() == 8);
    return oui[1] == '0' ? std::string("Fuzz Vendor") : std::string();
  });
  const qv::DecodeResult result = decoder.decodePacket(record);

  const std::size_t frameSize = size - 3;
  check(!result.tree.empty());
  check(result.hexText.size() <= frameSize * 3 + frameSize / 8);
  check(result.payloadText.size() <= frameSize);
  if (!result.payloadText.empty()) check(result.payloadBase + result.payloadText.size() <= frameSize);
  result.tree.forEachInOrder([&](qv::NodeId id, unsigned depth) {
    const qv::DecodeNode& node = result.tree.node(id);
    check(depth < 16);
    // An empty byte range ends one before its start.
    check(node.span.end == qv::HexSpan::kToEnd || node.span.start <= node.span.end + 1);
  });
  return 0;
}
