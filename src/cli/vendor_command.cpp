#include <string>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/read_report.h"
#include "decode/vendor_lookup.h"

namespace qv::cli {

namespace {

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Three hex pairs joined by dashes, as the decoder writes an OUI.
bool isOuiText(std::string_view text) {
  if (text.size() != 8) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool separator = i == 2 || i == 5;
    if (separator ? text[i] != '-' : !isHexDigit(text[i])) return false;
  }
  return true;
}

}  // namespace

// qvlog vendor XX-XX-XX: the vendor text for the OUI, looked up through the
// vendor library beside the program exactly as the decoder does it.
int runVendor(Arguments args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "qvlog vendor: expected one OUI written as XX-XX-XX (three hex pairs joined by dashes)\n";
    return kUsageExit;
  }
  if (!isOuiText(args[0])) {
    err << "qvlog vendor: '" << args[0] << "' is not an OUI written as XX-XX-XX (three hex pairs joined by dashes)\n";
    return kUsageExit;
  }
  out << lookupVendor(args[0]) << '\n';
  return finishOutput("vendor", out, err, kSuccessExit);
}

}  // namespace qv::cli
