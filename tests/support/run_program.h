#pragma once

#include <string>
#include <vector>

namespace qv::test {

struct ProgramResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs a program with arguments (no shell), capturing stdout and stderr.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args);

// Runs the qvlog binary of this build.
inline ProgramResult runQvlog(const std::vector<std::string>& args) { return runProgram(QVLOG_PATH, args); }

}  // namespace qv::test
