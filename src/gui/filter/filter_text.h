#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace qv::gui {

// Filter entries hold names in the Windows ANSI code page (1252), as the log
// does. These show them as Unicode and turn what the user typed back into
// bytes; a character the code page cannot hold becomes '?'.
QString decodeFilterText(std::string_view bytes);
std::string encodeFilterText(const QString& text);

}  // namespace qv::gui
