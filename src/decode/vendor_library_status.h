#pragma once

#include <string>

namespace qv {

// Whether the vendor library can serve lookups, for the About box.
struct VendorLibraryStatus {
  enum class Kind { kLoaded, kNotFound, kNoExport };
  Kind kind = Kind::kNotFound;
  std::string path;  // where the program looks for it (bytes of the file system)
};

// Loads the library at path once to see whether lookups would work.
VendorLibraryStatus vendorLibraryStatus(const std::string& path);

// One line for the user: where the library was loaded from, or why vendor
// names are left out.
std::string vendorLibraryStatusText(const VendorLibraryStatus& status);

}  // namespace qv
