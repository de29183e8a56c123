#pragma once

#include <string>

#include "logdata/read_buffer.h"

namespace qv {

struct FileReadResult {
  bool opened = false;
  std::string errorText;  // the system's text when the file could not be opened or read
  SharedReadBuffer buffer;
};

// Reads a whole log file into one buffer of its length + 1 bytes, the last
// one NUL. The file is opened for reading while others may go on reading and
// writing it (the firewall keeps its logs open); sizes are 64-bit throughout.
FileReadResult readWholeFile(const std::string& path);

}  // namespace qv
