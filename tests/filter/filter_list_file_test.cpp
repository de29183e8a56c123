#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <string>

#include "filter/edit_filter_model.h"
#include "filter/filter_entry.h"
#include "filter/filter_list.h"
#include "filter/filter_list_file.h"
#include "logdata/log_fixtures.h"
#include "support/windows_skip.h"

namespace qv {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

const std::string kHeader = "\x39\x46\x0F\x00\r\n"s;

std::string line(std::string flagsAndPorts, const std::string& texts) { return flagsAndPorts + texts + "\r\n"; }

FilterList sampleList() {
  FilterList list;
  FilterEntry portEntry = blankFilterEntry();
  portEntry.remotePort = 2573;  // bytes 0D 0A: a CR LF inside the binary part
  portEntry.localPort = 256;    // bytes 00 01
  portEntry.flags = 0x09;       // TAB as the flags byte
  portEntry.setPortMarker("");
  list.append(portEntry);
  FilterEntry texts = blankFilterEntry();
  texts.flags = 0x00;
  texts.remoteIp = "10.0.0.5";
  texts.localIp = "10..0.1";
  texts.applicationName = "C:\\Program Files\\\xE9t\xE9\\app.exe";
  texts.ruleName = "";
  texts.remotePort = 0x0A0D;
  texts.localPort = 0x0900;
  list.append(texts);
  list.append(blankFilterEntry());
  return list;
}

TEST(FilterListFile, StoreAndLoadAreByteExact) {
  const FilterList list = sampleList();
  const std::string bytes = serializeFilterList(list);
  const std::string expectedFirst = "\x09\x0D\x0A\x00\x01"s + "\tAll\tAll\tAll/App\tAll/Rule\t\r\n";
  EXPECT_EQ(bytes.substr(0, 6), kHeader);
  EXPECT_EQ(bytes.substr(6, expectedFirst.size()), expectedFirst);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

  const FilterList loaded = parseFilterList(bytes);
  EXPECT_EQ(loaded, list);
  EXPECT_EQ(serializeFilterList(loaded), bytes);
}

TEST(FilterListFile, ShortOrHeaderlessFilesLoadEmpty) {
  EXPECT_TRUE(parseFilterList("").empty());
  EXPECT_TRUE(parseFilterList(kHeader).empty());
  EXPECT_TRUE(parseFilterList(kHeader + "\xFF\0\0\0\0\t\t\r\n"s).empty());
  const std::string shortest = line("\xFF\0\0\0\0"s, "\t...\t...\t\t\t");
  EXPECT_EQ(parseFilterList(kHeader + shortest).size(), 1u);
  EXPECT_TRUE(parseFilterList((kHeader + shortest).substr(0, kHeader.size() + shortest.size() - 1)).empty());

  const std::string entry = line("\xFF\0\0\0\0"s, "RPTNLPTN\tAll\tAll\tAll/App\tAll/Rule\t");
  EXPECT_TRUE(parseFilterList("\x39\x46\x0F\x00\n\r"s + entry).empty());
  EXPECT_TRUE(parseFilterList("\x39\x46\x0F\x00\r\r"s + entry).empty());
  // The format value itself is not checked.
  EXPECT_EQ(parseFilterList("abcd\r\n"s + entry).size(), 1u);
}

TEST(FilterListFile, FirstMalformedEntryEndsTheLoadKeepingEarlierOnes) {
  const std::string good1 = line("\x7F\x50\x00\x00\x00"s, "LPTN\tAll\tAll\tAll/App\tAll/Rule\t");
  const std::string good2 = line("\x7F\x00\x00\x50\x00"s, "RPTN\t1.2.3.4\tAll\tAll/App\tAll/Rule\t");
  const std::string twoDots = line("\x7F\0\0\0\0"s, "\t10.0.0\tAll\tAll/App\tAll/Rule\t");
  const std::string badLocal = line("\x7F\0\0\0\0"s, "\tAll\t1.2.3.256\tAll/App\tAll/Rule\t");
  const std::string missingTab = line("\x7F\0\0\0\0"s, "\tAll\tAll\tAll/App\tAll/Rule");
  const std::string longApplication = line("\x7F\0\0\0\0"s, "\tAll\tAll\t" + std::string(261, 'a') + "\tAll/Rule\t");
  const std::string longRule = line("\x7F\0\0\0\0"s, "\tAll\tAll\tAll/App\t" + std::string(261, 'r') + "\t");
  const std::string nulInText = line("\x7F\0\0\0\0"s, "\tAll\tAll\tA\0pp\tAll/Rule\t"s);
  for (const std::string& bad : {twoDots, badLocal, missingTab, longApplication, longRule, nulInText}) {
    const FilterList loaded = parseFilterList(kHeader + good1 + bad + good2);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].remotePort, 80);
    // The next store writes only what was kept.
    EXPECT_EQ(serializeFilterList(loaded), kHeader + good1);
  }
  // 260 characters are still accepted.
  const std::string limit = line("\x7F\0\0\0\0"s, "\tAll\tAll\t" + std::string(260, 'a') + "\t" + std::string(260, 'r') + "\t");
  EXPECT_EQ(parseFilterList(kHeader + limit + good2).size(), 2u);
  // A last line without CR LF is not read.
  EXPECT_EQ(parseFilterList(kHeader + good1 + good2.substr(0, good2.size() - 2)).size(), 1u);
  // Text after the fifth TAB is ignored.
  EXPECT_EQ(parseFilterList(kHeader + line("\x7F\0\0\0\0"s, "\tAll\tAll\ta\tr\textra")).size(), 1u);
}

