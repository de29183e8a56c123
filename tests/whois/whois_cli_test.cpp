#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "whois_server/loopback_whois_server.h"
#include "whois_server/registry_answers.h"

namespace qv::test {
namespace {

using std::chrono::milliseconds;
namespace canned = answers;

constexpr std::string_view kRipeShown =
    "% This is the RIPE Whois query server #1.\r\n"
    "% The objects are in RPSL format.\r\n"
    "\r\n"
    "inetnum:      193.0.0.0 - 193.0.7.255\r\n";

// The registries as one loopback server: ARIN answers by the query as the
// real one does, the others with their own records.
class WhoisCliTest : public ::testing::Test {
 protected:
  static CannedReply arin(const std::string& query) {
    if (query == "193.0.0.1") return CannedReply::answer(canned::arinOrgRecord("RIPE", "RIPE NCC"));
    if (query == "202.12.29.1") return CannedReply::answer(canned::arinOrgRecord("APNIC", "Asia Pacific"));
    if (query == "200.3.12.1") return CannedReply::answer(canned::arinOrgRecord("LACNIC", "LACNIC"));
    if (query == "3ffe:b00::1") return CannedReply::answer(canned::arinIpv6Referral("127.0.0.1"));
    if (query == "4.2.2.2") return CannedReply::answer(std::string(canned::kArinNetworkList));
    if (query == "NET-4-0-0-0-1") return CannedReply::answer(std::string(canned::kArinNetworkRecord));
    if (query == "loop" || query == "NET-LOOP") return CannedReply::answer("Loop (NET-LOOP)\n# ARIN WHOIS database\n");
    if (query == "cut-handle") return CannedReply::answer("Example (NET-4-0-0\n# ARIN WHOIS database\n");
    if (query == "silent") return CannedReply::silent();
    if (query == "flood") return CannedReply::flood(std::size_t{10} * 1024 * 1024);
    if (query == "split") {
      return CannedReply::inPieces({"OrgID:   ", "   RI", "PE\r", "\n# ARIN WHOIS database\n"}, milliseconds(30));
    }
    return CannedReply::answer("No match found for " + query + ".\n\n# ARIN WHOIS database\n");
  }

  LoopbackWhoisServer server{{
      {"arin", arin},
      {"apnic", [](const std::string&) { return CannedReply::answer(std::string(canned::kApnicInetnum)); }},
      {"lacnic", [](const std::string&) { return CannedReply::answer(std::string(canned::kLacnicInetnum)); }},
      {"ripe", [](const std::string&) { return CannedReply::answer(std::string(canned::kRipeInetnum)); }},
      {"ipv6", [](const std::string&) { return CannedReply::answer(std::string(canned::kIpv6Inet6num)); }},
  }};

