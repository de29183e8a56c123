// Feeds arbitrary bytes to both log readers. The first byte chooses whether
// the rest is taken as it is or follows a valid traffic or packet header, so
// that the record scans are reached rather than stopped at the header.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "logdata/packet_log_reader.h"
#include "logdata/ring_order.h"
#include "logdata/traffic_log_reader.h"

namespace {

std::string header(std::string_view tag, std::uint8_t newest) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(tag);
  text += "\tFFFFFFFF\t00000000\t00000010\t000000";
  text += kDigits[newest >> 4];
  text += kDigits[newest & 0xF];
  text += "\t0000000000000010\tFFFFFFFF\r\n";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string content;
  switch (mode % 3) {
    case 0: content = rest; break;
    case 1: content = header("00000002", mode) + std::string(rest); break;
    default: content = header("00000003", mode) + std::string(rest); break;
  }

  const qv::TrafficLog traffic = qv::parseTrafficLog(content);
  std::size_t visited = 0;
  qv::forEachInRingOrder(traffic.records.size(), traffic.newestIndex, [&](std::size_t index) {
    visited += traffic.records.at(index).applicationName.size();
  });

  const qv::PacketLog packets = qv::parsePacketLog(qv::readBufferOf(content));
  unsigned sum = 0;
  qv::forEachInRingOrder(packets.records.size(), packets.newestIndex, [&](std::size_t index) {
    const qv::PacketRecord& record = packets.records.at(index);
    for (const std::uint8_t byte : record.packetBytes()) sum += byte;
    for (const std::uint8_t byte : record.recordBytes()) sum += byte;
  });
  return static_cast<int>((visited + sum) & 0);
}
