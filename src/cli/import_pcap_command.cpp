#include "cli/commands.h"

namespace qv::cli {

// Placeholder until the subcommand is built.
int runImportPcap(Arguments, std::ostream&, std::ostream& err) {
  err << "qvlog: 'import-pcap' is not available in this build\n";
  return 2;
}

}  // namespace qv::cli
