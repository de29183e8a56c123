#pragma once

#include <QFont>

#include "settings/settings_codecs.h"

namespace qv::gui {

// The stored font record ("FontFace") and Qt's font: the height is a pixel
// height (a negative record height means the character height, as stored by
// the font dialog), the face name is bytes in the ANSI code page.
QFont fontFromDescription(const settings::FontDescription& description, const QFont& base);
settings::FontDescription descriptionOfFont(const QFont& font, int pixelHeight);

}  // namespace qv::gui
