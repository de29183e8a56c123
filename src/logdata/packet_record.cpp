#include "logdata/packet_record.h"

namespace qv {
namespace {

// At most `length` bytes from `offset`, cut short where the file ends.
std::span<const std::uint8_t> clampedSpan(const SharedReadBuffer& buffer, std::uint64_t offset,
                                          std::uint64_t length) noexcept {
  if (!buffer || offset >= buffer->fileLength) return {};
  const std::uint64_t available = buffer->fileLength - offset;
  const std::uint64_t size = length < available ? length : available;
  return {reinterpret_cast<const std::uint8_t*>(buffer->bytes.data()) + offset, static_cast<std::size_t>(size)};
}

}  // namespace

PacketRecordLayout PacketRecord::layout() const noexcept {
  if (!buffer) return {};
  const std::string_view data = buffer->parsedBytes();
  if (recordStart >= data.size()) return {};
  return layoutPacketRecord(data, recordStart);
}

PacketRecord::Frame PacketRecord::frame() const noexcept {
  const PacketRecordLayout parts = layout();
  return {clampedSpan(buffer, parts.packetOffset, parts.packetLength), parts.packetLength};
}

std::span<const std::uint8_t> PacketRecord::recordBytes() const noexcept {
  return clampedSpan(buffer, recordStart, layout().recordLength);
}

}  // namespace qv
