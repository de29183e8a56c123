#include "cli/criteria_options.h"

#include <string>

#include "logdata/time_text.h"
#include "platform/local_time.h"

namespace qv::cli {
namespace {

std::string* textField(FilterCriteria& criteria, std::string_view name, bool ruleName) {
  if (name == "--time") return &criteria.time;
  if (name == "--remote-ip") return &criteria.remoteIp;
  if (name == "--remote-port") return &criteria.remotePort;
  if (name == "--local-ip") return &criteria.localIp;
  if (name == "--local-port") return &criteria.localPort;
  if (name == "--app") return &criteria.applicationName;
  if (name == "--rule" && ruleName) return &criteria.ruleName;
  return nullptr;
}

// Check boxes are all checked unless cleared by their --no- option.
bool* checkBox(FilterCriteria& criteria, std::string_view name) {
  if (name == "--no-allow") return &criteria.allow;
  if (name == "--no-block") return &criteria.block;
  if (name == "--no-in") return &criteria.in;
  if (name == "--no-out") return &criteria.out;
  if (name == "--no-tcp") return &criteria.tcp;
  if (name == "--no-udp") return &criteria.udp;
  if (name == "--no-icmp") return &criteria.icmp;
  return nullptr;
}

std::string_view optionName(std::string_view argument) {
  const std::size_t equals = argument.find('=');
  return equals == std::string_view::npos ? argument : argument.substr(0, equals);
}

OptionStep readCriteriaOption(Arguments args, std::size_t at, CriteriaOptionSet set, CriteriaOptions& options) {
  const std::string_view name = optionName(args[at]);
  OptionStep step;
  if (std::string* field = textField(options.criteria, name, set.ruleName)) {
    if (std::optional<std::string_view> value = optionValue(args, at, name, step)) field->assign(*value);
    return step;
  }
  if (name == "--now") {
    if (std::optional<std::string_view> value = optionValue(args, at, name, step)) {
      options.nowUnixSeconds = unixSecondsOfLocalTimeText(*value);
      if (!options.nowUnixSeconds) {
        step.error = "--now: expected a local time written as \"YYYY/MM/DD HH:MM:SS\", got '" + std::string(*value) + "'";
      }
    }
    return step;
  }
  bool* flag = checkBox(options.criteria, name);
  const bool isCount = set.count && name == "--count";
  if (flag == nullptr && !isCount) {
    if (name == "--rule") step.error = "--rule applies to the traffic log only";
    return step;
  }
  if (name.size() != args[at].size()) {
    step.error = "option '" + std::string(name) + "' takes no value";
    return step;
  }
  if (flag != nullptr) *flag = false;
  if (isCount) options.countOnly = true;
  step.consumed = 1;
  return step;
}

}  // namespace

std::int64_t CriteriaOptions::now() const { return nowUnixSeconds ? *nowUnixSeconds : platform::currentUnixSeconds(); }

std::optional<std::string_view> optionValue(Arguments args, std::size_t at, std::string_view name, OptionStep& step) {
  const std::string_view argument = args[at];
  if (!argument.starts_with(name)) return std::nullopt;
  if (argument.size() == name.size()) {
    if (at + 1 >= args.size()) {
      step.error = "option '" + std::string(name) + "' needs a value";
      return std::nullopt;
    }
    step.consumed = 2;
    return args[at + 1];
  }
  if (argument[name.size()] != '=') return std::nullopt;
  step.consumed = 1;
  return argument.substr(name.size() + 1);
}

std::optional<CommandLine> parseCommandLine(std::string_view command, Arguments args, CriteriaOptionSet set,
                                            std::size_t positionalCount, std::string_view positionalNames,
                                            std::ostream& err, const CommandOptionReader& own) {
  CommandLine line;
  auto fail = [&](std::string_view message) -> std::optional<CommandLine> {
    err << "qvlog " << command << ": " << message << '\n';
    return std::nullopt;
  };
  bool optionsEnded = false;
  for (std::size_t at = 0; at < args.size();) {
    const std::string_view argument = args[at];
    if (optionsEnded || argument.size() < 2 || argument.front() != '-') {
      if (line.positional.size() == positionalCount) {
        return fail("unexpected argument '" + std::string(argument) + "' (usage: qvlog " + std::string(command) +
                    " " + std::string(positionalNames) + " [OPTIONS])");
      }
      line.positional.emplace_back(argument);
      ++at;
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      ++at;
      continue;
    }
    OptionStep step;
    if (own) step = own(args, at);
    if (step.consumed == 0 && step.error.empty()) step = readCriteriaOption(args, at, set, line.criteria);
    if (!step.error.empty()) return fail(step.error);
    if (step.consumed == 0) {
      return fail("unknown option '" + std::string(optionName(argument)) + "' (see qvlog --help)");
    }
    at += step.consumed;
  }
  if (line.positional.size() < positionalCount) {
    return fail("missing " + std::string(positionalNames) + " (usage: qvlog " + std::string(command) + " " +
                std::string(positionalNames) + " [OPTIONS])");
  }
  return line;
}

}  // namespace qv::cli
