#include "cli/commands.h"

namespace qv::cli {

// Placeholder until the subcommand is built.
int runDecode(Arguments, std::ostream&, std::ostream& err) {
  err << "qvlog: 'decode' is not available in this build\n";
  return 2;
}

}  // namespace qv::cli
