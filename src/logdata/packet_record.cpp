#include "logdata/packet_record.h"

namespace qv {

PacketRecordLayout PacketRecord::layout() const noexcept {
  if (!buffer) return {};
  const std::string_view data = buffer->parsedBytes();
  if (recordStart >= data.size()) return {};
  return layoutPacketRecord(data, recordStart);
}

PacketRecord::Part PacketRecord::frame() const noexcept {
  if (!buffer) return {};
  const PacketRecordLayout parts = layout();
  return {bytesWithin(buffer->parsedBytes(), parts.packetOffset, parts.packetLength), parts.packetLength};
}

PacketRecord::Part PacketRecord::ownBytes() const noexcept {
  if (!buffer) return {};
  const std::uint32_t statedLength = layout().recordLength;
  return {bytesWithin(buffer->parsedBytes(), recordStart, statedLength), statedLength};
}

}  // namespace qv
