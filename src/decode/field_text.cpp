#include "decode/field_text.h"

#include <cstdarg>
#include <cstdio>

namespace qv {

std::string formatText(const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  const int needed = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (needed < 0) return {};
  if (static_cast<std::size_t>(needed) < sizeof small) return std::string(small, static_cast<std::size_t>(needed));
  std::string text(static_cast<std::size_t>(needed) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  text.resize(static_cast<std::size_t>(needed));
  return text;
}

std::string dottedQuadText(ByteView bytes, std::size_t offset) {
  return formatText("%u.%u.%u.%u", bytes.u8(offset), bytes.u8(offset + 1), bytes.u8(offset + 2),
                    bytes.u8(offset + 3));
}

std::string hexPairsText(ByteView bytes, std::size_t offset, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    if (i != 0) text.push_back('-');
    const std::uint8_t value = bytes.u8(offset + i);
    text.push_back(kDigits[value >> 4]);
    text.push_back(kDigits[value & 0x0F]);
  }
  return text;
}

}  // namespace qv
