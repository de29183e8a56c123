#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "logdata/log_fixtures.h"

// Whole log files for the tests that read from disk.
namespace qv::test {

// The 16 stored digits of a moment in seconds since 1970 UTC.
inline std::string timeValueDigits(std::int64_t unixSeconds, unsigned milliseconds = 0) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llX",
                static_cast<unsigned long long>(unixSeconds * 10000000LL + milliseconds * 10000LL + 116444736000000000LL));
  return text;
}

inline std::string trafficLog(const std::vector<TrafficFields>& lines, std::uint32_t newestPosition = 0) {
  std::string log = logHeader("00000002", hex8(static_cast<std::uint32_t>(lines.size())), hex8(newestPosition));
  for (const TrafficFields& line : lines) log += trafficLine(line) + "\n";
  return log;
}

inline std::string packetLog(const std::vector<std::string>& records, std::uint32_t newestPosition = 0) {
  std::string log = logHeader("00000003", hex8(static_cast<std::uint32_t>(records.size())), hex8(newestPosition));
  for (const std::string& record : records) log += record;
  return log;
}

// A folder of the test's own, removed with the files written into it.
class TempFolder {
 public:
  TempFolder() : path_(makeUniqueFolder(::testing::TempDir() + "qvlog-")) {}
  ~TempFolder() {
    for (const std::string& file : files_) std::remove(file.c_str());
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string write(const std::string& name, const std::string& bytes) {
    files_.push_back(pathOf(name));
    std::ofstream(files_.back(), std::ios::binary) << bytes;
    return files_.back();
  }
  std::string pathOf(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

}  // namespace qv::test
