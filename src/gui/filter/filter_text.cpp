#include "gui/filter/filter_text.h"

#include <array>

namespace qv::gui {

namespace {

// 0x80-0x9F of code page 1252; the five unassigned bytes keep their own value.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t characterOf(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
}

}  // namespace

QString decodeFilterText(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char byte : bytes) text.append(QChar(characterOf(static_cast<unsigned char>(byte))));
  return text;
}

std::string encodeFilterText(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar character : text) {
    const char16_t unit = character.unicode();
    char byte = '?';
    for (unsigned value = 0; value < 256; ++value) {
      if (characterOf(static_cast<unsigned char>(value)) == unit) {
        byte = static_cast<char>(value);
        break;
      }
    }
    bytes.push_back(byte);
  }
  return bytes;
}

}  // namespace qv::gui
