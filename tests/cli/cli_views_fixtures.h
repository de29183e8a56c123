#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/log_files.h"
#include "logdata/log_fixtures.h"
#include "support/run_program.h"

// Small logs and expectations shared by the tests of the view options.
namespace qv::test {

inline constexpr std::int64_t kMarchTenth = 1078912800;  // 2004/03/10 10:00:00 UTC

// A traffic event at a moment, blocked incoming TCP to 192.168.0.2:80 unless changed.
inline TrafficFields eventAt(std::int64_t unixSeconds, const std::string& remoteIp = "0500000A",
                             std::uint16_t remotePort = 1234) {
  TrafficFields fields;
  fields.time = fields.beginTime = fields.endTime = timeValueDigits(unixSeconds);
  fields.remoteIp = remoteIp;
  fields.remotePort = hex8(remotePort);
  return fields;
}

// An IPv4 frame of the given protocol; a TCP frame carries the flag byte.
inline std::vector<std::uint8_t> ipv4Frame(std::uint8_t protocol, std::uint8_t tcpFlags = 0) {
  std::vector<std::uint8_t> header(40, 0);
  header[0] = 0x45;
  header[3] = 40;
  header[9] = protocol;
  header[33] = tcpFlags;
  return frameOf(60, 0x0800, header);
}

inline void expectRun(const std::vector<std::string>& args, int exitCode, const std::string& out,
                      const std::string& err = "") {
  const ProgramResult result = runQvlog(args);
  std::string shown;
  for (const std::string& arg : args) shown += arg + " ";
  EXPECT_EQ(result.exitCode, exitCode) << shown;
  EXPECT_EQ(result.out, out) << shown;
  EXPECT_EQ(result.err, err) << shown;
}

// The first `count` cells of each output line but the count line, joined by TAB.
inline std::vector<std::string> leadingCells(const std::string& out, int count) {
  std::vector<std::string> rows;
  std::size_t start = 0;
  while (start < out.size()) {
    const std::size_t end = out.find('\n', start);
    const std::string line = out.substr(start, end - start);
    start = end + 1;
    if (line.starts_with("Records : ")) continue;
    std::size_t cut = 0;
    for (int cell = 0; cell < count && cut != std::string::npos; ++cell) cut = line.find('\t', cut + (cell ? 1 : 0));
    rows.push_back(line.substr(0, cut));
  }
  return rows;
}

}  // namespace qv::test
