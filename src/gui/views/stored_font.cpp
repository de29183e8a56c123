#include "gui/views/stored_font.h"

#include <cstdlib>

#include "gui/views/ansi_text.h"

namespace qv::gui {

QFont fontFromDescription(const settings::FontDescription& description, const QFont& base) {
  QFont font = base;
  if (!description.faceName.empty()) font.setFamily(decodeAnsi(description.faceName));
  const int height = std::abs(description.height);
  if (height > 0) font.setPixelSize(height);
  font.setBold(description.weight >= settings::kFontWeightBold);
  font.setItalic(description.italic != 0);
  font.setUnderline(description.underline != 0);
  font.setStrikeOut(description.strikeOut != 0);
  return font;
}

settings::FontDescription descriptionOfFont(const QFont& font, int pixelHeight) {
  settings::FontDescription description;
  description.height = -pixelHeight;
  description.weight = font.bold() ? settings::kFontWeightBold : settings::kFontWeightNormal;
  description.italic = font.italic() ? 1 : 0;
  description.underline = font.underline() ? 1 : 0;
  description.strikeOut = font.strikeOut() ? 1 : 0;
  description.faceName = encodeAnsi(font.family()).substr(0, settings::kFaceNameBytes - 1);
  return description;
}

}  // namespace qv::gui
