#include <gtest/gtest.h>

#include <string>

#include "whois/whois_chain.h"
#include "whois_server/registry_answers.h"

namespace qv::whois {
namespace {

namespace answers = qv::test::answers;

// Plays one server's whole answer: connect, send, data, close.
Step answerWith(WhoisChain& chain, std::string_view answer) {
  EXPECT_EQ(chain.connected().kind, StepKind::kSend);
  EXPECT_EQ(chain.dataReceived(answer).kind, StepKind::kWait);
  return chain.closedByServer();
}

TEST(WhoisChain, SendsTheQueryWithCrLfToArinFirst) {
  WhoisChain chain("", WhoisServers());
  const Step connect = chain.start();
  EXPECT_EQ(connect.kind, StepKind::kConnect);
  EXPECT_EQ(connect.address, (ServerAddress{"whois.arin.net", 43}));
  EXPECT_EQ(chain.status(), "Connecting to whois.arin.net\xE2\x80\xA6");
  const Step send = chain.connected();
  EXPECT_EQ(send.kind, StepKind::kSend);
  EXPECT_EQ(send.bytes, "\r\n");
  EXPECT_EQ(chain.status(), "Waiting for whois.arin.net\xE2\x80\xA6");
}

TEST(WhoisChain, ShowsOnlyTheLastServersAnswer) {
  WhoisServers servers;
  servers.setAddress(ServerId::kRipe, ServerAddress{"127.0.0.1", 4343});
  WhoisChain chain("193.0.0.1", servers);
  chain.start();
  const Step referral = answerWith(chain, answers::arinOrgRecord("RIPE", "RIPE NCC"));
  EXPECT_EQ(referral.kind, StepKind::kConnect);
  EXPECT_EQ(referral.address, (ServerAddress{"127.0.0.1", 4343}));
  EXPECT_EQ(chain.shownText(), "");
  EXPECT_TRUE(chain.centralEuropean());
  EXPECT_EQ(chain.connected().bytes, "193.0.0.1\r\n");
  chain.dataReceived(answers::kRipeInetnum);
  EXPECT_EQ(chain.closedByServer().kind, StepKind::kFinished);
  EXPECT_EQ(chain.shownText(), answers::kRipeInetnum);
  EXPECT_FALSE(chain.failed());
  EXPECT_EQ(chain.status(), "Answer from 127.0.0.1:4343");
  EXPECT_EQ(chain.queryCount(), 2u);
}

TEST(WhoisChain, StopsAReferralLoopAtTheQueryBound) {
  WhoisChain chain("4.2.2.2", WhoisServers());
  Step step = chain.start();
  int connects = 0;
  while (step.kind == StepKind::kConnect) {
    ++connects;
    step = answerWith(chain, answers::kArinNetworkList);
  }
  EXPECT_EQ(connects, 8);
  EXPECT_TRUE(chain.failed());
  EXPECT_EQ(chain.status(), "Stopped after 8 queries: whois.arin.net still refers further");
  // The last list is shown, so the user sees where the loop went.
  EXPECT_NE(chain.shownText().find("(NET-4-0-0-0-1)"), std::string::npos);
}

TEST(WhoisChain, CutsAnAnswerAtTheSizeBound) {
  WhoisLimits limits;
  limits.maxAnswerBytes = 20;
  WhoisChain chain("x", WhoisServers(), limits);
  chain.start();
  chain.connected();
  EXPECT_EQ(chain.dataReceived("0123456789\n").kind, StepKind::kWait);
  // The block that crosses the bound ends the connection at once.
  EXPECT_EQ(chain.dataReceived("abcdefghij\nmore\n").kind, StepKind::kFinished);
  EXPECT_EQ(chain.shownText(),
            "0123456789\r\nabcdefghi\r\n[The answer of whois.arin.net was cut at 20 bytes; the rest was dropped.]\r\n");
  EXPECT_TRUE(chain.failed());
  EXPECT_EQ(chain.status(), "Answer from whois.arin.net cut at 20 bytes");
}

TEST(WhoisChain, FollowsAReferralFromACutAnswer) {
  WhoisLimits limits;
  limits.maxAnswerBytes = 40;
  WhoisChain chain("x", WhoisServers(), limits);
  chain.start();
  chain.connected();
  const Step step = chain.dataReceived("OrgID:      APNIC\n" + std::string(100, 'x'));
  EXPECT_EQ(step.kind, StepKind::kConnect);
  EXPECT_EQ(chain.currentServer(), ServerId::kApnic);
  EXPECT_FALSE(chain.failed());
}

TEST(WhoisChain, ReportsFailuresInTheStatusLine) {
  WhoisLimits limits;
  limits.silenceLimit = std::chrono::milliseconds(250);
  {
    WhoisChain chain("1.2.3.4", WhoisServers(), limits);
    chain.start();
    chain.connected();
    EXPECT_EQ(chain.silenceExpired().kind, StepKind::kFinished);
    EXPECT_EQ(chain.status(), "No answer from whois.arin.net in 0.25 s");
    EXPECT_EQ(chain.shownText(), "");
    EXPECT_TRUE(chain.failed());
    // Reports after the end change nothing.
    EXPECT_EQ(chain.dataReceived("late\n").kind, StepKind::kFinished);
    EXPECT_EQ(chain.closedByServer().kind, StepKind::kFinished);
    EXPECT_EQ(chain.shownText(), "");
  }
  {
    WhoisChain chain("1.2.3.4", WhoisServers());
    chain.start();
    answerWith(chain, answers::arinOrgRecord("LACNIC", "LACNIC"));
    chain.connectFailed("Connection refused");
    EXPECT_EQ(chain.status(), "Could not reach whois.lacnic.net : Connection refused");
    EXPECT_EQ(chain.shownText(), "");
  }
  {
    WhoisChain chain("1.2.3.4", WhoisServers());
    chain.start();
    chain.createFailed("Too many open files");
    EXPECT_EQ(chain.shownText(), "Create() Error : Too many open files");
    EXPECT_TRUE(chain.failed());
  }
  {
    WhoisChain chain("1.2.3.4", WhoisServers());
    chain.start();
    chain.connected();
    chain.dataReceived("partial\n");
    chain.receiveFailed("Connection reset by peer");
    EXPECT_EQ(chain.shownText(), "OnReceive() Error");
    EXPECT_EQ(chain.status(), "Could not read the answer of whois.arin.net : Connection reset by peer");
  }
}

TEST(WhoisChain, WritesDurationsAndSizesPlainly) {
  EXPECT_EQ(secondsText(std::chrono::milliseconds(15000)), "15 s");
  EXPECT_EQ(secondsText(std::chrono::milliseconds(1050)), "1.05 s");
  EXPECT_EQ(sizeText(std::size_t{4} * 1024 * 1024), "4 MiB");
  EXPECT_EQ(sizeText(1000), "1000 bytes");
}

}  // namespace
}  // namespace qv::whois
