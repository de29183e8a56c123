#include "settings/file_settings_store.h"
#include "settings/memory_settings_store.h"
#include "settings/settings_store.h"
#include "temporary_home.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qv::settings {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The reader rules hold on every backend the viewer can run on.
class SettingsStoreTest : public ::testing::TestWithParam<std::string> {
 protected:
  SettingsStoreTest()
      : store_(GetParam() == "file" ? makeFileSettingsStore(folder_.file("settings.conf"))
                                    : std::unique_ptr<SettingsStore>(std::make_unique<MemorySettingsStore>())) {}

  void put(std::string_view name, ValueType type, Bytes bytes) {
    ASSERT_TRUE(store_->createForWriting()->setValue(name, StoredValue{type, std::move(bytes)}));
  }

  std::unique_ptr<const SettingsKey> reader() const {
    auto key = store_->openForReading();
    EXPECT_NE(key, nullptr);
    return key;
  }

  test::TemporaryFolder folder_;
  std::unique_ptr<SettingsStore> store_;
};

TEST_P(SettingsStoreTest, KeyIsMissingUntilTheFirstWriterCreatesIt) {
  EXPECT_EQ(store_->openForReading(), nullptr);
  ASSERT_NE(store_->createForWriting(), nullptr);
  const auto key = store_->openForReading();
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->readText("TimeStr"), std::nullopt);
  EXPECT_EQ(key->readNumber("CheckBox"), std::nullopt);
}

TEST_P(SettingsStoreTest, TypedValuesRoundTripWithTheirStoredType) {
  {
    auto key = store_->createForWriting();
    ASSERT_TRUE(key->writeText("RIPStr", "192.168.0.1"));
    ASSERT_TRUE(key->writeText("AppStr", ""));
    ASSERT_TRUE(key->writeNumber("ColorBk", 0xE4DDD1));
    ASSERT_TRUE(key->writeNumber("FontSize", 0xFFFFFFF5));  // -11 as a double word
    ASSERT_TRUE(key->writeBinary("WindowSize", Bytes{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  }
  const auto key = reader();
  EXPECT_EQ(key->readText("RIPStr"), "192.168.0.1");
  EXPECT_EQ(key->readText("AppStr"), "");
  EXPECT_EQ(key->readNumber("ColorBk"), 0xE4DDD1U);
  EXPECT_EQ(key->readNumber("FontSize"), 0xFFFFFFF5U);
  EXPECT_EQ(key->value("RIPStr"), (StoredValue{ValueType::kText, Bytes{'1', '9', '2', '.', '1', '6', '8', '.', '0', '.', '1', 0}}));
  EXPECT_EQ(key->value("AppStr"), (StoredValue{ValueType::kText, Bytes{0}}));
  EXPECT_EQ(key->value("ColorBk"), (StoredValue{ValueType::kNumber32, Bytes{0xD1, 0xDD, 0xE4, 0}}));
  EXPECT_EQ(key->value("WindowSize"), (StoredValue{ValueType::kBinary, Bytes{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}}));
}

TEST_P(SettingsStoreTest, TextsReadAtMost260BytesWithTheTerminator) {
  const std::string longest(kMaxReadableTextLength, 'p');
  const std::string tooLong(kMaxReadableTextLength + 1, 'q');
  {
    auto key = store_->createForWriting();
    ASSERT_TRUE(key->writeText("tralogPath", longest));
    ASSERT_TRUE(key->writeText("rawlogPath", tooLong));
  }
  const auto key = reader();
  EXPECT_EQ(key->readText("tralogPath"), longest);
  EXPECT_EQ(key->readText("rawlogPath"), std::nullopt);
}

TEST_P(SettingsStoreTest, ReadersDoNotCheckTheStoredType) {
  put("CheckBox", ValueType::kText, Bytes{'1', '2', 0});
  put("TimeStr", ValueType::kNumber32, Bytes{'2', '4', 0, 0});
  put("RuleStr", ValueType::kBinary, Bytes{'a', 'b'});  // unterminated
  const auto key = reader();
  EXPECT_EQ(key->readNumber("CheckBox"), 0x3231U);
  EXPECT_EQ(key->readText("TimeStr"), "24");
  EXPECT_EQ(key->readText("RuleStr"), "ab");
}

TEST_P(SettingsStoreTest, LargerValuesCountAsMissingShorterOnesAreZeroFilled) {
  put("ColumnWidth", ValueType::kBinary, Bytes{7, 0, 0, 0, 9});
  put("WindowMax", ValueType::kBinary, Bytes{1, 0, 0, 0, 0});
  put("ColorTxt", ValueType::kBinary, Bytes{0x34, 0x12});
  const auto key = reader();
  EXPECT_EQ(key->readBinary("ColumnWidth", 8), (Bytes{7, 0, 0, 0, 9, 0, 0, 0}));
  EXPECT_EQ(key->readBinary("ColumnWidth", 4), std::nullopt);
  EXPECT_EQ(key->readNumber("WindowMax"), std::nullopt);
  EXPECT_EQ(key->readNumber("ColorTxt"), 0x1234U);
}

TEST_P(SettingsStoreTest, TextsEndAtTheirFirstZeroByteAndDeletedValuesAreMissing) {
  {
    auto key = store_->createForWriting();
    ASSERT_TRUE(key->writeText("LIPStr", std::string("10.0.0.1\0junk", 13)));
    ASSERT_TRUE(key->writeNumber("ClearData", 0));
    ASSERT_TRUE(key->deleteValue("ClearData"));
    ASSERT_TRUE(key->deleteValue("NeverThere"));
  }
  const auto key = reader();
  EXPECT_EQ(key->value("LIPStr")->bytes.size(), 9U);
  EXPECT_EQ(key->readText("LIPStr"), "10.0.0.1");
  EXPECT_EQ(key->readNumber("ClearData"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Backends, SettingsStoreTest, ::testing::Values("memory", "file"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace qv::settings
