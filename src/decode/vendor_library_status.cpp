#include "decode/vendor_library_status.h"

#include "platform/dynamic_library.h"

namespace qv {

VendorLibraryStatus vendorLibraryStatus(const std::string& path) {
  VendorLibraryStatus status;
  status.path = path;
  const platform::DynamicLibrary library(path);
  if (!library.isLoaded()) {
    status.kind = VendorLibraryStatus::Kind::kNotFound;
  } else if (library.findSymbol("GetVendorFromMAC") == nullptr) {
    status.kind = VendorLibraryStatus::Kind::kNoExport;
  } else {
    status.kind = VendorLibraryStatus::Kind::kLoaded;
  }
  return status;
}

std::string vendorLibraryStatusText(const VendorLibraryStatus& status) {
  switch (status.kind) {
    case VendorLibraryStatus::Kind::kLoaded: return "Vendor library loaded from " + status.path;
    case VendorLibraryStatus::Kind::kNoExport:
      return "Vendor library " + status.path + " has no GetVendorFromMAC; vendor names are left out";
    case VendorLibraryStatus::Kind::kNotFound: break;
  }
  return "Vendor library not found at " + status.path + "; vendor names are left out";
}

}  // namespace qv
