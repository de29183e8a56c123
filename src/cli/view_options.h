#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/criteria_options.h"
#include "cli/read_report.h"
#include "filter/filter_list.h"
#include "filter/quick_filter_run.h"
#include "views/read_operation.h"
#include "views/row_formats.h"
#include "views/traffic_columns.h"

namespace qv::cli {

// What a list-view command does after its read, besides the quick filter.
struct ViewOptions {
  std::optional<std::string> filterListPath;  // --filter-list LST
  bool analyze = false;                       // --analyze
  std::vector<int> sortClicks;                // --sort COL, one header click each
  std::optional<std::string> exportPath;      // --export OUT
  RowFormat format = RowFormat::kTsv;         // --format tsv|csv|json
};

// Which of them a command takes, and the columns its --sort names.
struct ViewOptionSet {
  bool filterList = false;
  bool analyze = false;
  bool sort = false;
  bool exportRows = false;
  bool format = false;
  std::span<const ColumnLayout> columns;
};

// The reader of these options for parseCommandLine.
CommandOptionReader viewOptionReader(const ViewOptionSet& set, ViewOptions& options);

// The column a --sort value names: its index (0 = the first column), or its
// header title, compared without regard to case or trailing blanks.
std::optional<int> sortColumnOf(std::string_view name, std::span<const ColumnLayout> columns);

// Loads the --filter-list file (an empty list without one). A file that
// cannot be read is reported on err, naming the command, and gives nothing.
std::optional<FilterList> loadFilterListOption(const ViewOptions& options, std::string_view command,
                                               std::ostream& err);

// --export: the shown rows as if every row were selected. Failures (none
// shown, the file not writable) are reported on err; the answer is the exit
// code the command ends with.
int exportTrafficRows(const TrafficLogState& state, const std::string& path, int exitCode, std::ostream& err);
int exportPacketRows(const PacketLogState& state, const std::string& path, int exitCode, std::ostream& err);

// --format csv|json: the shown rows for other programs (CSV with its header
// row even when no row is shown; JSON Lines). The count line is left out, so
// the output is nothing but data; tsv output is the command's own.
void writeTrafficRowsAs(LineWriter& writer, const TrafficShownList& shown, RowFormat format);
void writePacketRowsAs(LineWriter& writer, const PacketShownList& shown, RowFormat format);

}  // namespace qv::cli
