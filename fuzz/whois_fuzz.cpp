// Feeds arbitrary answers to the whois line assembly, the referral rules and
// the query chain. The first byte chooses where the answer is split into
// reads; however it is split, the assembled text must be the same, every
// line must end in CR LF, and no chain may exceed its bounds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "whois/answer_display.h"
#include "whois/answer_lines.h"
#include "whois/referral_rules.h"
#include "whois/whois_chain.h"

namespace {

std::string assemble(std::string_view answer, std::size_t step) {
  qv::whois::AnswerLines lines;
  for (std::size_t at = 0; at < answer.size(); at += step) lines.append(answer.substr(at, step));
  lines.finish();
  return lines.text();
}

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t step = data[0] % 16 + 1;
  const std::string_view raw(reinterpret_cast<const char*>(data + 1), size - 1);
  // A zero byte ends a block, so compare only answers without one.
  const std::string_view answer = raw.substr(0, raw.find('\0'));

  const std::string whole = assemble(answer, answer.size() + 1);
  check(assemble(answer, step) == whole);
  for (std::size_t at = 0; at < whole.size(); ++at) {
    if (whole[at] == '\n') check(at > 0 && whole[at - 1] == '\r');
  }
  check(whole.empty() || whole.ends_with("\r\n"));

  (void)qv::whois::findReferral(whole, "192.0.2.1", "whois.6bone.net");
  (void)qv::whois::answerDisplayText(whole, (data[0] & 0x80) != 0);

  // Every server of a chain gives this answer, in reads of `step` bytes.
  qv::whois::WhoisLimits limits;
  limits.maxAnswerBytes = 64;
  qv::whois::WhoisChain chain("192.0.2.1", qv::whois::WhoisServers(), limits);
  qv::whois::Step next = chain.start();
  while (next.kind == qv::whois::StepKind::kConnect) {
    check(chain.queryCount() <= limits.maxQueries);
    next = chain.connected();
    for (std::size_t at = 0; at < raw.size() && next.kind != qv::whois::StepKind::kConnect &&
                             next.kind != qv::whois::StepKind::kFinished;
         at += step) {
      next = chain.dataReceived(raw.substr(at, step));
    }
    if (next.kind != qv::whois::StepKind::kConnect && next.kind != qv::whois::StepKind::kFinished) {
      next = chain.closedByServer();
    }
  }
  check(chain.finished());
  return 0;
}
