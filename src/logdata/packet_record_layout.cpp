#include "logdata/packet_record_layout.h"

#include <cstring>

#include "logdata/number_text.h"
#include "logdata/record_fields.h"

namespace qv {
namespace {

// The text from `start` up to the first CR or NUL, or to the data's end.
std::string_view textAt(std::string_view data, ByteOffset start) noexcept {
  const char* const first = data.data() + start;
  const std::size_t available = static_cast<std::size_t>(data.size() - start);
  std::size_t size = 0;
  // Eight bytes at a time while they lie inside the data: a word holds a NUL
  // or a CR when one of its bytes, or of it XOR CRs, is zero.
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  while (size + 8 <= available) {
    std::uint64_t word;
    std::memcpy(&word, first + size, sizeof word);
    const std::uint64_t crs = word ^ (kOnes * '\r');
    if (((word - kOnes) & ~word & kHighBits) | ((crs - kOnes) & ~crs & kHighBits)) break;
    size += 8;
  }
  while (size < available && first[size] != '\r' && first[size] != '\0') ++size;
  return {first, size};
}

}  // namespace

PacketRecordLayout layoutPacketRecord(std::string_view data, ByteOffset start) noexcept {
  PacketRecordLayout layout;
  const std::string_view text = textAt(data, start);
  layout.text = text;
  const std::size_t firstTab = text.find('\t');
  layout.recordLength = hexValue(text.substr(0, firstTab));
  layout.packetOffset = start + text.size();
  if (firstTab == std::string_view::npos) return layout;

  const std::size_t t = firstTab + 1;
  layout.fixedStart = t;
  layout.packetLength = hexValue(FixedFields(text, t).field(PacketField::kPacketLength, 8));
  if (t + PacketField::kNames <= text.size()) {
    const std::size_t nameStart = t + PacketField::kNames;
    const std::size_t nameEnd = text.find('\t', nameStart);
    layout.nameAddress = text.substr(nameStart, nameEnd - nameStart);
    if (nameEnd != std::string_view::npos) {
      const std::size_t appStart = nameEnd + 1;
      const std::size_t appEnd = text.find('\t', appStart);
      layout.applicationName = text.substr(appStart, appEnd - appStart);
      if (appEnd != std::string_view::npos) layout.packetOffset = start + appEnd + 1;
    }
  }
  return layout;
}

std::span<const std::uint8_t> bytesWithin(std::string_view data, std::uint64_t offset, std::uint64_t length) noexcept {
  if (offset >= data.size()) return {};
  const std::uint64_t available = data.size() - offset;
  const std::uint64_t size = length < available ? length : available;
  return {reinterpret_cast<const std::uint8_t*>(data.data()) + offset, static_cast<std::size_t>(size)};
}

std::string packetRecordTextOfFrame(std::span<const std::uint8_t> frame, std::uint32_t statedFrameLength) {
  std::string fixed = "\t0000000000000000\t";  // the TAB after the length, the time
  for (int field = 0; field < 5; ++field) fixed += "00000000\t";  // addresses, ports
  appendHex8(fixed, statedFrameLength);
  fixed += "\t00000000\t00000000\t00000000\t\t\t";  // direction, action, names
  std::string text;
  appendHex8(text, static_cast<std::uint32_t>(8 + fixed.size() + frame.size() + 2));
  text += fixed;
  text.append(reinterpret_cast<const char*>(frame.data()), frame.size());
  return text;
}

}  // namespace qv
