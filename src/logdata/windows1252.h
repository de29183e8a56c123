#pragma once

#include <string>
#include <string_view>

namespace qv {

// Appends log bytes (Windows-1252, the firewall's code page) as UTF-8. The
// five bytes that code page leaves undefined keep their Latin-1 meaning, as
// the viewer shows them, so no byte is lost.
void appendWindows1252AsUtf8(std::string& out, std::string_view bytes);
std::string windows1252ToUtf8(std::string_view bytes);

}  // namespace qv
