#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "capture/capture_export.h"
#include "capture/capture_files.h"
#include "platform/atomic_file.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// Captures and imported logs are stored through the platform's atomic writer;
// these are the cases the capture commands rely on.
class CaptureFileWriteTest : public ::testing::Test {
 protected:
  std::size_t entriesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }
  static std::string messageOf(const std::string& path, std::string_view bytes) {
    const platform::FileWriteResult result = platform::writeFileAtomically(path, bytes);
    return result.ok() ? std::string() : fileWriteMessage(result);
  }

  test::TemporaryFolder temporary_{std::string("replace_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  const fs::path& folder_ = temporary_.path();
};

TEST_F(CaptureFileWriteTest, CreatesAndReplacesKeepingTheTargetsMode) {
  const fs::path target = folder_ / "out.log";
  const std::string bytes("a\0b\r\n", 5);
  ASSERT_TRUE(platform::writeFileAtomically(target.string(), bytes).ok());
  EXPECT_EQ(test::readFileBytes(target), bytes);

  ::chmod(target.c_str(), 0640);
  ASSERT_TRUE(platform::writeFileAtomically(target.string(), "second").ok());
  EXPECT_EQ(test::readFileBytes(target), "second");
  struct stat status {};
  ASSERT_EQ(::stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640U);
  EXPECT_EQ(entriesInFolder(), 1U) << "no temporary file is left behind";
}

TEST_F(CaptureFileWriteTest, FollowsASymbolicLinkToTheFileItNames) {
  const fs::path real = folder_ / "real.pcap";
  const fs::path link = folder_ / "link.pcap";
  std::ofstream(real) << "old";
  fs::create_symlink(real, link);
  ASSERT_TRUE(platform::writeFileAtomically(link.string(), "new").ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::readFileBytes(real), "new");
}

TEST_F(CaptureFileWriteTest, ReportsTargetsThatCannotBeWritten) {
  EXPECT_EQ(messageOf((folder_ / "no" / "out.log").string(), "x"), "File Open Error : No such file or directory");
  EXPECT_EQ(messageOf(folder_.string(), "x"), "File Open Error : Is a directory");
  EXPECT_EQ(entriesInFolder(), 0U);
  EXPECT_FALSE(platform::writeFileAtomically("", "x").ok());
}

// A device cannot be replaced by a rename: it is written in place, and a
// failure to store the bytes is a write error, not an open error.
TEST_F(CaptureFileWriteTest, WritesDevicesInPlace) {
  EXPECT_TRUE(platform::writeFileAtomically("/dev/null", "bytes").ok());
  EXPECT_EQ(messageOf("/dev/full", "bytes"), "File Write Error : No space left on device");
}

}  // namespace
}  // namespace qv
