#include "platform/autostart.h"
#include "platform/program_location.h"
#include "temporary_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qv::platform {
namespace {

using Arguments = std::vector<std::string>;

TEST(StartupEntry, IsWrittenReadBackAndRemovedInTheUsersAutostartFolder) {
  test::TemporaryFolder folder;
  test::ConfigHomeOverride home(folder.path().string());
  const std::string entry = folder.file("autostart/qvlogview.desktop");
  EXPECT_EQ(startupEntryLocation(), entry);
  EXPECT_EQ(readStartupEntry(), std::nullopt);
  EXPECT_TRUE(removeStartupEntry());  // nothing to remove is no failure

  ASSERT_TRUE(writeStartupEntry("/opt/Quorvex Viewer/bin/qvlogview"));
  const std::string content = test::readFileBytes(entry);
  EXPECT_EQ(content,
            "[Desktop Entry]\nType=Application\nName=Quorvex Log Viewer\n"
            "Exec=\"/opt/Quorvex Viewer/bin/qvlogview\" -minimize\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
  EXPECT_EQ(readStartupEntry(), (Arguments{"/opt/Quorvex Viewer/bin/qvlogview", "-minimize"}));

  ASSERT_TRUE(updateStartupEntry(true));
  EXPECT_EQ(readStartupEntry(), (Arguments{programPath(), "-minimize"}));
  ASSERT_EQ(std::filesystem::directory_iterator(folder.path() / "autostart")->path().filename(), "qvlogview.desktop");

  ASSERT_TRUE(updateStartupEntry(false));
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_EQ(readStartupEntry(), std::nullopt);
}

TEST(StartupEntry, ReportsAnEntryThatCannotBeWritten) {
  test::TemporaryFolder folder;
  test::writeFileBytes(folder.file("autostart"), "a file where the folder belongs");
  test::ConfigHomeOverride home(folder.path().string());
  EXPECT_FALSE(writeStartupEntry("/usr/bin/qvlogview"));
  EXPECT_FALSE(writeStartupEntry(""));
}

TEST(StartupEntry, ExecQuotingSurvivesAwkwardPaths) {
  for (const std::string path : {"/usr/bin/qvlogview", "/home/a b/qv", "/x/100%/qv", "/x/$HOME/`q`/\"q\"",
                                 "/x/back\\slash/qv", "/x/tab\there/q", "/x/new\nline", "/x/it's (1)/q;|&<>~*?#"}) {
    const std::string stored = escapeDesktopValue(desktopExecArgument(path) + " -minimize");
    EXPECT_EQ(stored.find('\n'), std::string::npos) << path;
    EXPECT_EQ(splitDesktopExec(stored), (Arguments{path, "-minimize"})) << stored;
  }
  EXPECT_EQ(desktopExecArgument("/usr/bin/qv"), "/usr/bin/qv");
  EXPECT_EQ(escapeDesktopValue(desktopExecArgument("/a\\b c")), "\"/a\\\\\\\\b c\"");
  EXPECT_EQ(splitDesktopExec("\"unterminated"), std::nullopt);
}

}  // namespace
}  // namespace qv::platform
