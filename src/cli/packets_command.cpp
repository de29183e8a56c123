#include "cli/commands.h"

namespace qv::cli {

// Placeholder until the subcommand is built.
int runPackets(Arguments, std::ostream&, std::ostream& err) {
  err << "qvlog: 'packets' is not available in this build\n";
  return 2;
}

}  // namespace qv::cli
