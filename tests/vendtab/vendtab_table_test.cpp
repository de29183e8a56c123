#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

#include "logdata/log_fixtures.h"
#include "platform/dynamic_library.h"
#include "support/bundled_data.h"
#include "support/run_program.h"
#include "vendtab/vendtab.h"

namespace qv {
namespace {

constexpr std::string_view kUnknown = "Reserved / Unknown";

class VendorTable : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.isLoaded()) << QV_VENDTAB_PATH;
    getVendor_ = reinterpret_cast<vendtab::GetVendorFromMacFunction>(library_.findSymbol(vendtab::kExportName));
    ASSERT_NE(getVendor_, nullptr);
  }

  std::string_view vendor(std::uint32_t key) const { return getVendor_(key); }

  platform::DynamicLibrary library_{QV_VENDTAB_PATH};
  vendtab::GetVendorFromMacFunction getVendor_ = nullptr;
};

TEST_F(VendorTable, NamesTheTellingRows) {
  for (std::uint32_t key = 0x000000; key <= 0x000009; ++key) EXPECT_EQ(vendor(key), "XEROX CORPORATION") << key;
  EXPECT_EQ(vendor(0x0000AA), "XEROX CORPORATION");
  EXPECT_EQ(vendor(0x00000C), "CISCO SYSTEMS, INC.");
  EXPECT_EQ(vendor(0x000142), "Cisco Systems, Inc.");
  EXPECT_EQ(vendor(0x0000F8), "DIGITAL EQUIPMENT CORPORATION");
  EXPECT_EQ(vendor(0x000393), "Apple Computer, Inc.");
  EXPECT_EQ(vendor(0x00105A), "3COM CORPORATION");
  EXPECT_EQ(vendor(0x0050BA), "D-LINK");
  EXPECT_EQ(vendor(0x00A0C9), "INTEL CORPORATION - HF1-06");
  EXPECT_EQ(vendor(0x00AA00), "INTEL CORPORATION");
  EXPECT_EQ(vendor(0x00C04F), "DELL COMPUTER CORPORATION");
  EXPECT_EQ(vendor(0x00E018), "ASUSTEK COMPUTER INC.");
  EXPECT_EQ(vendor(0x080009), "HEWLETT PACKARD");
  EXPECT_EQ(vendor(0x080020), "SUN MICROSYSTEMS INC.");
  EXPECT_EQ(vendor(0x08002B), "DIGITAL EQUIPMENT CORPORATION");
  for (std::uint32_t key = 0xAA0000; key <= 0xAA0004; ++key)
    EXPECT_EQ(vendor(key), "DIGITAL EQUIPMENT CORPORATION") << key;
  EXPECT_EQ(vendor(0xACDE48), "PRIVATE");
  // The first and the last key of the listing, and the neighbours of the ends.
  EXPECT_EQ(vendor(0x0012AA), "IEE, Inc.");
  EXPECT_EQ(vendor(0x0012AB), kUnknown);
}

TEST_F(VendorTable, AddsTheTwoReservedRowsAndNamesEverythingElseUnknown) {
  EXPECT_EQ(vendor(0x01005E), "Reserved / Internet Multicast");
  EXPECT_EQ(vendor(0xFFFFFF), "Reserved");
  EXPECT_EQ(vendor(0x00163E), kUnknown);
  EXPECT_EQ(vendor(0x525400), kUnknown);
  EXPECT_EQ(vendor(0xFFFFFE), kUnknown);
  // Keys beyond 24 bits are not folded onto a 24-bit key.
  EXPECT_EQ(vendor(0x1000000), kUnknown);
  EXPECT_EQ(vendor(0x100000C), kUnknown);
  EXPECT_EQ(vendor(0xFFFFFFFF), kUnknown);
}

TEST_F(VendorTable, KeepsTheListingsBytesAndJoinedNames) {
  EXPECT_EQ(vendor(0x000B61), "Friedrich L\xFCtze GmbH &Co.");
  EXPECT_EQ(vendor(0x000DDD),
            "PROF\xDDLO TELRA ELEKTRON\xDDK SANAY\xDD VE T\xDD"
            "CARET A.\xDE.");
  EXPECT_EQ(vendor(0x0001C8), "THOMAS CONRAD CORP. / CONRAD CORP.");
  EXPECT_EQ(vendor(0x080030), "NETWORK RESEARCH CORPORATION / CERN / ROYAL MELBOURNE INST OF TECH");
}

TEST_F(VendorTable, HasTheListingsKeyAndTextCounts) {
  std::size_t keys = 0;
  std::size_t privateKeys = 0;
  std::size_t longest = 0;
  std::set<std::string_view> texts;
  for (std::uint32_t key = 0; key <= 0xFFFFFF; ++key) {
    const std::string_view text = vendor(key);
    if (text == kUnknown) continue;
    ++keys;
    if (text == "PRIVATE") ++privateKeys;
    longest = std::max(longest, text.size());
    texts.insert(text);
  }
  EXPECT_EQ(keys, 7777u);
  EXPECT_EQ(texts.size(), 7256u);
  EXPECT_EQ(privateKeys, 80u);
  EXPECT_EQ(longest, 66u);
}

TEST(VendorTableSource, IsWhatTheGeneratorMakesOfTheListing) {
  QV_REQUIRE_BUNDLED_DATA(std::filesystem::exists(QV_OUI_LISTING), "the OUI listing " << QV_OUI_LISTING);
  const std::filesystem::path generated = std::filesystem::path(testing::TempDir()) / "oui_table_regenerated.cpp";
  const test::ProgramResult result = test::runProgram(QV_OUI_TABLE_GEN_PATH, {QV_OUI_LISTING, generated.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string committed = test::readFileBytes(std::filesystem::path(QV_SOURCE_DIR) / "src/vendtab/oui_table.cpp");
  EXPECT_FALSE(committed.empty());
  EXPECT_TRUE(test::readFileBytes(generated) == committed) << "src/vendtab/oui_table.cpp is stale: build regenerate_oui_table";
  std::filesystem::remove(generated);
}

TEST(VendorTableSource, GeneratorRejectsListingsItCannotReadUnambiguously) {
  const std::filesystem::path folder = testing::TempDir();
  const std::filesystem::path output = folder / "oui_table_rejected.cpp";
  const std::string listings[] = {
      "000001\tB\n000000\tA\n",  // out of order
      "000000\tA\n000000\tB\n",  // the same key twice
      "00000G\tA\n",             // not a hex key
      "000000 A\n",              // no TAB
      "000000\tA\r\n",           // a control byte in the name
      "01005E\tMULTICAST\n",     // collides with a reserved row
      "",                        // nothing at all
  };
  for (const std::string& listing : listings) {
    const std::filesystem::path input = folder / "oui_listing_rejected.tsv";
    std::ofstream(input, std::ios::binary) << listing;
    const test::ProgramResult result = test::runProgram(QV_OUI_TABLE_GEN_PATH, {input.string(), output.string()});
    EXPECT_EQ(result.exitCode, 1) << listing;
    EXPECT_NE(result.err.find("oui_table_gen: "), std::string::npos) << listing;
    std::filesystem::remove(input);
  }
}

}  // namespace
}  // namespace qv
