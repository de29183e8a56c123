#include "gui/views/ansi_text.h"

#include <array>
#include <cstdint>

namespace qv::gui {
namespace {

// The characters of bytes 0x80 to 0x9F; the rest of the page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControlRange{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

QString decodeAnsi(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    *out++ = (byte >= 0x80 && byte < 0xA0) ? QChar(kHighControlRange[byte - 0x80]) : QChar(byte);
  }
  return text;
}

std::string encodeAnsi(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit < 0x80 || (unit >= 0xA0 && unit < 0x100)) {
      bytes.push_back(static_cast<char>(unit));
      continue;
    }
    char mapped = '?';
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
      if (kHighControlRange[i] == unit) {
        mapped = static_cast<char>(0x80 + i);
        break;
      }
    }
    bytes.push_back(mapped);
  }
  return bytes;
}

}  // namespace qv::gui
