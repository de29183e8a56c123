#include "filter/quick_filter.h"

#include <charconv>
#include <cstdint>

#include "logdata/number_text.h"
#include "logdata/text.h"

namespace qv {
namespace {

bool textLess(std::string_view a, std::string_view b) noexcept { return Text::compareBytes(a, b) < 0; }

}  // namespace

QuickFilter::TextCondition QuickFilter::textCondition(std::string_view field, std::string_view negation) {
  TextCondition condition;
  condition.active = !field.empty();
  condition.negated = field.starts_with(negation);
  condition.text = condition.negated ? field.substr(negation.size()) : field;
  return condition;
}

// The rule compares texts: a single number against the port written without
// leading zeros (so "080" matches nothing), a range against the port padded
// to five digits. Evaluating it once per port number keeps that exact text
// behaviour and makes each record a single lookup.
QuickFilter::PortCondition QuickFilter::portCondition(std::string_view field) {
  PortCondition condition;
  if (field.empty()) return condition;
  condition.active = true;
  condition.passes.assign(65536, false);
  const bool negated = field.front() == '!';
  std::string_view body = negated ? field.substr(1) : field;
  const std::size_t dashAt = body.find('-');
  std::string low;
  std::string high;
  if (dashAt != std::string_view::npos) {
    const std::string_view lowPart = body.substr(0, dashAt);
    const std::string_view highPart = body.substr(dashAt + 1);
    low = padPort(lowPart.empty() ? "00000" : lowPart);
    high = padPort(highPart.empty() ? "65535" : highPart);
  }
  for (std::uint32_t port = 0; port <= 65535; ++port) {
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, port).ptr;
    const std::string_view decimal(digits, static_cast<std::size_t>(end - digits));
    bool inside = false;
    if (dashAt == std::string_view::npos) {
      inside = decimal == body;
    } else {
      const std::string padded = padPort(decimal);
      inside = !textLess(padded, low) && !textLess(high, padded);
    }
    condition.passes[port] = inside != negated;
  }
  return condition;
}

QuickFilter::QuickFilter(const FilterCriteria& criteria, const TimeWindow& window)
    : allow_(criteria.allow),
      block_(criteria.block),
      in_(criteria.in),
      out_(criteria.out),
      tcp_(criteria.tcp),
      udp_(criteria.udp),
      icmp_(criteria.icmp),
      allActions_(criteria.allow && criteria.block),
      allDirections_(criteria.in && criteria.out),
      allProtocols_(criteria.tcp && criteria.udp && criteria.icmp),
      timeActive_(!criteria.time.empty()),
      timeNegated_(criteria.time.starts_with('!')),
      remoteIp_(textCondition(criteria.remoteIp, "!")),
      localIp_(textCondition(criteria.localIp, "!")),
      remotePort_(portCondition(criteria.remotePort)),
      localPort_(portCondition(criteria.localPort)),
      applicationName_(textCondition(criteria.applicationName, "!/")),
      ruleName_(textCondition(criteria.ruleName, "!/")) {
  if (timeActive_) window_ = window;
}

bool QuickFilter::passesCheckBoxes(std::uint8_t flags) const noexcept {
  if (!allActions_) {
    if ((flags & RecordFlag::kAllowed) && !allow_) return false;
    if ((flags & RecordFlag::kBlocked) && !block_) return false;
  }
  if (!allDirections_) {
    if ((flags & RecordFlag::kIncoming) && !in_) return false;
    if ((flags & RecordFlag::kOutgoing) && !out_) return false;
  }
  return true;
}

bool QuickFilter::passesTime(std::string_view time) const noexcept {
  const bool hasFrom = !window_.from.empty();
  const bool hasTo = !window_.to.empty();
  if (!timeNegated_) {
    if (hasFrom && textLess(time, window_.from)) return false;
    if (hasTo && textLess(window_.to, time)) return false;
    return true;
  }
  if (hasFrom && hasTo) return !(textLess(window_.from, time) && textLess(time, window_.to));
  if (hasFrom && textLess(window_.from, time)) return false;
  if (hasTo && textLess(time, window_.to)) return false;
  return true;
}

namespace {

// Calls `test` with a field's text: record texts as they are, times and
// addresses made for the test (an address on the stack, without the heap).
template <class Test>
bool testFieldText(const Text& text, Test test) {
  return test(text.view());
}
template <class Test>
bool testFieldText(const RecordTime& time, Test test) {
  const Text text = time.text();
  return test(text.view());
}
template <class Test>
bool testFieldText(const RecordAddress& address, Test test) {
  if (!address.holdsNumber()) {
    const Text text = address.text();
    return test(text.view());
  }
  char digits[16];
  std::size_t size = 0;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned octet = (address.number() >> shift) & 0xFFu;
    if (shift != 24) digits[size++] = '.';
    if (octet >= 100) digits[size++] = static_cast<char>('0' + octet / 100);
    if (octet >= 10) digits[size++] = static_cast<char>('0' + octet / 10 % 10);
    digits[size++] = static_cast<char>('0' + octet % 10);
  }
  return test(std::string_view(digits, size));
}

}  // namespace

template <class Record>
bool QuickFilter::passesCommonFields(const Record& record) const {
  if (timeActive_ && !testFieldText(record.time, [this](std::string_view time) { return passesTime(time); })) {
    return false;
  }
  const auto prefixTest = [](const TextCondition& condition) {
    return [&condition](std::string_view address) { return address.starts_with(condition.text) != condition.negated; };
  };
  if (remoteIp_.active && !testFieldText(record.remoteIp, prefixTest(remoteIp_))) return false;
  if (localIp_.active && !testFieldText(record.localIp, prefixTest(localIp_))) return false;
  if (remotePort_.active && !remotePort_.passes[record.remotePort]) return false;
  if (localPort_.active && !localPort_.passes[record.localPort]) return false;
  if (applicationName_.active &&
      (record.applicationName.view().find(applicationName_.text) != std::string_view::npos) ==
          applicationName_.negated) {
    return false;
  }
  return true;
}

bool QuickFilter::passes(const TrafficRecord& record) const noexcept {
  if (!passesCheckBoxes(record.flags)) return false;
  if (!allProtocols_) {
    if ((record.flags & RecordFlag::kTcp) && !tcp_) return false;
    if ((record.flags & RecordFlag::kUdp) && !udp_) return false;
    if ((record.flags & RecordFlag::kIcmp) && !icmp_) return false;
  }
  if (!passesCommonFields(record)) return false;
  if (ruleName_.active &&
      (record.ruleName.view().find(ruleName_.text) != std::string_view::npos) == ruleName_.negated) {
    return false;
  }
  return true;
}

bool QuickFilter::passes(const PacketRecord& record) const noexcept {
  if (!passesCheckBoxes(record.flags)) return false;
  if (!allProtocols_) {
    if (!tcp_ && record.protocol == "TCP") return false;
    if (!udp_ && record.protocol == "UDP") return false;
    if (!icmp_ && record.protocol == "ICMP") return false;
  }
  return passesCommonFields(record);
}

}  // namespace qv
