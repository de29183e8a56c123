#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace qv::gui {

// Records hold the log's bytes in the Windows ANSI code page (1252); the
// widgets show them as Unicode. Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no
// character in that page and show as the control characters of the same value.
QString decodeAnsi(std::string_view bytes);

// The reverse, for texts a user types into a filter field: characters the
// code page cannot hold become '?', so they can never match a record.
std::string encodeAnsi(const QString& text);

}  // namespace qv::gui
