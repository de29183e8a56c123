#include "platform/config_location.h"
#include "settings/file_settings_store.h"
#include "settings/main_window_settings.h"
#include "settings/settings_store.h"
#include "temporary_home.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qv::settings {
namespace {

using namespace std::string_literals;
using test::readFileBytes;
using test::writeFileBytes;

TEST(FileSettingsStore, ValuesWrittenByOneStoreAreReadByAnother) {
  test::TemporaryFolder folder;
  const std::string path = folder.file("Orvane/Quorvex Log Viewer.conf");
  {
    auto writer = makeFileSettingsStore(path);
    auto key = writer->createForWriting();
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->writeText("AppStr", "C:\\Program Files\\Web, Browser\\b\xc3\xa4r.exe"));
    ASSERT_TRUE(key->writeText("RuleStr", "caf\xe9"));  // not UTF-8: kept as raw bytes
    ASSERT_TRUE(key->writeText("TimeStr", "@24"));
    ASSERT_TRUE(key->writeNumber("CheckBox", 0x7F));
    ASSERT_TRUE(key->writeBinary("ColumnWidth", std::vector<std::uint8_t>{0, 1, 0xFF, '\n', ')', '\\'}));
  }
  const auto key = makeFileSettingsStore(path)->openForReading();
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->readText("AppStr"), "C:\\Program Files\\Web, Browser\\b\xc3\xa4r.exe");
  EXPECT_EQ(key->readText("RuleStr"), "caf\xe9");
  EXPECT_EQ(key->readText("TimeStr"), "@24");
  EXPECT_EQ(key->value("CheckBox"), (StoredValue{ValueType::kNumber32, {0x7F, 0, 0, 0}}));
  EXPECT_EQ(key->readBinary("ColumnWidth", 6), (std::vector<std::uint8_t>{0, 1, 0xFF, '\n', ')', '\\'}));
  // The file is the readable typed layout another running viewer parses.
  const std::string content = readFileBytes(path);
  EXPECT_NE(content.find("[Number]\nCheckBox=127\n"), std::string::npos) << content;
  EXPECT_EQ(content.find("CheckBox", content.find("CheckBox") + 1), std::string::npos) << content;
}

TEST(FileSettingsStore, ReadsAFileAsAnotherProcessLeavesIt) {
  test::TemporaryFolder folder;
  const std::string path = folder.file("settings.conf");
  writeFileBytes(path,
                 "[Text]\nTimeStr=12\nRIPStr=10.0.0.1\nAppStr=a, b\n"
                 "[Number]\nCheckBox=96\nFontSize=-12\nColorBk=notanumber\nWindowMax=4294967296\n"
                 "[Binary]\nWindowSize=@ByteArray(\\x1\\0\\0\\0\\x2)\nColumnOrder=plain text\n");
  const auto key = makeFileSettingsStore(path)->openForReading();
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->readText("TimeStr"), "12");
  EXPECT_EQ(key->readText("AppStr"), "a, b");
  EXPECT_EQ(key->readNumber("CheckBox"), 96U);
  EXPECT_EQ(key->readNumber("FontSize"), 0xFFFFFFF4U);
  EXPECT_EQ(key->readNumber("ColorBk"), std::nullopt);
  EXPECT_EQ(key->readNumber("WindowMax"), std::nullopt);
  EXPECT_EQ(key->readBinary("WindowSize", 8), (std::vector<std::uint8_t>{1, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(key->value("ColumnOrder"), std::nullopt);
}

TEST(FileSettingsStore, FirstRunHasNoKeyAndTheFirstWriterCreatesFolderAndFile) {
  test::TemporaryFolder folder;
  const std::string path = folder.file("deeper/Orvane/Quorvex Log Viewer.conf");
  auto store = makeFileSettingsStore(path);
  EXPECT_EQ(store->openForReading(), nullptr);
  EXPECT_EQ(readMainWindowSettings(*store), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_NE(store->createForWriting(), nullptr);
  EXPECT_TRUE(std::filesystem::is_regular_file(path));
  EXPECT_NE(store->openForReading(), nullptr);
}

TEST(FileSettingsStore, ADamagedFileGivesDefaultsAndTheNextWriteReplacesIt) {
  test::TemporaryFolder folder;
  const std::string path = folder.file("settings.conf");
  const std::string damage = "[Number]\nCheckBox=12\nColorBk=12x\n[Text\n\x01\xff\xfe=3\nRIPStr=\"open\n\0\0\x80garbage"s;
  writeFileBytes(path, damage);
  auto store = makeFileSettingsStore(path);
  {
    const auto key = store->openForReading();
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->readNumber("CheckBox"), 12U);  // the sound part still counts
    EXPECT_EQ(key->readNumber("ColorBk"), std::nullopt);
  }
  {
    auto key = store->createForWriting();
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->writeNumber("WindowMax", 1));
    ASSERT_TRUE(key->close());
  }
  EXPECT_EQ(readFileBytes(path + ".damaged"), damage);
  // The replacement keeps what could be read, and only that.
  const std::string replaced = readFileBytes(path);
  EXPECT_EQ(replaced.rfind("[Number]\nCheckBox=12\nWindowMax=1\n", 0), 0U) << replaced;
  EXPECT_EQ(replaced.find("ColorBk"), std::string::npos) << replaced;
  EXPECT_EQ(replaced.find('\0'), std::string::npos) << replaced;
  const auto key = store->openForReading();
  EXPECT_EQ(key->readNumber("WindowMax"), 1U);
}

TEST(FileSettingsStore, RandomBytesNeverStopTheStore) {
  test::TemporaryFolder folder;
  const std::string path = folder.file("settings.conf");
  std::string noise;
  std::uint32_t state = 12345;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1103515245U + 12345U;
    noise += static_cast<char>(state >> 24);
  }
  writeFileBytes(path, noise);
  auto store = makeFileSettingsStore(path);
  ASSERT_NE(store->openForReading(), nullptr);
  {
    auto key = store->createForWriting();
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->writeText("TimeStr", "5"));
    ASSERT_TRUE(key->close());
  }
  EXPECT_EQ(store->openForReading()->readText("TimeStr"), "5");
  EXPECT_EQ(readFileBytes(path).find('\0'), std::string::npos);
}

