#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace qv::cli {

// Each subcommand takes the arguments after its own name and returns the
// process exit code. Output goes to `out`, messages to `err`.
using Arguments = std::span<const std::string_view>;

int runTraffic(Arguments args, std::ostream& out, std::ostream& err);
int runPackets(Arguments args, std::ostream& out, std::ostream& err);
int runStats(Arguments args, std::ostream& out, std::ostream& err);
int runDecode(Arguments args, std::ostream& out, std::ostream& err);
int runVendor(Arguments args, std::ostream& out, std::ostream& err);
int runImportPcap(Arguments args, std::ostream& out, std::ostream& err);
int runExportPcap(Arguments args, std::ostream& out, std::ostream& err);
int runWhois(Arguments args, std::ostream& out, std::ostream& err);

}  // namespace qv::cli
