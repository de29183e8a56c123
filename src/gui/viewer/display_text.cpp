#include "gui/viewer/display_text.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace qv::gui {

namespace {

// The code page's character for each byte.
const std::array<QChar, 256>& codePage() {
  static const std::array<QChar, 256> table = [] {
    std::array<QChar, 256> characters{};
    QStringDecoder decoder("Windows-1252", QStringConverter::Flag::Stateless);
    for (int byte = 0; byte < 256; ++byte) {
      characters[byte] = QChar(static_cast<char16_t>(byte));
      if (!decoder.isValid()) continue;
      const char single = static_cast<char>(byte);
      const QString decoded = decoder.decode(QByteArrayView(&single, 1));
      if (decoded.size() == 1 && decoded.front() != QChar::ReplacementCharacter) characters[byte] = decoded.front();
    }
    return characters;
  }();
  return table;
}

}  // namespace

QString textOfBytes(std::string_view bytes) {
  const std::array<QChar, 256>& table = codePage();
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : bytes) *out++ = table[static_cast<unsigned char>(byte)];
  return text;
}

std::string bytesOfText(const QString& text) {
  static const QHash<char16_t, char> reverse = [] {
    QHash<char16_t, char> map;
    const std::array<QChar, 256>& table = codePage();
    for (int byte = 0; byte < 256; ++byte) map.insert(table[byte].unicode(), static_cast<char>(byte));
    return map;
  }();
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar character : text) bytes.push_back(reverse.value(character.unicode(), '?'));
  return bytes;
}

}  // namespace qv::gui