TEST(FileSettingsStore, ACreatedKeyThatCannotBeWrittenGivesNoWriter) {
  test::TemporaryFolder folder;
  writeFileBytes(folder.file("blocker"), "a file where the folder should be");
  auto blocked = makeFileSettingsStore(folder.file("blocker/settings.conf"));
  EXPECT_EQ(blocked->createForWriting(), nullptr);
  EXPECT_EQ(blocked->openForReading(), nullptr);
  std::filesystem::create_directory(folder.file("folder.conf"));
  auto folderInTheWay = makeFileSettingsStore(folder.file("folder.conf"));
  EXPECT_EQ(folderInTheWay->createForWriting(), nullptr);
  EXPECT_EQ(folderInTheWay->openForReading(), nullptr);
}

TEST(FileSettingsStore, TwoWritersMergeValueByValue) {
  test::TemporaryFolder folder;
  const std::string path = folder.file("settings.conf");
  auto first = makeFileSettingsStore(path)->createForWriting();
  auto second = makeFileSettingsStore(path)->createForWriting();
  ASSERT_TRUE(first->writeNumber("CheckBox", 1));
  ASSERT_TRUE(first->writeNumber("ColorBk", 1));
  ASSERT_TRUE(second->writeNumber("ColorBk", 2));
  ASSERT_TRUE(second->writeNumber("ColorTxt", 2));
  ASSERT_TRUE(first->close());
  ASSERT_TRUE(second->close());  // the last writer wins
  EXPECT_FALSE(first->writeNumber("WindowMax", 1));  // closed
  const auto key = makeFileSettingsStore(path)->openForReading();
  EXPECT_EQ(key->readNumber("CheckBox"), 1U);
  EXPECT_EQ(key->readNumber("ColorBk"), 2U);
  EXPECT_EQ(key->readNumber("ColorTxt"), 2U);
  EXPECT_EQ(key->readNumber("WindowMax"), std::nullopt);
}

TEST(ConfigLocation, SettingsFileAndFilterListShareTheStandardSettingsFolder) {
  // The process runs with XDG_CONFIG_HOME in a scratch folder (temporary_home.cpp).
  const QString standard =
      QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvane"),
                QStringLiteral("Quorvex Log Viewer"))
          .fileName();
  EXPECT_EQ(platform::settingsFilePath(), standard.toStdString());
  EXPECT_EQ(platform::settingsFolder(),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/Orvane");
  EXPECT_EQ(platform::filterListPath(), platform::settingsFolder() + "/filter.lst");
  const std::string configHome = platform::userConfigHome();
  {
    test::ConfigHomeOverride relative("relative/config");
    EXPECT_EQ(platform::userConfigHome(), std::string(std::getenv("HOME")) + "/.config");
  }
  EXPECT_EQ(platform::userConfigHome(), configHome);
}

}  // namespace
}  // namespace qv::settings
