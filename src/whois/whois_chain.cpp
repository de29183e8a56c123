#include "whois/whois_chain.h"

#include "whois/referral_rules.h"

#include <optional>
#include <utility>

namespace qv::whois {

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

}  // namespace

std::string secondsText(std::chrono::milliseconds duration) {
  const long long milliseconds = duration.count();
  std::string text = std::to_string(milliseconds / 1000);
  if (long long fraction = milliseconds % 1000; fraction != 0) {
    std::string digits = std::to_string(1000 + fraction).substr(1);
    while (digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text + " s";
}

std::string sizeText(std::size_t bytes) {
  constexpr std::size_t kMebibyte = std::size_t{1024} * 1024;
  if (bytes >= kMebibyte && bytes % kMebibyte == 0) return std::to_string(bytes / kMebibyte) + " MiB";
  return std::to_string(bytes) + " bytes";
}

WhoisChain::WhoisChain(std::string query, WhoisServers servers, WhoisLimits limits)
    : servers_(std::move(servers)), limits_(limits), query_(std::move(query)) {}

Step WhoisChain::start() {
  if (phase_ != Phase::kIdle) return Step{};
  return connectTo(ServerId::kArin);
}

Step WhoisChain::connectTo(ServerId server) {
  server_ = server;
  ++queryCount_;
  receivedBytes_ = 0;
  answer_ = AnswerLines();
  phase_ = Phase::kConnecting;
  status_ = "Connecting to " + host() + std::string(kEllipsis);
  return Step{StepKind::kConnect, currentAddress(), {}};
}

Step WhoisChain::connected() {
  if (phase_ != Phase::kConnecting) return Step{finished() ? StepKind::kFinished : StepKind::kWait, {}, {}};
  phase_ = Phase::kReceiving;
  status_ = "Waiting for " + host() + std::string(kEllipsis);
  return Step{StepKind::kSend, {}, query_ + "\r\n"};
}

Step WhoisChain::dataReceived(std::string_view block) {
  if (finished()) return Step{};
  const std::size_t room = limits_.maxAnswerBytes - receivedBytes_;
  if (block.size() > room) {
    answer_.append(block.substr(0, room));
    receivedBytes_ = limits_.maxAnswerBytes;
    return evaluate(true);
  }
  answer_.append(block);
  receivedBytes_ += block.size();
  return Step{StepKind::kWait, {}, {}};
}

Step WhoisChain::closedByServer() {
  if (finished()) return Step{};
  return evaluate(false);
}

Step WhoisChain::evaluate(bool cut) {
  answer_.finish();
  std::string text = answer_.text();
  if (cut) {
    text += "[The answer of " + host() + " was cut at " + sizeText(limits_.maxAnswerBytes) +
            "; the rest was dropped.]\r\n";
  }
  const std::optional<Referral> referral = findReferral(text, query_, servers_.address(ServerId::kIpv6).host);
  if (!referral) {
    if (cut) return finish(std::move(text), "Answer from " + host() + " cut at " + sizeText(limits_.maxAnswerBytes), true);
    return finish(std::move(text), "Answer from " + host(), false);
  }
  if (queryCount_ >= limits_.maxQueries) {
    return finish(std::move(text),
                  "Stopped after " + std::to_string(queryCount_) + " queries: " + host() + " still refers further",
                  true);
  }
  if (referral->centralEuropean) centralEuropean_ = true;
  query_ = referral->query;
  return connectTo(referral->server);
}

Step WhoisChain::connectFailed(std::string_view systemText) {
  if (finished()) return Step{};
  return finish(shownText_, "Could not reach " + host() + " : " + std::string(systemText), true);
}

Step WhoisChain::createFailed(std::string_view systemText) {
  if (finished()) return Step{};
  return finish("Create() Error : " + std::string(systemText),
                "Could not reach " + host() + " : " + std::string(systemText), true);
}

Step WhoisChain::sendFailed(std::string_view systemText) {
  if (finished()) return Step{};
  return finish("Send() Error", "Could not send the query to " + host() + " : " + std::string(systemText), true);
}

Step WhoisChain::receiveFailed(std::string_view systemText) {
  if (finished()) return Step{};
  return finish("OnReceive() Error", "Could not read the answer of " + host() + " : " + std::string(systemText),
                true);
}

Step WhoisChain::silenceExpired() {
  if (finished()) return Step{};
  return finish(shownText_, "No answer from " + host() + " in " + secondsText(limits_.silenceLimit), true);
}

Step WhoisChain::finish(std::string shown, std::string status, bool failed) {
  phase_ = Phase::kFinished;
  shownText_ = std::move(shown);
  status_ = std::move(status);
  failed_ = failed;
  return Step{};
}

}  // namespace qv::whois
