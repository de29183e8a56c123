#include <gtest/gtest.h>

#include "decode/vendor_library_status.h"

namespace qv {
namespace {

TEST(VendorLibraryStatus, TellsLoadedMissingAndWithoutExportApart) {
  const VendorLibraryStatus loaded = vendorLibraryStatus(QV_VENDTAB_PATH);
  EXPECT_EQ(loaded.kind, VendorLibraryStatus::Kind::kLoaded);
  EXPECT_EQ(vendorLibraryStatusText(loaded), std::string("Vendor library loaded from ") + QV_VENDTAB_PATH);

  const VendorLibraryStatus without = vendorLibraryStatus(QV_WITHOUT_EXPORT_PATH);
  EXPECT_EQ(without.kind, VendorLibraryStatus::Kind::kNoExport);

  const VendorLibraryStatus missing = vendorLibraryStatus("/nonexistent/libvendtab.so");
  EXPECT_EQ(missing.kind, VendorLibraryStatus::Kind::kNotFound);
  EXPECT_EQ(vendorLibraryStatusText(missing),
            "Vendor library not found at /nonexistent/libvendtab.so; vendor names are left out");
}

}  // namespace
}  // namespace qv
