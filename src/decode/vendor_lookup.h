#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The name of the organisation holding an OUI, from the vendor library
// loaded for this one call and unloaded right after. `ouiText` holds the
// three bytes in hex at characters 1-2, 4-5 and 7-8 (counting from 1; the
// decoder writes "xx-xx-xx", the separators are not read); reading stops at
// the first character that is not a hex digit. An empty text when the
// library or its GetVendorFromMAC export is missing.
std::string lookupVendor(std::string_view ouiText);

// The same with the library at `libraryPath` instead of the one beside the
// program (a separate name, so that lookupVendor stays one function to pass around).
std::string lookupVendorWithLibrary(std::string_view ouiText, const std::string& libraryPath);

// Where the program looks for the vendor library: its own folder.
std::string vendorLibraryPath();

// The OUI key of `ouiText` as lookupVendor reads it.
std::uint32_t ouiKeyFromText(std::string_view ouiText) noexcept;

}  // namespace qv
