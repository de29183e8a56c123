#include "decode/vendor_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/dynamic_library.h"
#include "support/run_program.h"

namespace qv {
namespace {

TEST(VendorLookup, ReadsTheThreeHexPairsWhateverSeparatesThem) {
  EXPECT_EQ(ouiKeyFromText("00-a0-c9"), 0x00A0C9u);
  EXPECT_EQ(ouiKeyFromText("00:A0:C9"), 0x00A0C9u);
  EXPECT_EQ(ouiKeyFromText("ff-ff-ff"), 0xFFFFFFu);
  // The number ends at the first character that is not a hex digit.
  EXPECT_EQ(ouiKeyFromText("zz-00-0c"), 0u);
  EXPECT_EQ(ouiKeyFromText("0c-g0-00"), 0x0Cu);
  EXPECT_EQ(ouiKeyFromText("08-00"), 0x0800u);
  EXPECT_EQ(ouiKeyFromText(""), 0u);
}

TEST(VendorLookup, NamesTheVendorThroughTheLibraryBesideTheProgram) {
  // The tests run from the folder the build puts the library in.
  ASSERT_TRUE(std::filesystem::exists(vendorLibraryPath())) << vendorLibraryPath();
  EXPECT_EQ(lookupVendor("00-a0-c9"), "INTEL CORPORATION - HF1-06");
  EXPECT_EQ(lookupVendor("01-00-5e"), "Reserved / Internet Multicast");
  EXPECT_EQ(lookupVendor("52-54-00"), "Reserved / Unknown");
  // Text that is no OUI converts to key 0.
  EXPECT_EQ(lookupVendor("xx-xx-xx"), "XEROX CORPORATION");
  // Loaded and unloaded per call: many lookups in a row keep working.
  for (int i = 0; i < 200; ++i) ASSERT_EQ(lookupVendor("08-00-20"), "SUN MICROSYSTEMS INC.");
}

TEST(VendorLookup, GivesAnEmptyTextWithoutTheLibraryOrItsExport) {
  EXPECT_EQ(lookupVendorWithLibrary("00-00-0c", QV_VENDTAB_PATH), "CISCO SYSTEMS, INC.");
  const std::string missing = (std::filesystem::path(testing::TempDir()) / "no-such-folder" / "libvendtab.so").string();
  EXPECT_EQ(lookupVendorWithLibrary("00-00-0c", missing), "");
  EXPECT_EQ(lookupVendorWithLibrary("00-00-0c", QV_WITHOUT_EXPORT_PATH), "");
  EXPECT_EQ(lookupVendorWithLibrary("00-00-0c", ""), "");
}

TEST(DynamicLibrary, FindsExportsOnlyWhileLoadedAndMovesOwnership) {
  platform::DynamicLibrary library(QV_VENDTAB_PATH);
  ASSERT_TRUE(library.isLoaded());
  EXPECT_NE(library.findSymbol("GetVendorFromMAC"), nullptr);
  // The table and the helpers stay hidden.
  EXPECT_EQ(library.findSymbol("kOuiEntries"), nullptr);
  EXPECT_EQ(library.findSymbol("_ZN2qv7vendtab11kOuiEntriesE"), nullptr);
  platform::DynamicLibrary moved(std::move(library));
  EXPECT_FALSE(library.isLoaded());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
  EXPECT_EQ(library.findSymbol("GetVendorFromMAC"), nullptr);
  EXPECT_NE(moved.findSymbol("GetVendorFromMAC"), nullptr);
  EXPECT_FALSE(platform::DynamicLibrary("/nonexistent/libnothing.so").isLoaded());
}

class VendorCommand : public ::testing::Test {
 protected:
  // A folder holding a copy of qvlog and, when given, a library under the vendor library's name.
  std::string programIn(const std::string& name, const char* library) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(QVLOG_PATH, folder / "qvlog");
    if (library != nullptr) std::filesystem::copy_file(library, folder / platform::kVendorLibraryFileName);
    folders_.push_back(folder);
    return (folder / "qvlog").string();
  }
  void TearDown() override {
    for (const auto& folder : folders_) std::filesystem::remove_all(folder);
  }
  std::vector<std::filesystem::path> folders_;
};

TEST_F(VendorCommand, PrintsTheVendorText) {
  test::ProgramResult result = test::runQvlog({"vendor", "00-A0-C9"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "INTEL CORPORATION - HF1-06\n");
  EXPECT_EQ(result.err, "");
  result = test::runQvlog({"vendor", "00-0b-61"});
  EXPECT_EQ(result.out, "Friedrich L\xFCtze GmbH &Co.\n");
  result = test::runQvlog({"vendor", "00-16-3E"});
  EXPECT_EQ(result.out, "Reserved / Unknown\n");
}

TEST_F(VendorCommand, RejectsWhatIsNotAnOui) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"vendor"},
                                             {"vendor", "00-A0-C"},
                                             {"vendor", "00-A0-C9-"},
                                             {"vendor", "00:A0:C9"},
                                             {"vendor", "0G-A0-C9"},
                                             {"vendor", "00-A0-C9", "00-00-0C"}}) {
    const test::ProgramResult result = test::runQvlog(args);
    EXPECT_EQ(result.exitCode, 2) << args.size();
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("XX-XX-XX"), std::string::npos);
  }
}

TEST_F(VendorCommand, PrintsAnEmptyLineWithoutTheLibraryOrItsExport) {
  for (const char* library : {static_cast<const char*>(nullptr), QV_WITHOUT_EXPORT_PATH}) {
    const std::string program = programIn(library ? "qvlog-without-export" : "qvlog-alone", library);
    const test::ProgramResult result = test::runProgram(program, {"vendor", "00-00-0C"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "\n");
  }
  // With the library beside the copy, names come back.
  const std::string program = programIn("qvlog-with-library", QV_VENDTAB_PATH);
  EXPECT_EQ(test::runProgram(program, {"vendor", "00-00-0C"}).out, "CISCO SYSTEMS, INC.\n");
}

}  // namespace
}  // namespace qv
