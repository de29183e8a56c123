#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace qv::gui {

// Packet bytes as the viewer shows them: one character per byte in the
// system's ANSI code page (Windows-1252; Latin-1 for the bytes it leaves
// undefined), so that text positions stay byte positions.
QString textOfBytes(std::string_view bytes);

// Typed text back into bytes of that code page (characters it cannot hold
// become '?'), for the byte search.
std::string bytesOfText(const QString& text);

}  // namespace qv::gui
