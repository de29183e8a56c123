#include "capture/replace_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "capture/capture_files.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class ReplaceFileTest : public ::testing::Test {
 protected:
  std::size_t entriesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }

  test::TemporaryFolder temporary_{std::string("replace_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  const fs::path& folder_ = temporary_.path();
};

TEST_F(ReplaceFileTest, CreatesAndReplacesKeepingTheTargetsMode) {
  const fs::path target = folder_ / "out.log";
  const std::string bytes("a\0b\r\n", 5);
  ASSERT_TRUE(writeFileReplacing(target.string(), bytes).ok);
  EXPECT_EQ(test::readFileBytes(target), bytes);

  ::chmod(target.c_str(), 0640);
  ASSERT_TRUE(writeFileReplacing(target.string(), "second").ok);
  EXPECT_EQ(test::readFileBytes(target), "second");
  struct stat status {};
  ASSERT_EQ(::stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640U);
  EXPECT_EQ(entriesInFolder(), 1U) << "no temporary file is left behind";
}

TEST_F(ReplaceFileTest, FollowsASymbolicLinkToTheFileItNames) {
  const fs::path real = folder_ / "real.pcap";
  const fs::path link = folder_ / "link.pcap";
  std::ofstream(real) << "old";
  fs::create_symlink(real, link);
  ASSERT_TRUE(writeFileReplacing(link.string(), "new").ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::readFileBytes(real), "new");
}

TEST_F(ReplaceFileTest, ReportsTargetsThatCannotBeWritten) {
  const FileWriteResult missingFolder = writeFileReplacing((folder_ / "no" / "out.log").string(), "x");
  EXPECT_FALSE(missingFolder.ok);
  EXPECT_EQ(missingFolder.message, "File Open Error : No such file or directory");

  const FileWriteResult folder = writeFileReplacing(folder_.string(), "x");
  EXPECT_FALSE(folder.ok);
  EXPECT_EQ(folder.message, "File Open Error : Is a directory");
  EXPECT_EQ(entriesInFolder(), 0U);

  EXPECT_FALSE(writeFileReplacing("", "x").ok);
}

}  // namespace
}  // namespace qv
