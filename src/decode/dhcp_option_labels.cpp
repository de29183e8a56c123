#include "decode/dhcp_option_labels.h"

#include <initializer_list>

#include "decode/dhcp_names.h"
#include "decode/field_text.h"

namespace qv {

namespace {

// Offset of the first data byte within an option (after code and length).
constexpr std::size_t kData = 2;

// Label texts of a one-byte value that is either 0 or 1.
struct BinaryChoice {
  std::uint8_t code;
  const char* whenZero;
  const char* whenOne;
};

constexpr BinaryChoice kBinaryChoices[] = {
    {27, " ( Some subnets of the directly connected network may have smaller MTUs )",
     " ( All subnets share the same MTU )"},
    {29, " ( The client should not perform mask discovery )", " ( The client should perform mask discovery )"},
    {30, " ( The client should not respond )", " ( The client should respond )"},
    {31, " ( The client should not perform router discovery )", " ( The client should perform router discovery )"},
    {34, " ( The client should not attempt to use trailers )", " ( The client should attempt to use trailers )"},
    {36, " ( The client should use RFC 894 encapsulation )", " ( The client should use RFC 1042 encapsulation )"},
    {39, " ( A garbage octet should not be sent )", " ( A garbage octet should be sent )"},
};

const char* nodeTypeText(std::uint8_t value) {
  switch (value) {
    case 1: return " ( B-node )";
    case 2: return " ( P-node )";
    case 4: return " ( M-node )";
    case 8: return " ( H-node )";
    default: return " ( Unknown Node Type )";
  }
}

const char* overloadText(std::uint8_t value) {
  switch (value) {
    case 1: return " ( the 'file' field is used to hold options )";
    case 2: return " ( the 'sname' field is used to hold options )";
    case 3: return " ( both 'file' & 'sname' fields are used to hold options )";
    default: return " ( Unknown Value )";
  }
}

const char* messageTypeText(std::uint8_t value) {
  switch (value) {
    case 1: return "DHCPDISCOVER";
    case 2: return "DHCPOFFER";
    case 3: return "DHCPREQUEST";
    case 4: return "DHCPDECLINE";
    case 5: return "DHCPACK";
    case 6: return "DHCPNAK";
    case 7: return "DHCPRELEASE";
    case 8: return "DHCPINFORM";
    default: return "Unknown Type";
  }
}

bool isOneOf(std::uint8_t code, std::initializer_list<std::uint8_t> codes) {
  for (const std::uint8_t candidate : codes) {
    if (candidate == code) return true;
  }
  return false;
}

// Codes whose data is a list of addresses, one address at least.
bool isAddressListCode(std::uint8_t code) {
  return (code >= 3 && code <= 11) || (code >= 68 && code <= 76) || isOneOf(code, {41, 42, 44, 45, 48, 49, 65});
}

// The name followed by `suffix` when the option has exactly `length` bytes.
std::string withSuffixIfLength(ByteView option, std::size_t length, const std::string& suffix) {
  const std::uint8_t code = option.u8(0);
  if (option.size() != length) return dhcpErrorLabel(code);
  return dhcpOptionName(code) + suffix;
}

unsigned long u32Value(ByteView option) { return static_cast<unsigned long>(option.u32(kData)); }

}  // namespace

std::string dhcpErrorLabel(std::uint8_t code) { return dhcpOptionName(code) + " ( Error )"; }

std::string dhcpAddressLabel(ByteView option) {
  const std::uint8_t code = option.u8(0);
  if (option.size() < 6) return dhcpErrorLabel(code);
  return dhcpOptionName(code) + " ( " + dottedQuadText(option, kData) + (option.size() > 6 ? "..." : "") + " )";
}

std::string dhcpTextLabel(ByteView option) {
  const std::uint8_t code = option.u8(0);
  if (option.size() < 3) return dhcpErrorLabel(code);
  std::string label = dhcpOptionName(code) + " ( \"";
  for (std::size_t i = kData; i < option.size() && option.u8(i) != 0; ++i)
    label.push_back(static_cast<char>(option.u8(i)));
  label += "\" )";
  return label;
}

std::string dhcpOptionLabel(ByteView option) {
  const std::uint8_t code = option.u8(0);
  const std::uint8_t byteValue = option.u8(kData);
  const std::uint16_t shortValue = option.u16(kData);

  if (code == 0) {
    // A run of Pad bytes can be longer than a 16-bit count only in frames
    // no capture holds; the count is shown whole rather than wrapped.
    return dhcpOptionName(0) + formatText(" ( %zu Octets )", option.size());
  }
  if (isOneOf(code, {1, 16, 28, 32, 50, 54})) {
    return option.size() == 6 ? dhcpAddressLabel(option) : dhcpErrorLabel(code);
  }
  if (isAddressListCode(code)) return dhcpAddressLabel(option);
  if (isOneOf(code, {12, 14, 15, 17, 18, 40, 56, 60, 64, 66, 67})) return dhcpTextLabel(option);

  switch (code) {
    case 2:
      if (option.size() != 6) return dhcpErrorLabel(code);
      return formatText("2 : Time Offset ( %ld )", static_cast<long>(static_cast<std::int32_t>(option.u32(kData))));
    case 13: return withSuffixIfLength(option, 4, formatText(" ( %hu = size in 512 byte blocks )", shortValue));
    case 22:
    case 26: return withSuffixIfLength(option, 4, formatText(" ( %hu )", shortValue));
    case 57: return withSuffixIfLength(option, 4, formatText(" ( %hu Octets )", shortValue));
    case 23:
    case 37: return withSuffixIfLength(option, 3, formatText(" ( %hu )", static_cast<unsigned short>(byteValue)));
    case 24:
    case 35:
    case 38:
    case 58:
    case 59: return withSuffixIfLength(option, 6, formatText(" ( %lu sec. )", u32Value(option)));
    case 51:
      return withSuffixIfLength(option, 6,
                                formatText(" ( %lu sec. = %lu hr. )", u32Value(option), u32Value(option) / 60 / 60));
    case 19:
    case 20: return withSuffixIfLength(option, 3, byteValue != 0 ? " ( Enable )" : " ( Disable )");
    case 116: return withSuffixIfLength(option, 3, byteValue != 0 ? " ( AutoConfigure )" : " ( DoNotAutoConfigure )");
    case 46: return withSuffixIfLength(option, 3, nodeTypeText(byteValue));
    case 52: return withSuffixIfLength(option, 3, overloadText(byteValue));
    case 53: return withSuffixIfLength(option, 3, std::string(" ( ") + messageTypeText(byteValue) + " )");
    case 61:
      // The first data byte is the hardware type of the identifier.
      if (option.size() > 2) return dhcpOptionName(code) + std::string(hardwareTypeName(byteValue));
      return dhcpOptionName(code);
    default: break;
  }
  for (const BinaryChoice& choice : kBinaryChoices) {
    if (choice.code != code) continue;
    const char* const text = byteValue == 0 ? choice.whenZero : byteValue == 1 ? choice.whenOne : " ( Error )";
    return withSuffixIfLength(option, 3, text);
  }
  return dhcpOptionName(code);
}

}  // namespace qv
