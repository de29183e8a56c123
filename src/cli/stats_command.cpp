#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/criteria_options.h"
#include "cli/read_report.h"
#include "cli/view_options.h"
#include "views/port_statistics.h"
#include "views/read_operation.h"
#include "views/view_commands.h"

namespace qv::cli {

// read -> filter run (with the filter list) -> the port statistics of the shown events.
int runStats(Arguments args, std::ostream& out, std::ostream& err) {
  ViewOptions view;
  const std::optional<CommandLine> line = parseCommandLine("stats", args, {.ruleName = true, .count = false}, 1,
                                                           "FILE", err, viewOptionReader({.filterList = true, .columns = {}}, view));
  if (!line) return kUsageExit;
  const std::optional<FilterList> filterList = loadFilterListOption(view, "stats", err);
  if (!filterList) return kFailureExit;

  TrafficLogState state;
  const ReadResult read = readTrafficLog(state, line->positional.front(), line->criteria.criteria,
                                         line->criteria.now(), exclusionFor(*filterList));
  reportReadMessage(read, err);
  if (read.status == ReadStatus::kValidationFailed) return readExitCode(read.status);

  LineWriter writer(out);
  if (read.status != ReadStatus::kShown) {
    // Nothing was read: the answer of the traffic command.
    writer.line() += state.countLine;
    writer.endLine();
  } else {
    const std::string text = portStatisticsText(state.shown.rows());
    std::string& lines = writer.line();
    for (std::size_t at = 0; at < text.size(); ++at) {
      if (text.compare(at, 2, "\r\n") == 0) continue;  // the LF that follows is kept
      lines += text[at];
    }
    // The text ends in a line end only when it is the header alone; it gets no second one.
    if (!lines.ends_with('\n')) writer.endLine();
  }
  writer.flush();
  return finishOutput("stats", out, err, readExitCode(read.status));
}

}  // namespace qv::cli
