#include "platform/autostart.h"
#include "support/run_program.h"
#include "temporary_home.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace qv::platform {
namespace {

namespace fs = std::filesystem;
using Arguments = std::vector<std::string>;

// A strict reader of the entry, written from the format's rules rather than
// from the writer: the string escapes of the value first, then the Exec
// quoting, then "%%". Anything the rules do not allow (an unknown escape, a
// reserved character outside quotes, a stray "%") makes it fail.
std::optional<Arguments> execOfEntry(const std::string& content) {
  std::istringstream lines(content);
  std::string line;
  std::optional<std::string> stored;
  while (std::getline(lines, line)) {
    if (line.rfind("Exec=", 0) == 0) stored = line.substr(5);
  }
  if (!stored) return std::nullopt;
  std::string value;
  for (std::size_t i = 0; i < stored->size(); ++i) {
    if ((*stored)[i] != '\\') {
      value += (*stored)[i];
      continue;
    }
    if (++i == stored->size()) return std::nullopt;
    switch ((*stored)[i]) {
      case 's': value += ' '; break;
      case 'n': value += '\n'; break;
      case 't': value += '\t'; break;
      case 'r': value += '\r'; break;
      case '\\': value += '\\'; break;
      default: return std::nullopt;
    }
  }
  const std::string reserved = "\t\n\"'\\><~|&;$*?#()`";
  Arguments arguments;
  std::string current;
  bool started = false;
  bool quoted = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\') {
        if (i + 1 == value.size() || std::string("\"`$\\").find(value[i + 1]) == std::string::npos) return std::nullopt;
        current += value[++i];
      } else {
        current += c;
      }
    } else if (c == ' ') {
      if (started) arguments.push_back(current);
      current.clear();
      started = false;
    } else if (c == '"') {
      if (started) return std::nullopt;  // only whole arguments are quoted
      quoted = started = true;
    } else if (reserved.find(c) != std::string::npos) {
      return std::nullopt;
    } else {
      current += c;
      started = true;
    }
  }
  if (quoted) return std::nullopt;
  if (started) arguments.push_back(current);
  for (std::string& argument : arguments) {
    std::string expanded;
    for (std::size_t i = 0; i < argument.size(); ++i) {
      if (argument[i] != '%') {
        expanded += argument[i];
      } else if (i + 1 < argument.size() && argument[i + 1] == '%') {
        expanded += '%';
        ++i;
      } else {
        return std::nullopt;  // a field code: the entry takes no files or URLs
      }
    }
    argument = expanded;
  }
  return arguments;
}

const std::vector<std::string> kAwkwardFolders = {
    "plain", "with space", "double \"quoted\"", "back\\slash", "dollar $HOME", "back`tick`", "100%", "%f field",
    "single 'quote'", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x90\x9f", "tab\there", "semi;colon & pipe | (x) <y> ~ * ? #",
    "mixed \\\"$`%'"};

// What the entry must run: the program itself, through env where its path
// holds a "%" (launchers look for the program before expanding "%%").
Arguments expectedCommand(const std::string& program) {
  Arguments command;
  if (program.find('%') != std::string::npos) command.push_back("env");
  command.push_back(program);
  command.push_back("-minimize");
  return command;
}

TEST(StartupEntryExec, AwkwardProgramPathsReadBackExactlyUnderTheFormatsRules) {
  test::TemporaryFolder folder;
  const test::ConfigHomeOverride home(folder.path().string());
  for (const std::string& name : kAwkwardFolders) {
    const std::string program = "/opt/" + name + "/qvlogview";
    ASSERT_TRUE(writeStartupEntry(program)) << program;
    const std::string content = test::readFileBytes(startupEntryLocation());
    EXPECT_EQ(execOfEntry(content), expectedCommand(program)) << content;
    EXPECT_EQ(readStartupEntry(), expectedCommand(program)) << content;
  }
}

TEST(StartupEntryExec, PathsNoEntryCanNameAreRefusedAndTheOldEntryKept) {
  test::TemporaryFolder folder;
  const test::ConfigHomeOverride home(folder.path().string());
  ASSERT_TRUE(writeStartupEntry("/opt/qv/qvlogview"));
  const std::string before = test::readFileBytes(startupEntryLocation());
  for (const std::string program : {"/opt/caf\xe9/qv", "/opt/\xc3/qv", "/opt/\xed\xa0\x80/qv", "/opt/bell\a/qv",
                                    "/opt/del\x7f/qv"}) {
    EXPECT_FALSE(writeStartupEntry(program)) << program;
    EXPECT_EQ(desktopExecCommand(program, "-minimize"), std::nullopt) << program;
  }
  EXPECT_EQ(test::readFileBytes(startupEntryLocation()), before);
}

std::optional<std::string> findOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const fs::path candidate = fs::path(folder) / name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return std::nullopt;
}

// The entry started by a real launcher: a script at each awkward path records
// the arguments it was started with.
TEST(StartupEntryExec, ADesktopLauncherStartsExactlyTheProgram) {
  const std::optional<std::string> gio = findOnPath("gio");
  if (!gio) GTEST_SKIP() << "no desktop launcher (gio) installed";
  test::TemporaryFolder folder;
  const test::ConfigHomeOverride home(folder.path().string());
  const std::string record = folder.file("started");
  for (const std::string& name : kAwkwardFolders) {
    const fs::path programFolder = folder.path() / "programs" / name;
    fs::create_directories(programFolder);
    const std::string program = (programFolder / "qvlogview").string();
    test::writeFileBytes(program, "#!/bin/sh\nfor a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + record +
                                      ".part\" && mv \"" + record + ".part\" \"" + record + "\"\n");
    ::chmod(program.c_str(), 0755);
    fs::remove(record);
    ASSERT_TRUE(writeStartupEntry(program));
    const test::ProgramResult launched = test::runProgram(*gio, {"launch", startupEntryLocation()});
    ASSERT_EQ(launched.exitCode, 0) << name << ": " << launched.err;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(record) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(test::readFileBytes(record), program + "\n-minimize\n") << name;
  }
}

}  // namespace
}  // namespace qv::platform
