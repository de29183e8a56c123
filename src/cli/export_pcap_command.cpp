#include "cli/commands.h"

namespace qv::cli {

// Placeholder until the subcommand is built.
int runExportPcap(Arguments, std::ostream&, std::ostream& err) {
  err << "qvlog: 'export-pcap' is not available in this build\n";
  return 2;
}

}  // namespace qv::cli
