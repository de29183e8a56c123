#pragma once

#include <string>
#include <string_view>

#include "platform/utf8_text.h"

namespace qv::whois {

using platform::isValidUtf8;

// An answer as UTF-8 for display: the bytes themselves when they are valid
// UTF-8, otherwise decoded as Windows-1250 (Central European, after a
// referral to LACNIC or RIPE) or Windows-1252. Bytes those code pages leave
// undefined become U+FFFD.
std::string answerDisplayText(std::string_view bytes, bool centralEuropean);

}  // namespace qv::whois
