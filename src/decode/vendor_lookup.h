#pragma once

#include <string>
#include <string_view>

namespace qv {

// The name of the organisation holding the OUI "xx-xx-xx" (three hex pairs
// joined by dashes), from the vendor library loaded for this one call; an
// empty text when the library or its export is missing or the OUI is unknown.
std::string lookupVendor(std::string_view ouiText);

}  // namespace qv
