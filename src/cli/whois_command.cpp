#include <charconv>
#include <chrono>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/criteria_options.h"
#include "platform/tcp_connection.h"
#include "whois/whois_chain.h"
#include "whois/whois_servers.h"

namespace qv::cli {

namespace {

constexpr std::string_view kWhoisUsage =
    "Usage: qvlog whois [ADDRESS] [--server NAME=HOST[:PORT]]... [--timeout SECONDS] [--trace]\n"
    "NAME is one of arin, apnic, lacnic, ripe, ipv6.\n";

// The most data one read asks for.
constexpr std::size_t kReadBlockSize = 65500;
constexpr double kLongestTimeoutSeconds = 3600;

struct WhoisOptions {
  std::string query;
  whois::WhoisServers servers;
  whois::WhoisLimits limits;
  bool trace = false;
};

std::optional<std::chrono::milliseconds> parseTimeout(std::string_view text) {
  double seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(seconds) || seconds < 0.001 || seconds > kLongestTimeoutSeconds) return std::nullopt;
  return std::chrono::milliseconds(std::llround(seconds * 1000));
}

// "--server NAME=HOST[:PORT]": sets that server; the error text otherwise.
std::string setServer(std::string_view value, whois::WhoisServers& servers) {
  const std::size_t equals = value.find('=');
  if (equals == std::string_view::npos) return "--server: expected NAME=HOST[:PORT], got '" + std::string(value) + "'";
  const std::optional<whois::ServerId> server = whois::serverFromName(value.substr(0, equals));
  if (!server) {
    return "--server: '" + std::string(value.substr(0, equals)) + "' is not one of arin, apnic, lacnic, ripe, ipv6";
  }
  std::optional<whois::ServerAddress> address = whois::parseServerAddress(value.substr(equals + 1));
  if (!address) return "--server: '" + std::string(value.substr(equals + 1)) + "' is not HOST or HOST:PORT";
  servers.setAddress(*server, std::move(*address));
  return {};
}

// Reads the arguments; on a mistake writes the reason and the usage to `err`.
std::optional<WhoisOptions> parseOptions(Arguments args, std::ostream& err) {
  WhoisOptions options;
  bool haveQuery = false;
  bool optionsEnded = false;
  for (std::size_t at = 0; at < args.size();) {
    const std::string_view arg = args[at];
    OptionStep step;
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      step.consumed = 1;
    } else if (!optionsEnded && arg == "--trace") {
      options.trace = true;
      step.consumed = 1;
    } else if (!optionsEnded && arg.starts_with("--server")) {
      if (const std::optional<std::string_view> value = optionValue(args, at, "--server", step)) {
        step.error = setServer(*value, options.servers);
      }
    } else if (!optionsEnded && arg.starts_with("--timeout")) {
      if (const std::optional<std::string_view> value = optionValue(args, at, "--timeout", step)) {
        if (const std::optional<std::chrono::milliseconds> timeout = parseTimeout(*value)) {
          options.limits.silenceLimit = *timeout;
        } else {
          step.error = "--timeout: expected seconds from 0.001 to 3600, got '" + std::string(*value) + "'";
        }
      }
    } else if ((optionsEnded || !arg.starts_with("--")) && !haveQuery) {
      options.query = std::string(arg);
      haveQuery = true;
      step.consumed = 1;
    } else {
      step.error = "unexpected argument '" + std::string(arg) + "'";
    }
    if (step.consumed == 0 && step.error.empty()) step.error = "unexpected argument '" + std::string(arg) + "'";
    if (!step.error.empty()) {
      err << "qvlog whois: " << step.error << '\n' << kWhoisUsage;
      return std::nullopt;
    }
    at += step.consumed;
  }
  return options;
}

// Runs the chain to its end over one blocking connection at a time.
void runChain(whois::WhoisChain& chain, bool trace, std::ostream& err) {
  using Status = platform::TcpConnection::Status;
  const std::chrono::milliseconds silence = chain.limits().silenceLimit;
  platform::TcpConnection connection;
  std::vector<char> block(kReadBlockSize);
  whois::Step step = chain.start();
  while (step.kind != whois::StepKind::kFinished) {
    if (step.kind == whois::StepKind::kConnect) {
      const auto result = connection.connect(step.address.host, step.address.port, silence);
      if (result.status == Status::kOk) {
        step = chain.connected();
      } else if (result.status == Status::kCreateFailed) {
        step = chain.createFailed(result.errorText);
      } else if (result.status == Status::kTimedOut) {
        step = chain.silenceExpired();
      } else {
        step = chain.connectFailed(result.errorText);
      }
    } else if (step.kind == whois::StepKind::kSend) {
      if (trace) err << "query " << whois::serverName(chain.currentServer()) << ' ' << chain.currentQuery() << '\n';
      const auto result = connection.send(step.bytes, silence);
      if (result.status == Status::kOk) {
        step = whois::Step{whois::StepKind::kWait, {}, {}};
      } else if (result.status == Status::kTimedOut) {
        step = chain.silenceExpired();
      } else {
        step = chain.sendFailed(result.errorText);
      }
    } else {
      const auto result = connection.receive(block, silence);
      if (result.status == Status::kOk) {
        step = chain.dataReceived(std::string_view(block.data(), result.size));
      } else if (result.status == Status::kClosed) {
        step = chain.closedByServer();
      } else if (result.status == Status::kTimedOut) {
        step = chain.silenceExpired();
      } else {
        step = chain.receiveFailed(result.errorText);
      }
    }
  }
}

}  // namespace

// qvlog whois [ADDRESS]: asks ARIN about ADDRESS, follows the referrals as
// the whois dialog does, and writes the text the dialog would show.
int runWhois(Arguments args, std::ostream& out, std::ostream& err) {
  std::optional<WhoisOptions> options = parseOptions(args, err);
  if (!options) return kUsageExit;
  whois::WhoisChain chain(std::move(options->query), std::move(options->servers), options->limits);
  runChain(chain, options->trace, err);
  out << chain.shownText();
  if (chain.failed()) {
    out.flush();
    err << chain.status() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace qv::cli
