#include "logdata/packet_record.h"

namespace qv {

PacketRecordLayout PacketRecord::layout() const noexcept {
  if (!buffer) return {};
  const std::string_view data = buffer->parsedBytes();
  if (recordStart >= data.size()) return {};
  return layoutPacketRecord(data, recordStart);
}

PacketRecord::Frame PacketRecord::frame() const noexcept {
  if (!buffer) return {};
  const PacketRecordLayout parts = layout();
  return {bytesWithin(buffer->parsedBytes(), parts.packetOffset, parts.packetLength), parts.packetLength};
}

std::span<const std::uint8_t> PacketRecord::recordBytes() const noexcept {
  if (!buffer) return {};
  return bytesWithin(buffer->parsedBytes(), recordStart, layout().recordLength);
}

}  // namespace qv
