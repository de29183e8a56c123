#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/criteria_options.h"
#include "cli/read_report.h"
#include "cli/view_options.h"
#include "views/packet_columns.h"
#include "views/read_operation.h"
#include "views/view_commands.h"

namespace qv::cli {
namespace {

struct PacketsCommandOptions {
  std::string file;
  CriteriaOptions criteria;
  ViewOptions view;
};

std::optional<PacketsCommandOptions> parsePacketsOptions(Arguments args, std::ostream& err) {
  ViewOptions view;
  const ViewOptionSet set{.sort = true, .exportRows = true, .format = true, .columns = kPacketColumnLayout};
  std::optional<CommandLine> line = parseCommandLine("packets", args, {.ruleName = false, .count = true}, 1, "FILE",
                                                     err, viewOptionReader(set, view));
  if (!line) return std::nullopt;
  return PacketsCommandOptions{line->positional.front(), line->criteria, std::move(view)};
}

// One line per shown row, the cells of the eleven columns joined by TAB.
void writePacketRows(LineWriter& writer, const PacketShownList& shown) {
  if (shown.isNoDataPlaceholder()) return;
  for (std::size_t row = 0; row < shown.size(); ++row) {
    const PacketRecord& record = shown[row];
    std::string& line = writer.line();
    for (int column = 0; column < kPacketColumnCount; ++column) {
      if (column > 0) line += '\t';
      appendPacketCellText(line, record, static_cast<PacketColumn>(column));
    }
    writer.endLine();
  }
}

}  // namespace

// read -> filter run -> sort clicks -> output -> export.
int runPackets(Arguments args, std::ostream& out, std::ostream& err) {
  const std::optional<PacketsCommandOptions> options = parsePacketsOptions(args, err);
  if (!options) return kUsageExit;

  PacketLogState state;
  const ReadResult read = readPacketLog(state, options->file, options->criteria.criteria, options->criteria.now());
  reportReadMessage(read, err);
  if (read.status == ReadStatus::kValidationFailed) return readExitCode(read.status);
  clickPacketHeaders(state, options->view.sortClicks);

  LineWriter writer(out);
  const RowFormat format = options->criteria.countOnly ? RowFormat::kTsv : options->view.format;
  if (format != RowFormat::kTsv) {
    writePacketRowsAs(writer, state.shown, format);
  } else {
    if (!options->criteria.countOnly) writePacketRows(writer, state.shown);
    writer.line() += state.countLine;
    writer.endLine();
  }
  writer.flush();
  const int exitCode = finishOutput("packets", out, err, readExitCode(read.status));
  if (!options->view.exportPath || exitCode != kSuccessExit) return exitCode;
  return exportPacketRows(state, *options->view.exportPath, exitCode, err);
}

}  // namespace qv::cli
