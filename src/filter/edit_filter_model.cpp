#include "filter/edit_filter_model.h"

#include <string>

namespace qv {

namespace {

constexpr std::string_view kAnyPortText = "All";

std::string portText(bool anyPort, std::uint16_t port) {
  return anyPort ? std::string(kAnyPortText) : std::to_string(port);
}

}  // namespace

EditFilterFields editFilterFieldsFromEntry(const FilterEntry& entry) {
  using namespace RecordFlag;
  EditFilterFields fields;
  fields.applicationName = entry.applicationName.str();
  fields.ruleName = entry.ruleName.str();
  fields.remoteAddress = entry.remoteIp.str();
  fields.localAddress = entry.localIp.str();
  fields.remotePort = portText(entry.matchesAnyRemotePort(), entry.remotePort);
  fields.localPort = portText(entry.matchesAnyLocalPort(), entry.localPort);

  const std::uint8_t action = entry.flags & kActionMask;
  fields.action = action == kActionMask       ? ActionChoice::kBoth
                  : (action & kAllowed) != 0  ? ActionChoice::kAllow
                                              : ActionChoice::kBlock;
  const std::uint8_t direction = entry.flags & kDirectionMask;
  fields.direction = direction == kIncoming   ? DirectionChoice::kIn
                     : direction == kOutgoing ? DirectionChoice::kOut
                                              : DirectionChoice::kBoth;
  const std::uint8_t protocol = entry.flags & kProtocolMask;
  fields.protocol = protocol == kProtocolMask ? ProtocolChoice::kAll
                    : (protocol & kIcmp) != 0 ? ProtocolChoice::kIcmp
                    : (protocol & kUdp) != 0  ? ProtocolChoice::kUdp
                                              : ProtocolChoice::kTcp;
  return fields;
}

std::optional<std::uint16_t> parseFilterPortText(std::string_view text) noexcept {
  if (text == kAnyPortText) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
    if (value > 65535) return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

bool isValidFilterPortText(std::string_view text) noexcept {
  return text == kAnyPortText || parseFilterPortText(text).has_value();
}

std::optional<std::string_view> checkEditFilterFields(const EditFilterFields& fields) noexcept {
  if (!isValidFilterAddress(fields.remoteAddress) || !isValidFilterAddress(fields.localAddress)) {
    return kEditFilterAddressError;
  }
  if (!isValidFilterPortText(fields.remotePort) || !isValidFilterPortText(fields.localPort)) {
    return kEditFilterPortError;
  }
  return std::nullopt;
}

FilterEntry buildFilterEntry(const EditFilterFields& fields) {
  using namespace RecordFlag;
  FilterEntry entry;
  entry.applicationName = Text(fields.applicationName);
  entry.ruleName = Text(fields.ruleName);
  entry.remoteIp = Text(fields.remoteAddress);
  entry.localIp = Text(fields.localAddress);

  std::string marker;
  if (fields.remotePort == kAnyPortText) {
    marker += FilterWildcard::kAnyRemotePort;
  } else {
    entry.remotePort = parseFilterPortText(fields.remotePort).value_or(0);
  }
  if (fields.localPort == kAnyPortText) {
    marker += FilterWildcard::kAnyLocalPort;
  } else {
    entry.localPort = parseFilterPortText(fields.localPort).value_or(0);
  }
  entry.setPortMarker(Text(marker));

  std::uint8_t flags = 0;
  switch (fields.action) {
    case ActionChoice::kAllow: flags |= kAllowed; break;
    case ActionChoice::kBlock: flags |= kBlocked; break;
    case ActionChoice::kBoth: flags |= kActionMask; break;
  }
  switch (fields.direction) {
    case DirectionChoice::kIn: flags |= kIncoming; break;
    case DirectionChoice::kOut: flags |= kOutgoing; break;
    case DirectionChoice::kBoth: flags |= kDirectionMask; break;
  }
  switch (fields.protocol) {
    case ProtocolChoice::kTcp: flags |= kTcp; break;
    case ProtocolChoice::kUdp: flags |= kUdp; break;
    case ProtocolChoice::kIcmp: flags |= kIcmp; break;
    case ProtocolChoice::kAll: flags |= kProtocolMask; break;
  }
  entry.flags = flags;
  return entry;
}

}  // namespace qv
