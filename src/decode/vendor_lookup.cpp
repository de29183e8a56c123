#include "decode/vendor_lookup.h"

#include "logdata/number_text.h"
#include "platform/dynamic_library.h"
#include "platform/program_location.h"
#include "vendtab/vendtab.h"

namespace qv {

std::uint32_t ouiKeyFromText(std::string_view ouiText) noexcept {
  // Characters 1-2, 4-5 and 7-8 read as one hex number, as "0x" + those six
  // would convert: the first character that is not a hex digit (or the end
  // of a shorter text) ends the number.
  constexpr std::size_t kDigitPositions[] = {0, 1, 3, 4, 6, 7};
  std::uint32_t key = 0;
  for (const std::size_t position : kDigitPositions) {
    if (position >= ouiText.size()) break;
    const int digit = hexDigitValue(ouiText[position]);
    if (digit < 0) break;
    key = key * 16 + static_cast<std::uint32_t>(digit);
  }
  return key;
}

std::string vendorLibraryPath() {
#ifdef _WIN32
  constexpr char kSeparator = '\\';
#else
  constexpr char kSeparator = '/';
#endif
  return platform::programFolder() + kSeparator + platform::kVendorLibraryFileName;
}

std::string lookupVendor(std::string_view ouiText) { return lookupVendorWithLibrary(ouiText, vendorLibraryPath()); }

std::string lookupVendorWithLibrary(std::string_view ouiText, const std::string& libraryPath) {
  // Loaded for this one lookup only, so that the library may be missing,
  // replaced or removed while the program runs.
  const platform::DynamicLibrary library(libraryPath);
  const auto getVendor = reinterpret_cast<vendtab::GetVendorFromMacFunction>(library.findSymbol(vendtab::kExportName));
  if (getVendor == nullptr) return {};
  const char* const vendor = getVendor(ouiKeyFromText(ouiText));
  // Copied before the library (and the text with it) goes away.
  return vendor != nullptr ? std::string(vendor) : std::string();
}

}  // namespace qv
