#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "filter/filter_criteria.h"

namespace qv::cli {

// The quick filter as given on the command line, with the clock it uses.
struct CriteriaOptions {
  FilterCriteria criteria;
  std::optional<std::int64_t> nowUnixSeconds;  // from --now; the real clock otherwise
  bool countOnly = false;                      // --count

  std::int64_t now() const;
};

// Which of the shared options a command takes.
struct CriteriaOptionSet {
  bool ruleName = false;  // --rule (the traffic log only)
  bool count = false;     // --count
};

// The answer of a command's own option reader for the argument at an index:
// how many arguments it took (0: not one of its options), or a usage error.
struct OptionStep {
  std::size_t consumed = 0;
  std::string error;
};
using CommandOptionReader = std::function<OptionStep(Arguments args, std::size_t at)>;

struct CommandLine {
  std::vector<std::string> positional;
  CriteriaOptions criteria;
};

// Parses a command's arguments: positional ones in order, the quick filter's
// CRITERIA, --now, --count (when the set allows it), and whatever the
// command's own reader takes. "--opt VALUE" and "--opt=VALUE" are both
// accepted; a value may begin with '-' ("--time -5"); "--" ends the options.
// On an unknown option, a missing or bad value, or a wrong number of
// positional arguments, writes a message naming the command to err and
// answers nothing (the command then exits with kUsageExit).
std::optional<CommandLine> parseCommandLine(std::string_view command, Arguments args, CriteriaOptionSet set,
                                            std::size_t positionalCount, std::string_view positionalNames,
                                            std::ostream& err, const CommandOptionReader& own = {});

// The value of a "--name VALUE" / "--name=VALUE" option at args[at], for
// commands' own readers: nullopt with step.error set when the value is missing,
// nullopt with step.consumed == 0 when args[at] is not that option.
std::optional<std::string_view> optionValue(Arguments args, std::size_t at, std::string_view name, OptionStep& step);

}  // namespace qv::cli
