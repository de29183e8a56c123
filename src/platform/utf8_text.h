#pragma once

#include <string_view>

namespace qv::platform {

// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). File names the desktop must accept and whois
// answers to show are both checked with it.
bool isValidUtf8(std::string_view bytes);

}  // namespace qv::platform
