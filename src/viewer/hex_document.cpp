#include "viewer/hex_document.h"

namespace qv {

namespace {

// Characters of a line without its CR LF.
constexpr std::size_t kLineWidth = kHexCharsPerLine - 2;
constexpr std::size_t kDocumentLineLength = kLineWidth + 1;

}  // namespace

std::string hexDocumentText(std::string_view hexText) {
  std::string text;
  text.reserve(hexText.size());
  for (std::size_t i = 0; i < hexText.size(); ++i) {
    if (hexText[i] == '\r' && i + 1 < hexText.size() && hexText[i + 1] == '\n') continue;
    text.push_back(hexText[i]);
  }
  return text;
}

std::size_t documentPositionOf(HexCharPos position, std::size_t documentLength) noexcept {
  if (position == HexSpan::kToEnd) return documentLength;
  const std::size_t line = position / kHexCharsPerLine;
  std::size_t column = position % kHexCharsPerLine;
  if (column > kLineWidth) column = kLineWidth;
  const std::size_t mapped = line * kDocumentLineLength + column;
  return mapped < documentLength ? mapped : documentLength;
}

HexCharPos hexPositionOfDocument(std::size_t position) noexcept {
  const std::size_t line = position / kDocumentLineLength;
  const std::size_t column = position % kDocumentLineLength;
  const std::size_t hexPosition = line * kHexCharsPerLine + column;
  return hexPosition < HexSpan::kToEnd ? static_cast<HexCharPos>(hexPosition) : HexSpan::kToEnd - 1;
}

}  // namespace qv
