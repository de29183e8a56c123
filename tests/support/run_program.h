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

// Runs the qvlog binary of this build. When QV_QVLOG_WRAPPER is set (a
// program by its full path and its options, separated by blanks, e.g. a
// memory checker), qvlog runs under it.
ProgramResult runQvlog(const std::vector<std::string>& args);

}  // namespace qv::test
