#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

struct PacketRecord;

// The name of an IP protocol number as assigned in 2004: 1-135 named,
// 255 "Reserved = Error", every other number "Unknown Protocol".
std::string_view ipProtocolName(unsigned protocolNumber);

// The protocol name of an EtherType other than IPv4 (whose name comes from
// the IP header); empty for the types that have none.
std::string_view etherTypeProtocolName(std::uint16_t etherType);

// The protocol name of a packet record, as two bytes instead of a view: 0
// for none, 1 to 256 for an IP protocol number + 1, above that an EtherType
// that has a name (all of them lie above 256). Reads like a string_view.
class PacketProtocol {
 public:
  PacketProtocol() noexcept = default;
  // The protocol that a table names so (records made by hand); the empty
  // text is none. Throws std::invalid_argument for a name no table has.
  PacketProtocol(std::string_view name);  // NOLINT: implicit on purpose, as the texts records held
  PacketProtocol(const char* name) : PacketProtocol(std::string_view(name)) {}
  static PacketProtocol ofIpProtocol(std::uint8_t protocolNumber) noexcept {
    return PacketProtocol(static_cast<std::uint16_t>(protocolNumber + 1));
  }
  // None when the type has no name.
  static PacketProtocol ofEtherType(std::uint16_t etherType) noexcept {
    return etherTypeProtocolName(etherType).empty() ? PacketProtocol() : PacketProtocol(etherType);
  }

  std::string_view view() const noexcept {
    if (code_ == 0) return {};
    return code_ <= 256 ? ipProtocolName(code_ - 1u) : etherTypeProtocolName(code_);
  }
  operator std::string_view() const noexcept { return view(); }  // NOLINT: reads like the name it stands for
  bool empty() const noexcept { return code_ == 0; }

  friend bool operator==(PacketProtocol a, PacketProtocol b) noexcept { return a.view() == b.view(); }
  friend bool operator==(PacketProtocol a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(PacketProtocol a, const char* b) noexcept { return a.view() == std::string_view(b); }

 private:
  explicit PacketProtocol(std::uint16_t code) noexcept : code_(code) {}
  std::uint16_t code_ = 0;
};

// Six characters, one per TCP flag from URG to FIN: the flag's letter when it
// is set, 'x' when not ("xAxxSx" for SYN+ACK).
std::string tcpFlagsText(std::uint8_t tcpFlags);
std::string tcpFlagsText(const PacketRecord& record);

}  // namespace qv
