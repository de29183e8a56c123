#include "cli/view_options.h"

#include <algorithm>
#include <charconv>

#include "cli/exit_codes.h"
#include "filter/filter_list_file.h"
#include "logdata/log_export.h"
#include "platform/system_error.h"
#include "views/view_commands.h"

namespace qv::cli {

namespace {

std::string_view trimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

std::string columnChoices(std::span<const ColumnLayout> columns) {
  std::string choices;
  for (const ColumnLayout& column : columns) {
    if (!choices.empty()) choices += ", ";
    choices += '"';
    choices += trimTrailingBlanks(column.title);
    choices += '"';
  }
  return choices;
}

}  // namespace

std::optional<int> sortColumnOf(std::string_view name, std::span<const ColumnLayout> columns) {
  int index = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), index);
  if (!name.empty() && error == std::errc() && end == name.data() + name.size()) {
    if (index >= 0 && static_cast<std::size_t>(index) < columns.size()) return index;
    return std::nullopt;
  }
  const std::string_view wanted = trimTrailingBlanks(name);
  for (std::size_t column = 0; column < columns.size(); ++column) {
    if (sameIgnoringCase(wanted, trimTrailingBlanks(columns[column].title))) return static_cast<int>(column);
  }
  return std::nullopt;
}

CommandOptionReader viewOptionReader(const ViewOptionSet& set, ViewOptions& options) {
  return [set, &options](Arguments args, std::size_t at) {
    OptionStep step;
    if (set.filterList) {
      if (auto value = optionValue(args, at, "--filter-list", step)) options.filterListPath = std::string(*value);
      if (step.consumed != 0 || !step.error.empty()) return step;
    }
    if (set.exportRows) {
      if (auto value = optionValue(args, at, "--export", step)) options.exportPath = std::string(*value);
      if (step.consumed != 0 || !step.error.empty()) return step;
    }
    if (set.format) {
      if (auto value = optionValue(args, at, "--format", step)) {
        if (const std::optional<RowFormat> format = rowFormatNamed(*value)) {
          options.format = *format;
        } else {
          step.error = "--format: no format '" + std::string(*value) + "'; give tsv, csv or json";
        }
      }
      if (step.consumed != 0 || !step.error.empty()) return step;
    }
    if (set.sort) {
      if (auto value = optionValue(args, at, "--sort", step)) {
        if (const std::optional<int> column = sortColumnOf(*value, set.columns)) {
          options.sortClicks.push_back(*column);
        } else {
          step.error = "--sort: no column '" + std::string(*value) + "'; give 0 to " +
                       std::to_string(set.columns.size() - 1) + " or one of " + columnChoices(set.columns);
        }
      }
      if (step.consumed != 0 || !step.error.empty()) return step;
    }
    if (set.analyze && args[at].starts_with("--analyze")) {
      if (args[at] == "--analyze") {
        options.analyze = true;
        step.consumed = 1;
      } else if (args[at][9] == '=') {
        step.error = "option '--analyze' takes no value";
      }
    }
    return step;
  };
}

std::optional<FilterList> loadFilterListOption(const ViewOptions& options, std::string_view command,
                                               std::ostream& err) {
  if (!options.filterListPath) return FilterList();
  FilterListFileLoad load = loadFilterListFile(*options.filterListPath);
  if (load.errorNumber != 0) {
    err << "qvlog " << command << ": cannot read the filter list '" << *options.filterListPath << "' : "
        << platform::systemErrorText(load.errorNumber) << '\n';
    return std::nullopt;
  }
  return std::move(load.list);
}

namespace {

int exportResultCode(const ExportResult& result, int exitCode, std::ostream& err) {
  if (result.written()) return exitCode;
  err << result.message << '\n';
  return exitCode == kSuccessExit ? kFailureExit : exitCode;
}

}  // namespace

int exportTrafficRows(const TrafficLogState& state, const std::string& path, int exitCode, std::ostream& err) {
  return exportResultCode(exportTrafficSelection(shownTrafficEvents(state), path), exitCode, err);
}

int exportPacketRows(const PacketLogState& state, const std::string& path, int exitCode, std::ostream& err) {
  return exportResultCode(exportPacketSelection(shownPacketEvents(state), path), exitCode, err);
}

namespace {

// The CSV line end is CR LF; LineWriter adds the LF.
template <class Shown, class AppendHeader, class AppendCsv, class AppendJson>
void writeRowsAs(LineWriter& writer, const Shown& shown, RowFormat format, AppendHeader appendHeader,
                 AppendCsv appendCsv, AppendJson appendJson) {
  if (format == RowFormat::kCsv) {
    appendHeader(writer.line());
    writer.line() += '\r';
    writer.endLine();
  }
  if (shown.isNoDataPlaceholder()) return;
  for (std::size_t row = 0; row < shown.size(); ++row) {
    if (format == RowFormat::kCsv) {
      appendCsv(writer.line(), shown[row]);
      writer.line() += '\r';
    } else {
      appendJson(writer.line(), shown[row]);
    }
    writer.endLine();
  }
}

}  // namespace

void writeTrafficRowsAs(LineWriter& writer, const TrafficShownList& shown, RowFormat format) {
  writeRowsAs(writer, shown, format, &appendTrafficCsvHeader, &appendTrafficCsvRow, &appendTrafficJsonLine);
}

void writePacketRowsAs(LineWriter& writer, const PacketShownList& shown, RowFormat format) {
  writeRowsAs(writer, shown, format, &appendPacketCsvHeader, &appendPacketCsvRow, &appendPacketJsonLine);
}

}  // namespace qv::cli
