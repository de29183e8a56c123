#pragma once

#include "whois/answer_lines.h"
#include "whois/whois_servers.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace qv::whois {

// Bounds that keep a broken or hostile server from holding the chain or
// filling memory.
struct WhoisLimits {
  // Queries per chain, the first included: the network-handle rule can
  // otherwise repeat forever.
  std::size_t maxQueries = 8;
  // Answer bytes kept per server; the connection is dropped beyond that.
  std::size_t maxAnswerBytes = std::size_t{4} * 1024 * 1024;
  // How long a connection may stay without data, the connect included.
  std::chrono::milliseconds silenceLimit{15000};
};

// What the driver does next.
enum class StepKind : std::uint8_t {
  // Close any connection still open, then connect to `address`.
  kConnect,
  // Send `bytes` in one call, then wait for data.
  kSend,
  // Keep waiting for data or the server's close.
  kWait,
  // The chain is over: close the connection, show shownText() and status().
  kFinished,
};

struct Step {
  StepKind kind = StepKind::kFinished;
  ServerAddress address;
  std::string bytes;
};

// One whois query chain as a state machine: the driver reports what its
// socket did, and each report answers with the next step. It starts at
// ARIN, collects each answer line by line and follows the referral rules to
// the registry that holds the address. Answer bytes stay bytes; the
// character set only tells a view how to decode them. Reports that arrive
// after the chain has finished change nothing.
class WhoisChain {
 public:
  WhoisChain(std::string query, WhoisServers servers, WhoisLimits limits = {});

  Step start();
  Step connected();
  Step dataReceived(std::string_view block);
  Step closedByServer();
  // The host could not be resolved or the connection was refused or failed.
  Step connectFailed(std::string_view systemText);
  // No socket could be created for the next connection.
  Step createFailed(std::string_view systemText);
  Step sendFailed(std::string_view systemText);
  Step receiveFailed(std::string_view systemText);
  // The connection stayed without data for the silence limit.
  Step silenceExpired();

  bool finished() const { return phase_ == Phase::kFinished; }
  // True when the chain ended in a failure or was stopped by a bound; the
  // status line then says which one and at which server.
  bool failed() const { return failed_; }
  // What the answer area shows: empty until a final answer or an error.
  const std::string& shownText() const { return shownText_; }
  // Set for good by a referral to LACNIC or RIPE: their answers are
  // Central European text.
  bool centralEuropean() const { return centralEuropean_; }
  // One line about the chain's progress or its end (UTF-8).
  const std::string& status() const { return status_; }

  ServerId currentServer() const { return server_; }
  const ServerAddress& currentAddress() const { return servers_.address(server_); }
  const std::string& currentQuery() const { return query_; }
  std::size_t queryCount() const { return queryCount_; }
  const WhoisLimits& limits() const { return limits_; }

 private:
  enum class Phase : std::uint8_t { kIdle, kConnecting, kReceiving, kFinished };

  Step connectTo(ServerId server);
  Step evaluate(bool cut);
  Step finish(std::string shown, std::string status, bool failed);
  std::string host() const { return currentAddress().text(); }

  WhoisServers servers_;
  WhoisLimits limits_;
  Phase phase_ = Phase::kIdle;
  ServerId server_ = ServerId::kArin;
  std::string query_;
  std::size_t queryCount_ = 0;
  std::size_t receivedBytes_ = 0;
  AnswerLines answer_;
  std::string shownText_;
  std::string status_;
  bool centralEuropean_ = false;
  bool failed_ = false;
};

// "15 s", "0.25 s": a silence limit as messages write it.
std::string secondsText(std::chrono::milliseconds duration);
// "4 MiB", "1000 bytes": an answer bound as messages write it.
std::string sizeText(std::size_t bytes);

}  // namespace qv::whois
