#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "logdata/log_fixtures.h"
#include "platform/file_faults.h"
#include "platform/system_error.h"
#include "write_faults.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using platform::FileStep;

const char* stepName(FileStep step) {
  switch (step) {
    case FileStep::kOpen: return "open";
    case FileStep::kWrite: return "write";
    case FileStep::kSync: return "sync";
    case FileStep::kClose: return "close";
    case FileStep::kRename: return "rename";
    case FileStep::kSyncFolder: return "folder sync";
  }
  return "?";
}

std::vector<std::string> folderListing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  return names;
}

// How often each step runs in a write that goes well.
std::map<FileStep, int> stepsOf(const test::ProgramWrite& write, const std::string& path) {
  std::map<FileStep, int> counts;
  const platform::ScopedFileFaultHook hook([&counts](FileStep step) {
    ++counts[step];
    return 0;
  });
  const test::WriteOutcome outcome = write.run(path);
  EXPECT_TRUE(outcome.ok) << write.name << ": " << outcome.message;
  return counts;
}

int faultsRun = 0;

// Runs the write with the `occurrence`th call of `step` failing with `error`
// over a folder that holds `previous` at the target (or nothing there when
// previous is null), and holds it to what a failed write must leave.
void checkWriteUnderFault(const test::ProgramWrite& write, FileStep step, int occurrence, int error,
                          const std::string* previous, const std::string& complete) {
  const test::TemporaryFolder folder("faults");
  const std::string path = write.targetIn(folder.path().string());
  if (previous != nullptr) test::writeFileBytes(path, *previous);
  const std::vector<std::string> before = previous != nullptr ? folderListing(fs::path(path).parent_path())
                                                              : std::vector<std::string>{};
  int seen = 0;
  test::WriteOutcome outcome;
  {
    const platform::ScopedFileFaultHook hook([&](FileStep current) {
      return current == step && ++seen == occurrence ? error : 0;
    });
    outcome = write.run(path);
  }
  ++faultsRun;
  const std::string context = write.name + ", " + stepName(step) + " #" + std::to_string(occurrence) + " fails with " +
                              platform::systemErrorText(error) + (previous ? ", over an older file" : ", new file");
  ASSERT_EQ(seen >= occurrence, true) << context;

  if (step == FileStep::kSyncFolder) {
    // The new file is in place by then: the write stands.
    EXPECT_TRUE(outcome.ok) << context << ": " << outcome.message;
    EXPECT_EQ(test::readFileBytes(path), complete) << context;
  } else {
    EXPECT_FALSE(outcome.ok) << context;
    EXPECT_FALSE(outcome.message.empty()) << context;
    if (write.reportsSystemText) {
      const std::string& prefix = step == FileStep::kOpen ? write.openFailurePrefix : write.writeFailurePrefix;
      EXPECT_EQ(outcome.message, prefix + platform::systemErrorText(error)) << context;
    }
    if (previous != nullptr) {
      EXPECT_EQ(test::readFileBytes(path), *previous) << context;
    } else {
      EXPECT_FALSE(fs::exists(path)) << context;
    }
  }
  // No temporary file is left beside the target, whatever happened.
  std::vector<std::string> expected = before;
  if (expected.empty() && fs::exists(path)) expected.push_back(fs::path(path).filename().string());
  EXPECT_EQ(folderListing(fs::path(path).parent_path()), expected) << context;
}

TEST(InjectedWriteFaults, EveryStepOfEveryWriteLeavesTheOldFileOrTheNewOneWhole) {
  const std::string previous = "the file as the user had it\r\n";
  for (const test::ProgramWrite& write : test::platformWrites()) {
    const test::TemporaryFolder clean("faults_clean");
    const std::string cleanPath = write.targetIn(clean.path().string());
    const std::map<FileStep, int> steps = stepsOf(write, cleanPath);
    const std::string complete = test::readFileBytes(cleanPath);
    ASSERT_FALSE(complete.empty()) << write.name;
    // Every step a replacement needs is met, and the larger writes come in pieces.
    for (const FileStep step : {FileStep::kOpen, FileStep::kWrite, FileStep::kSync, FileStep::kClose, FileStep::kRename,
                                FileStep::kSyncFolder}) {
      EXPECT_GE(steps.count(step) ? steps.at(step) : 0, 1) << write.name << " never reaches " << stepName(step);
    }
    if (write.name == "traffic export") {
      EXPECT_GE(steps.at(FileStep::kWrite), 2) << "a fault between two pieces";
    }
    for (const auto& [step, count] : steps) {
      for (int occurrence = 1; occurrence <= count; ++occurrence) {
        for (const int error : {ENOSPC, EIO}) {
          checkWriteUnderFault(write, step, occurrence, error, &previous, complete);
          checkWriteUnderFault(write, step, occurrence, error, nullptr, complete);
        }
      }
    }
  }
  std::printf("[ FAULTS   ] %d injected faults\n", faultsRun);
  EXPECT_GE(faultsRun, 100);
}

}  // namespace
}  // namespace qv