  // Every registry at the loopback server; a later --server in `args` wins.
  ProgramResult whois(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"whois"};
    for (const char* name : {"arin", "apnic", "lacnic", "ripe", "ipv6"}) {
      all.push_back("--server");
      all.push_back(std::string(name) + "=" + server.address(name));
    }
    all.insert(all.end(), args.begin(), args.end());
    return runQvlog(all);
  }
};

TEST_F(WhoisCliTest, FollowsEachRegistrysReferral) {
  struct Case {
    std::string query;
    std::string expectedStart;
    std::string trace;
  };
  const std::vector<Case> cases = {
      {"193.0.0.1", std::string(kRipeShown), "query arin 193.0.0.1\nquery ripe 193.0.0.1\n"},
      {"202.12.29.1", "% [whois.apnic.net node-1]\r\ninetnum:", "query arin 202.12.29.1\nquery apnic 202.12.29.1\n"},
      {"200.3.12.1", "% Joint Whois - whois.lacnic.net\r\ninetnum:", "query arin 200.3.12.1\nquery lacnic 200.3.12.1\n"},
      {"3ffe:b00::1", "inet6num:     3FFE:0B00::/24\r\n", "query arin 3ffe:b00::1\nquery ipv6 3ffe:b00::1\n"},
      {"4.2.2.2", "OrgName:    Level 3", "query arin 4.2.2.2\nquery arin NET-4-0-0-0-1\n"},
      {"8.8.8.8", "No match found for 8.8.8.8.\r\n# ARIN WHOIS database\r\n", "query arin 8.8.8.8\n"},
  };
  for (const Case& c : cases) {
    const ProgramResult result = whois({c.query, "--trace"});
    EXPECT_EQ(result.exitCode, 0) << c.query << ": " << result.err;
    EXPECT_EQ(result.out.substr(0, c.expectedStart.size()), c.expectedStart) << c.query;
    EXPECT_EQ(result.err, c.trace) << c.query;
    // Nothing of ARIN's referring answer is shown.
    EXPECT_EQ(result.out.find("Enter ? for additional hints"), std::string::npos) << c.query;
  }
}

TEST_F(WhoisCliTest, WritesTheAnswerBytesWithCrLfLineEnds) {
  const ProgramResult result = whois({"193.0.0.1"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::string expected(canned::kRipeInetnum);
  EXPECT_EQ(result.out, expected);
  // The bare-LF empty line of a LF-only answer vanished.
  const ProgramResult apnic = whois({"202.12.29.1"});
  EXPECT_EQ(apnic.out.find("\r\n\r\n"), std::string::npos);
  EXPECT_EQ(apnic.out.find("\n\n"), std::string::npos);
}

TEST_F(WhoisCliTest, SendsOnlyCrLfForAnEmptyQuery) {
  const ProgramResult result = whois({});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  ASSERT_GE(server.queries().size(), 1u);
  EXPECT_EQ(server.queries().front(), (ReceivedQuery{"arin", "\r\n"}));

  // A network list whose handle has no ")": the next ARIN query is empty.
  const ProgramResult cut = whois({"cut-handle", "--trace"});
  EXPECT_EQ(cut.exitCode, 0) << cut.err;
  EXPECT_EQ(cut.err, "query arin cut-handle\nquery arin \n");
  EXPECT_EQ(server.queries().back(), (ReceivedQuery{"arin", "\r\n"}));
  EXPECT_EQ(cut.out, "No match found for .\r\n# ARIN WHOIS database\r\n");
}

TEST_F(WhoisCliTest, AssemblesALineSplitAcrossReads) {
  const ProgramResult result = whois({"split", "--trace"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "query arin split\nquery ripe split\n");
}

TEST_F(WhoisCliTest, StopsAtEachBound) {
  const ProgramResult loop = whois({"loop"});
  EXPECT_EQ(loop.exitCode, 1);
  EXPECT_EQ(loop.err, "Stopped after 8 queries: " + server.address("arin") + " still refers further\n");
  EXPECT_EQ(loop.out, "Loop (NET-LOOP)\r\n# ARIN WHOIS database\r\n");
  EXPECT_EQ(server.queries().size(), 8u);

  const auto started = std::chrono::steady_clock::now();
  const ProgramResult silent = whois({"silent", "--timeout", "0.3"});
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  EXPECT_EQ(silent.exitCode, 1);
  EXPECT_EQ(silent.out, "");
  EXPECT_EQ(silent.err, "No answer from " + server.address("arin") + " in 0.3 s\n");

  const ProgramResult flood = whois({"flood"});
  EXPECT_EQ(flood.exitCode, 1);
  EXPECT_EQ(flood.err, "Answer from " + server.address("arin") + " cut at 4 MiB\n");
  // 4 MiB of 80-byte lines, each now ending in CR LF, and the note.
  const std::string note = "[The answer of " + server.address("arin") + " was cut at 4 MiB; the rest was dropped.]\r\n";
  ASSERT_GT(flood.out.size(), note.size());
  EXPECT_EQ(flood.out.substr(flood.out.size() - note.size()), note);
  EXPECT_LE(flood.out.size(), std::size_t{4} * 1024 * 1024 * 81 / 80 + note.size() + 2);
}

TEST_F(WhoisCliTest, ReportsARefusedPort) {
  const std::string refused = "127.0.0.1:" + std::to_string(LoopbackWhoisServer::refusedPort());
  const ProgramResult result = runQvlog({"whois", "193.0.0.1", "--server", "arin=" + refused});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Could not reach " + refused + " : Connection refused\n");
  // A referral to a server that refuses: ARIN's answer is still not shown.
  const ProgramResult referred = whois({"193.0.0.1", "--server=ripe=" + refused});
  EXPECT_EQ(referred.exitCode, 1);
  EXPECT_EQ(referred.out, "");
  EXPECT_EQ(referred.err, "Could not reach " + refused + " : Connection refused\n");
}

TEST(WhoisCliUsage, RejectsBadOptions) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"whois", "--server", "arni=127.0.0.1"},
                                             {"whois", "--server", "arin"},
                                             {"whois", "--server", "arin=127.0.0.1:0"},
                                             {"whois", "--timeout", "0"},
                                             {"whois", "--timeout", "soon"},
                                             {"whois", "1.2.3.4", "5.6.7.8"},
                                             {"whois", "--verbose"}}) {
    const ProgramResult result = runQvlog(args);
    EXPECT_EQ(result.exitCode, 2) << args.back();
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("Usage: qvlog whois"), std::string::npos) << args.back();
  }
}

}  // namespace
}  // namespace qv::test
