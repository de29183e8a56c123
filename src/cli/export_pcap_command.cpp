#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_codes.h"

#ifdef QV_HAVE_CAPTURE
#include "capture/capture_export.h"
#include "cli/criteria_options.h"
#include "cli/read_report.h"
#include "cli/view_options.h"
#include "views/packet_columns.h"
#include "views/read_operation.h"
#include "views/view_commands.h"
#endif

namespace qv::cli {

#ifdef QV_HAVE_CAPTURE

namespace {

void writeNotes(const CaptureExport& exported, std::ostream& err) {
  if (exported.framesWithoutTime > 0) {
    err << "Note : " << exported.framesWithoutTime
        << " packet(s) have no time a capture can hold; written with time 0 (1970-01-01 00:00:00 UTC)\n";
  }
  if (exported.framesCutShort > 0) {
    err << "Note : " << exported.framesCutShort
        << " packet(s) end with the log file; written with the bytes present\n";
  }
}

}  // namespace

// read -> filter run -> sort clicks -> the shown rows as a capture file,
// oldest first unless a sort chose the order.
int runExportPcap(Arguments args, std::ostream& out, std::ostream& err) {
  ViewOptions view;
  const ViewOptionSet set{.sort = true, .columns = kPacketColumnLayout};
  const std::optional<CommandLine> line = parseCommandLine(
      "export-pcap", args, {.ruleName = false, .count = false}, 2, "FILE OUT.pcap", err, viewOptionReader(set, view));
  if (!line) return kUsageExit;

  PacketLogState state;
  const ReadResult read = readPacketLog(state, line->positional[0], line->criteria.criteria, line->criteria.now());
  reportReadMessage(read, err);
  if (read.status == ReadStatus::kValidationFailed) return readExitCode(read.status);
  if (read.status == ReadStatus::kOpenFailed || read.status == ReadStatus::kInvalidFormat) {
    out << state.countLine << '\n';
    return readExitCode(read.status);
  }

  clickPacketHeaders(state, view.sortClicks);

  // A log without records still gives a capture, one without frames.
  const PacketShownList& shown = state.shown;
  const std::vector<RowIndex> rows = captureRowOrder(shown, !view.sortClicks.empty());
  const PacketSequence packets{rows.size(),
                               [&shown, &rows](std::size_t i) -> const PacketRecord& { return shown[rows[i]]; }};
  const CaptureExport exported = exportCaptureFile(packets, line->positional[1]);
  if (!exported.ok) {
    err << exported.message << '\n';
    return kFailureExit;
  }
  writeNotes(exported, err);
  out << state.countLine << '\n';
  return kSuccessExit;
}

#else

int runExportPcap(Arguments, std::ostream&, std::ostream& err) {
  err << "qvlog: 'export-pcap' is not available in this build (libpcap was not found)\n";
  return kUsageExit;
}

#endif

}  // namespace qv::cli