TEST(FilterListFile, StoreLeavesOutEntriesThatCouldNotBeReadBack) {
  FilterList list;
  FilterEntry first = blankFilterEntry();
  first.ruleName = "first";
  FilterEntry tooLong = blankFilterEntry();
  tooLong.applicationName = std::string(261, 'a');
  FilterEntry withTab = blankFilterEntry();
  withTab.ruleName = "a\tb";
  FilterEntry withLineEnd = blankFilterEntry();
  withLineEnd.applicationName = "a\r\nb";
  FilterEntry badAddress = blankFilterEntry();
  badAddress.remoteIp = "10.0.0";
  FilterEntry last = blankFilterEntry();
  last.ruleName = "last";
  for (const FilterEntry& entry : {first, tooLong, withTab, withLineEnd, badAddress, last}) list.append(entry);

  const FilterList loaded = parseFilterList(serializeFilterList(list));
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0], first);
  EXPECT_EQ(loaded[1], last);
}

TEST(FilterListFile, LoadAndStoreFiles) {
  test::TemporaryFolder folder("filter");
  const fs::path path = folder.path() / "filter.lst";
  const FilterListFileLoad missing = loadFilterListFile(path.string());
  EXPECT_TRUE(missing.list.empty());
  EXPECT_NE(missing.errorNumber, 0);

  const FilterList list = sampleList();
  ASSERT_TRUE(storeFilterListFile(list, path.string()).ok());
  EXPECT_EQ(test::readFileBytes(path), serializeFilterList(list));
  const FilterListFileLoad loaded = loadFilterListFile(path.string());
  EXPECT_EQ(loaded.errorNumber, 0);
  EXPECT_EQ(loaded.list, list);

  // Storing again replaces the content and leaves no temporary files behind.
  ASSERT_TRUE(storeFilterListFile(FilterList(), path.string()).ok());
  EXPECT_EQ(test::readFileBytes(path), kHeader);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(FilterListFile, StoreThroughASymbolicLinkKeepsTheLink) {
  QV_SKIP_ON_WINDOWS("symbolic links need a privilege on Windows");
  test::TemporaryFolder folder("filter");
  const fs::path target = folder.path() / "real.lst";
  const fs::path link = folder.path() / "filter.lst";
  test::writeFileBytes(target, "old");
  fs::create_symlink(target, link);
  ASSERT_TRUE(storeFilterListFile(sampleList(), link.string()).ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::readFileBytes(target), serializeFilterList(sampleList()));
}

// Both need POSIX: a per-process file size limit, and folder permissions
// that bind (a folder's read-only attribute does not stop writes on Windows;
// the Windows replace is tested in tests/platform).
#ifndef _WIN32
TEST(FilterListFile, FailedStoreLeavesTheOldFileWhole) {
  test::TemporaryFolder folder("filter");
  const fs::path path = folder.path() / "filter.lst";
  const std::string old = serializeFilterList(sampleList());
  test::writeFileBytes(path, old);

  FilterList big;
  for (int i = 0; i < 2000; ++i) big.append(blankFilterEntry());

  // A write that fails halfway, as on a full disk: the file size limit makes
  // write() fail with EFBIG once the first bytes are in.
  const platform::FileWriteResult result = test::underFileSizeLimit(4096, [&] { return storeFilterListFile(big, path.string()); });

  EXPECT_FALSE(result.ok());
  EXPECT_FALSE(result.errorText().empty());
  EXPECT_EQ(test::readFileBytes(path), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

  // A folder that does not exist: nothing is created.
  EXPECT_FALSE(storeFilterListFile(big, (folder.path() / "missing" / "filter.lst").string()).ok());
}

TEST(FilterListFile, StoreIntoAnUnwritableFolderFailsAndKeepsTheOldFile) {
  test::TemporaryFolder folder("filter");
  const fs::path path = folder.path() / "filter.lst";
  test::writeFileBytes(path, "old content");
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
  if (::access(folder.path().c_str(), W_OK) == 0) GTEST_SKIP() << "permissions do not bind this user";
  EXPECT_FALSE(storeFilterListFile(sampleList(), path.string()).ok());
  EXPECT_EQ(test::readFileBytes(path), "old content");
}
#endif

}  // namespace
}  // namespace qv
