#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "logdata/log_fixtures.h"
#include "settings/file_settings_store.h"
#include "settings/settings_store.h"
#include "write_faults.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr int kSkipped = 77;

bool writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

// Gives this (single-threaded) process a mount namespace of its own with a
// small tmpfs at folder; the empty text on success, else why not. As root the
// namespace alone is enough; otherwise a user namespace maps us to its root.
std::string mountSmallFileSystem(const std::string& folder) {
  bool entered = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0;
  if (!entered) {
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
      return std::string("this machine allows no private mount namespace: ") + std::strerror(errno);
    }
    if (!writeText("/proc/self/setgroups", "deny") ||
        !writeText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n") ||
        !writeText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n")) {
      return "the user namespace's id maps cannot be written";
    }
    entered = true;
  }
  // Nothing mounted here may show outside the namespace.
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return std::string("mounts cannot be made private: ") + std::strerror(errno);
  }
  if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m") != 0) {
    return std::string("a tmpfs cannot be mounted: ") + std::strerror(errno);
  }
  return {};
}

// Takes all free space of the file system at folder.
void fillUp(const std::string& folder) {
  std::ofstream filler(folder + "/filler", std::ios::binary);
  const std::string block(4096, 'f');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
  }
}

struct ChildReport {
  int status = 0;
  std::string text;
};

// Runs body in a child process (a namespace cannot be left again) and
// collects what it writes to its report pipe and its exit status.
template <typename Body>
ChildReport inChild(Body body) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return {1, "no pipe"};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    std::string report;
    const int status = body(report);
    [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], report.data(), report.size());
    ::_exit(status);
  }
  ::close(pipeEnds[1]);
  ChildReport result;
  char chunk[4096];
  ssize_t count;
  while ((count = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0) result.text.append(chunk, static_cast<std::size_t>(count));
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
  return result;
}

// The files in folder, the filler aside.
std::vector<std::string> listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename() != "filler") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Tries one write on the full file system, then again on the empty one,
// where it either fits or is larger than the whole file system.
void tryOnFullDisk(const std::string& name, const std::string& disk, const std::string& path,
                   const std::function<test::WriteOutcome()>& write, const std::string& expectedMessage,
                   bool fitsOnEmptyDisk, std::string& report) {
  const std::string previous = "what " + name + " held before\n";
  test::writeFileBytes(path, previous);
  fillUp(disk);
  const std::vector<std::string> before = listing(fs::path(path).parent_path().string());
  const auto expectFailure = [&](const char* when) {
    const test::WriteOutcome outcome = write();
    const std::string context = name + " " + when + ": ";
    if (outcome.ok) report += context + "the write was reported as done\n";
    if (!expectedMessage.empty() && outcome.message != expectedMessage) {
      report += context + "message \"" + outcome.message + "\"\n";
    }
    if (test::readFileBytes(path) != previous) report += context + "the older file was changed\n";
    if (listing(fs::path(path).parent_path().string()) != before) report += context + "files were left behind\n";
  };
  expectFailure("on a full disk");
  fs::remove(disk + "/filler");
  if (fitsOnEmptyDisk) {
    if (const test::WriteOutcome roomy = write(); !roomy.ok) report += name + ": fails with room to spare\n";
  } else {
    expectFailure("larger than the disk");
  }
  fs::remove_all(fs::path(path).parent_path() == fs::path(disk) ? fs::path(path) : fs::path(path).parent_path());
}

TEST(FullDisk, EveryWriteOnAFullFileSystemKeepsTheOlderFileAndSaysSo) {
  const test::TemporaryFolder folder("full_disk");
  const std::string disk = folder.path().string();
  const ChildReport child = inChild([&](std::string& report) {
    if (std::string reason = mountSmallFileSystem(disk); !reason.empty()) {
      report = reason;
      return kSkipped;
    }
    const std::string noSpace = "No space left on device";
    for (const test::ProgramWrite& write : test::platformWrites()) {
      const std::string path = write.targetIn(disk);
      // The traffic export of the test records takes more than 1 MiB.
      const bool fits = write.name != "traffic export";
      tryOnFullDisk(write.name, disk, path, [&] { return write.run(path); },
                    write.reportsSystemText ? write.writeFailurePrefix + noSpace : "", fits, report);
    }
    // The settings file is written by its own backend, not through our writers.
    const std::string settingsPath = disk + "/settings/viewer.conf";
    fs::create_directories(disk + "/settings");
    tryOnFullDisk("settings file", disk, settingsPath, [&] {
      auto key = settings::makeFileSettingsStore(settingsPath)->createForWriting();
      if (key == nullptr) return test::WriteOutcome{false, "cannot open"};
      const bool staged = key->writeBinary("ColumnWidth", std::vector<std::uint8_t>(64 * 1024, 0x5A));
      const bool saved = key->close();
      return test::WriteOutcome{staged && saved, staged && saved ? "" : "failed"};
    }, "", true, report);
    return report.empty() ? 0 : 1;
  });
  if (child.status == kSkipped) GTEST_SKIP() << "no full-disk test here: " << child.text;
  EXPECT_EQ(child.status, 0) << child.text;
}

}  // namespace
}  // namespace qv
