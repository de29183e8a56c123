#include <gtest/gtest.h>

#include <algorithm>

#include "cli/cli_views_fixtures.h"
#include "logdata/time_zone_guard.h"
#include "support/windows_skip.h"

namespace qv::test {
namespace {

// Parses a file with Python's own readers and prints what they saw as ASCII
// JSON, so the test checks what another program gets, not our bytes.
constexpr const char* kParseCsv =
    "import csv, json, sys\n"
    "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
    "    rows = list(csv.reader(f, strict=True))\n"
    "print(json.dumps([dict(zip(rows[0], row)) for row in rows[1:]]))\n";
constexpr const char* kParseJsonLines =
    "import json, sys\n"
    "with open(sys.argv[1], encoding='utf-8') as f:\n"
    "    print(json.dumps([json.loads(line) for line in f]))\n";

std::string parsedBy(const char* script, TempFolder& folder, const std::string& output) {
  const std::string path = folder.write("output.txt", output);
  const ProgramResult parsed = runProgram("/usr/bin/python3", {"-c", script, path});
  EXPECT_EQ(parsed.exitCode, 0) << parsed.err;
  return parsed.out;
}

// Names with a comma, quotes and Windows-1252 letters (e with acute, euro sign).
std::string awkwardTrafficLog(TempFolder& folder) {
  TrafficFields event = eventAt(kMarchTenth, "0500000A", 53);
  event.ruleName = "Allow, \"trusted\" DNS";
  event.applicationName = "C:\\Caf\xE9\\app.exe";
  event.nameAddress = "price\x80";
  return folder.write("tralog.log", trafficLog({event}));
}

TEST(CliFormat, TrafficCsvReadsBackThroughPythonsCsvModule) {
  QV_SKIP_ON_WINDOWS("the host's Python cannot open the Windows program's temporary paths");
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  const ProgramResult run = runQvlog({"traffic", awkwardTrafficLog(folder), "--format", "csv"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with("Time,Action,Direction,Proto,Remote IP,Name Address,R Port,")) << run.out;
  EXPECT_EQ(run.out.find("Records :"), std::string::npos);
  EXPECT_EQ(parsedBy(kParseCsv, folder, run.out),
            "[{\"Time\": \"2004/03/10 10:00:00\", \"Action\": \"Block\", \"Direction\": \"Incoming\", "
            "\"Proto\": \"TCP\", \"Remote IP\": \"10.0.0.5\", \"Name Address\": \"price\\u20ac\", "
            "\"R Port\": \"53\", \"Local IP\": \"192.168.0.2\", \"L Port\": \"80\", \"Occurrences\": \"1\", "
            "\"Application Name\": \"C:\\\\Caf\\u00e9\\\\app.exe\", \"Rule Name\": \"Allow, \\\"trusted\\\" DNS\", "
            "\"Begin Time\": \"2004/03/10 10:00:00\", \"End Time\": \"2004/03/10 10:00:00\"}]\n");
}

// The field names are a contract with other programs: this fixes them.
TEST(CliFormat, TrafficJsonLinesKeepTheirFieldNamesAndTypes) {
  QV_SKIP_ON_WINDOWS("the host's Python cannot open the Windows program's temporary paths");
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  const ProgramResult run = runQvlog({"traffic", awkwardTrafficLog(folder), "--format=json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(parsedBy(kParseJsonLines, folder, run.out),
            "[{\"time\": \"2004/03/10 10:00:00\", \"action\": \"Block\", \"direction\": \"Incoming\", "
            "\"protocol\": \"TCP\", \"remoteIp\": \"10.0.0.5\", \"nameAddress\": \"price\\u20ac\", "
            "\"remotePort\": 53, \"localIp\": \"192.168.0.2\", \"localPort\": 80, \"occurrences\": 1, "
            "\"applicationName\": \"C:\\\\Caf\\u00e9\\\\app.exe\", \"ruleName\": \"Allow, \\\"trusted\\\" DNS\", "
            "\"beginTime\": \"2004/03/10 10:00:00\", \"endTime\": \"2004/03/10 10:00:00\"}]\n");
}

TEST(CliFormat, PacketRowsInBothFormats) {
  QV_SKIP_ON_WINDOWS("the host's Python cannot open the Windows program's temporary paths");
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  const std::string log = folder.write("rawlog.log", packetLog({packetRecord(ipv4Frame(6, 0x12))}));
  const ProgramResult json = runQvlog({"packets", log, "--format", "json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const std::string objects = parsedBy(kParseJsonLines, folder, json.out);
  EXPECT_NE(objects.find("\"protocol\": \"TCP\""), std::string::npos) << objects;
  EXPECT_NE(objects.find("\"tcpFlags\": \""), std::string::npos) << objects;
  EXPECT_NE(objects.find("\"applicationName\": "), std::string::npos) << objects;
  const ProgramResult csv = runQvlog({"packets", log, "--format", "csv"});
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_TRUE(csv.out.starts_with("Time,Action,Direction,Proto,Remote IP,Name Address,R Port,Local IP,L Port,"
                                  "TCP Flag,Application Name\r\n"))
      << csv.out;
  EXPECT_NE(parsedBy(kParseCsv, folder, csv.out).find("\"Proto\": \"TCP\""), std::string::npos);
}

TEST(CliFormat, TsvStaysTheDefaultAndCountStaysACount) {
  const TimeZoneGuard zone("UTC");
  TempFolder folder;
  const std::string log = awkwardTrafficLog(folder);
  EXPECT_EQ(runQvlog({"traffic", log, "--format", "tsv"}).out, runQvlog({"traffic", log}).out);
  expectRun({"traffic", log, "--format", "json", "--count"}, 0, "Records : 1 / 1\n");
  // Nothing shown: CSV is still a document with its header; JSON Lines is empty.
  const ProgramResult none = runQvlog({"traffic", log, "--no-block", "--format", "csv"});
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(std::count(none.out.begin(), none.out.end(), '\n'), 1) << none.out;
  expectRun({"traffic", log, "--no-block", "--format", "json"}, 0, "");
  const ProgramResult wrong = runQvlog({"traffic", log, "--format", "xml"});
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_NE(wrong.err.find("--format: no format 'xml'; give tsv, csv or json"), std::string::npos) << wrong.err;
}

}  // namespace
}  // namespace qv::test
