// The Windows paths of the platform layer against a real (Wine) registry and
// file system: the settings key of the current user, the machine's Run key,
// the firewall's App Paths entry, run-time loading of vendtab.dll, system
// error texts and the atomic replace of a file.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "decode/vendor_lookup.h"
#include "logdata/log_fixtures.h"
#include "platform/atomic_file.h"
#include "platform/autostart.h"
#include "platform/dynamic_library.h"
#include "platform/firewall_location.h"
#include "platform/program_location.h"
#include "platform/system_error.h"
#include "settings/registry_settings_store.h"
#include "vendtab/vendtab.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using settings::StoredValue;
using settings::ValueType;

std::vector<std::uint8_t> bytesOf(std::string_view text, bool terminated) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  if (terminated) bytes.push_back(0);
  return bytes;
}

// Removes a registry key of the test's, with its values, when the test ends.
class RegistryKeyCleanup {
 public:
  RegistryKeyCleanup(HKEY root, std::string path) : root_(root), path_(std::move(path)) { RegDeleteTreeA(root_, path_.c_str()); }
  ~RegistryKeyCleanup() { RegDeleteTreeA(root_, path_.c_str()); }
  RegistryKeyCleanup(const RegistryKeyCleanup&) = delete;
  RegistryKeyCleanup& operator=(const RegistryKeyCleanup&) = delete;

 private:
  HKEY root_;
  std::string path_;
};

TEST(RegistrySettingsStore, ValuesOfEveryTypeRoundTripThroughTheUsersKey) {
  const RegistryKeyCleanup cleanup(HKEY_CURRENT_USER, std::string(settings::kSettingsKeyName));
  const auto store = settings::makeRegistrySettingsStore();
  EXPECT_EQ(store->openForReading(), nullptr) << "no key before the first write";

  const StoredValue text{ValueType::kText, bytesOf("C:\\Program Files\\Firewall\\tralog.log", true)};
  const StoredValue number{ValueType::kNumber32, {0x78, 0x56, 0x34, 0x12}};
  const StoredValue binary{ValueType::kBinary, {0x00, 0xFF, 0x0D, 0x0A, 0x00}};
  const StoredValue empty{ValueType::kBinary, {}};
  {
    const auto key = store->createForWriting();
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->setValue("Traffic Log", text));
    EXPECT_TRUE(key->setValue("Columns", number));
    EXPECT_TRUE(key->setValue("Placement", binary));
    EXPECT_TRUE(key->setValue("Empty", empty));
    EXPECT_FALSE(key->setValue("Short", StoredValue{ValueType::kNumber32, {1, 2}}));
    EXPECT_TRUE(key->close());
  }
  const auto key = store->openForReading();
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->value("Traffic Log"), text);
  EXPECT_EQ(key->value("Columns"), number);
  EXPECT_EQ(key->value("Placement"), binary);
  EXPECT_EQ(key->value("Empty"), empty);
  EXPECT_EQ(key->value("Short"), std::nullopt);
  EXPECT_EQ(key->value("Never Written"), std::nullopt);

  // The key read through the registry itself holds the documented types.
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, std::string(settings::kSettingsKeyName).c_str(), "Columns", RRF_RT_ANY,
                         &type, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 0x12345678u);

  const auto writable = store->createForWriting();
  EXPECT_TRUE(writable->deleteValue("Columns"));
  EXPECT_TRUE(writable->deleteValue("Columns")) << "deleting a missing value is no failure";
  EXPECT_EQ(store->openForReading()->value("Columns"), std::nullopt);
}

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string runValue() {
  char buffer[2048] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kRunKey, "Quorvex Log Viewer", RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return "<missing>";
  }
  return buffer;
}

TEST(StartupEntry, IsWrittenReadBackAndRemovedUnderTheMachinesRunKey) {
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(created);

  const std::string spaced = "C:\\Program Files\\Quorvex\\qvlogview.exe";
  ASSERT_TRUE(platform::writeStartupEntry(spaced));
  EXPECT_EQ(runValue(), "\"" + spaced + "\" -minimize");
  EXPECT_EQ(platform::readStartupEntry(), (std::vector<std::string>{spaced, "-minimize"}));

  const std::string plain = "D:\\Tools\\qvlogview.exe";
  ASSERT_TRUE(platform::writeStartupEntry(plain));
  EXPECT_EQ(runValue(), plain + " -minimize");
  EXPECT_EQ(platform::readStartupEntry(), (std::vector<std::string>{plain, "-minimize"}));

  // The entry names the running program when switched on through the option.
  ASSERT_TRUE(platform::updateStartupEntry(true));
  EXPECT_EQ(platform::readStartupEntry().value_or(std::vector<std::string>{}).front(), platform::programPath());

  EXPECT_TRUE(platform::removeStartupEntry());
  EXPECT_EQ(runValue(), "<missing>");
  EXPECT_EQ(platform::readStartupEntry(), std::nullopt);
  EXPECT_TRUE(platform::removeStartupEntry()) << "removing a missing entry is no failure";
}

