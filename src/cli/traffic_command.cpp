#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/criteria_options.h"
#include "cli/read_report.h"
#include "cli/view_options.h"
#include "views/read_operation.h"
#include "views/view_commands.h"
#include "views/traffic_columns.h"

namespace qv::cli {
namespace {

struct TrafficCommandOptions {
  std::string file;
  CriteriaOptions criteria;
  ViewOptions view;
};

std::optional<TrafficCommandOptions> parseTrafficOptions(Arguments args, std::ostream& err) {
  ViewOptions view;
  const ViewOptionSet set{.filterList = true, .analyze = true, .sort = true, .exportRows = true, .format = true, .columns = kTrafficColumnLayout};
  std::optional<CommandLine> line =
      parseCommandLine("traffic", args, {.ruleName = true, .count = true}, 1, "FILE", err, viewOptionReader(set, view));
  if (!line) return std::nullopt;
  return TrafficCommandOptions{line->positional.front(), line->criteria, std::move(view)};
}

// One line per shown row, the cells of the fourteen columns joined by TAB.
void writeTrafficRows(LineWriter& writer, const TrafficShownList& shown) {
  if (shown.isNoDataPlaceholder()) return;
  for (const TrafficRecord& record : shown.rows()) {
    std::string& line = writer.line();
    for (int column = 0; column < kTrafficColumnCount; ++column) {
      if (column > 0) line += '\t';
      appendTrafficCellText(line, record, static_cast<TrafficColumn>(column));
    }
    writer.endLine();
  }
}

}  // namespace

// read -> filter run (with the filter list) -> analysis -> sort clicks -> output -> export.
int runTraffic(Arguments args, std::ostream& out, std::ostream& err) {
  const std::optional<TrafficCommandOptions> options = parseTrafficOptions(args, err);
  if (!options) return kUsageExit;

  const std::optional<FilterList> filterList = loadFilterListOption(options->view, "traffic", err);
  if (!filterList) return kFailureExit;

  TrafficLogState state;
  const ReadResult read = readTrafficLog(state, options->file, options->criteria.criteria, options->criteria.now(),
                                         exclusionFor(*filterList));
  reportReadMessage(read, err);
  if (read.status == ReadStatus::kValidationFailed) return readExitCode(read.status);
  if (options->view.analyze) analyzeTrafficView(state);
  clickTrafficHeaders(state, options->view.sortClicks);

  LineWriter writer(out);
  const RowFormat format = options->criteria.countOnly ? RowFormat::kTsv : options->view.format;
  if (format != RowFormat::kTsv) {
    writeTrafficRowsAs(writer, state.shown, format);
  } else {
    if (!options->criteria.countOnly) writeTrafficRows(writer, state.shown);
    writer.line() += state.countLine;
    writer.endLine();
  }
  writer.flush();
  const int exitCode = finishOutput("traffic", out, err, readExitCode(read.status));
  if (!options->view.exportPath || exitCode != kSuccessExit) return exitCode;
  return exportTrafficRows(state, *options->view.exportPath, exitCode, err);
}

}  // namespace qv::cli
