#include "filter/criteria_validation.h"

#include <cstddef>
#include <string_view>

#include "logdata/number_text.h"

namespace qv {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string invalidLetter(std::string_view prefix, char letter) {
  std::string message(prefix);
  message += "Invalid Letter \"";
  message += letter;
  message += '"';
  return message;
}

std::optional<std::string> validateTime(std::string_view field) {
  // One pass: the first offending character decides, whether it is a
  // second '-' or a letter.
  std::size_t dashes = 0;
  std::size_t dashAt = std::string_view::npos;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (isDigit(c)) continue;
    if (c == '-') {
      if (++dashes > 1) return "Invalid Data : Time : Multiple '-'";
      dashAt = i;
      continue;
    }
    if (c == '!' && i == 0) continue;
    return invalidLetter("Invalid Data : Time : ", c);
  }
  const bool negated = field.front() == '!';
  const std::size_t numberLimit = negated ? 5 : 4;
  if (dashAt == std::string_view::npos) {
    if (field.size() > numberLimit) return "Invalid Data : Time : Number";
  } else if (field.size() - dashAt - 1 > 4 || dashAt > numberLimit) {
    return "Invalid Data : Time : Number";
  }
  return std::nullopt;
}

std::optional<std::string> validateIp(std::string_view field, std::string_view side) {
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (isDigit(c) || c == '.' || (c == '!' && i == 0)) continue;
    return invalidLetter(std::string("Invalid Data : ").append(side).append(" IP : "), c);
  }
  return std::nullopt;
}

std::optional<std::string> validatePort(std::string_view field, std::string_view side) {
  // The side word and "Port" are joined without a blank in these messages.
  const std::string prefix = std::string("Invalid Data : ").append(side).append("Port : ");
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (isDigit(c) || c == '-' || (c == '!' && i == 0)) continue;
    return invalidLetter(prefix, c);
  }
  const std::size_t dashAt = field.find('-');
  if (dashAt == std::string_view::npos) return std::nullopt;
  if (field.find('-', dashAt + 1) != std::string_view::npos) return prefix + "Multiple '-'";
  const bool negated = field.front() == '!';
  if (field.size() - dashAt - 1 > 5 || dashAt > (negated ? 6u : 5u)) return prefix + "Number";
  std::string_view lowPart = field.substr(0, dashAt);
  if (negated) lowPart.remove_prefix(1);
  const std::string_view highPart = field.substr(dashAt + 1);
  const std::string low = padPort(lowPart.empty() ? "00000" : lowPart);
  const std::string high = padPort(highPart.empty() ? "65535" : highPart);
  if (high > "65535") return prefix + "Max > 65535";
  if (high < low) return prefix + "Max < Min";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> validateCriteria(const FilterCriteria& criteria) {
  if (!criteria.time.empty()) {
    if (auto message = validateTime(criteria.time)) return message;
  }
  if (!criteria.remoteIp.empty()) {
    if (auto message = validateIp(criteria.remoteIp, "Remote")) return message;
  }
  if (!criteria.localIp.empty()) {
    if (auto message = validateIp(criteria.localIp, "Local")) return message;
  }
  if (!criteria.remotePort.empty()) {
    if (auto message = validatePort(criteria.remotePort, "Remote")) return message;
  }
  if (!criteria.localPort.empty()) {
    if (auto message = validatePort(criteria.localPort, "Local")) return message;
  }
  return std::nullopt;
}

}  // namespace qv
