#include "cli/commands.h"

namespace qv::cli {

// Placeholder until the subcommand is built.
int runVendor(Arguments, std::ostream&, std::ostream& err) {
  err << "qvlog: 'vendor' is not available in this build\n";
  return 2;
}

}  // namespace qv::cli
