#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qv::test {

// How one of the program's writes ended, as its caller learns it.
struct WriteOutcome {
  bool ok = false;
  std::string message;  // what the user is told; empty on success
};

// One write the program makes: where it writes inside a given folder, the
// write itself, and the start of the message it gives when creating the file
// fails and when anything later fails (the system's text follows).
struct ProgramWrite {
  std::string name;
  std::function<std::string(const std::string& folder)> targetIn;
  std::function<WriteOutcome(const std::string& path)> run;
  std::string openFailurePrefix;
  std::string writeFailurePrefix;
  // False where the caller learns only that the write failed.
  bool reportsSystemText = true;
};

// The writes that go through the platform's file writers: both exports, both
// CSV saves, filter.lst, the autostart entry and, where the build has it, the
// capture export.
std::vector<ProgramWrite> platformWrites();

}  // namespace qv::test