TEST(FirewallLocation, ComesFromTheAppPathsEntry) {
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Smc.exe";
  const RegistryKeyCleanup cleanup(HKEY_LOCAL_MACHINE, key);
  EXPECT_EQ(platform::firewallProgramPath(), "");

  const std::string path = "C:\\Program Files\\Firewall\\Smc.exe";
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, path.c_str(),
                            static_cast<DWORD>(path.size() + 1)),
            ERROR_SUCCESS);
  EXPECT_EQ(platform::firewallProgramPath(), path);

  // Stored without its terminator: the text still ends where the data does.
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, path.c_str(),
                            static_cast<DWORD>(path.size())),
            ERROR_SUCCESS);
  EXPECT_EQ(platform::firewallProgramPath(), path);
}

TEST(VendorLibrary, LoadsFromBesideTheProgram) {
  const std::string path = vendorLibraryPath();
  EXPECT_EQ(path, platform::programFolder() + "\\vendtab.dll");
  ASSERT_TRUE(fs::exists(path)) << path;

  const platform::DynamicLibrary library(path);
  ASSERT_TRUE(library.isLoaded());
  const auto getVendor =
      reinterpret_cast<vendtab::GetVendorFromMacFunction>(library.findSymbol(vendtab::kExportName));
  ASSERT_NE(getVendor, nullptr);
  EXPECT_STREQ(getVendor(0x1000000), "Reserved / Unknown");
  EXPECT_EQ(library.findSymbol("GetVendorFromMac"), nullptr) << "names are looked up exactly";

  // The caller's lookup goes through the same file.
  EXPECT_EQ(lookupVendor("00-00-0C"), getVendor(0x00000C));
  EXPECT_NE(lookupVendor("00-00-0C"), "Reserved / Unknown");
  EXPECT_EQ(lookupVendorWithLibrary("00-00-0C", platform::programFolder() + "\\missing.dll"), "");
}

TEST(SystemErrorText, IsTheSystemsTextOnOneLine) {
  const std::string text = platform::systemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  EXPECT_NE(text.back(), ' ');
  EXPECT_NE(platform::systemErrorText(ERROR_ACCESS_DENIED), text);

  // A number the system has no text for still says which one it was.
  EXPECT_EQ(platform::systemErrorText(0x2345678), "Error 36984440");

  SetLastError(ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(platform::lastSystemErrorText(), platform::systemErrorText(ERROR_PATH_NOT_FOUND));
}

TEST(AtomicReplace, ReplacesTheFileWhole) {
  test::TemporaryFolder folder("replace");
  const std::string path = folder.file("filter.lst");
  test::writeFileBytes(path, "old\r\n");
  ASSERT_TRUE(platform::writeFileAtomically(path, "new\r\ncontent\r\n").ok());
  EXPECT_EQ(test::readFileBytes(path), "new\r\ncontent\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

  // A path with forward slashes names the same file.
  std::string forward = path;
  std::replace(forward.begin(), forward.end(), '\\', '/');
  ASSERT_TRUE(platform::writeFileAtomically(forward, "again").ok());
  EXPECT_EQ(test::readFileBytes(path), "again");
}

TEST(AtomicReplace, ATargetHeldOpenWithoutSharingKeepsItsOldContent) {
  test::TemporaryFolder folder("replace");
  const std::string path = folder.file("settings.conf");
  test::writeFileBytes(path, "old content");
  // Another program holds the file open and lets nobody delete or rename it.
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const platform::FileWriteResult result = platform::writeFileAtomically(path, "new content");
  CloseHandle(holder);

  EXPECT_FALSE(result.ok());
  EXPECT_FALSE(result.errorText().empty());
  EXPECT_EQ(test::readFileBytes(path), "old content");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
      << "the temporary file is removed";
}

TEST(AtomicReplace, RefusesAFolderAndAMissingFolder) {
  test::TemporaryFolder folder("replace");
  EXPECT_FALSE(platform::writeFileAtomically(folder.path().string(), "x").ok());
  EXPECT_FALSE(platform::writeFileAtomically(folder.file("missing\\filter.lst"), "x").ok());
  EXPECT_TRUE(fs::is_directory(folder.path()));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 0);
}

}  // namespace
}  // namespace qv
