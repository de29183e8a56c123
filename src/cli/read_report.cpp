#include "cli/read_report.h"

#include "cli/criteria_options.h"

namespace qv::cli {

int readExitCode(ReadStatus status) {
  switch (status) {
    case ReadStatus::kShown:
    case ReadStatus::kNoRecords: return 0;
    case ReadStatus::kOpenFailed:
    case ReadStatus::kInvalidFormat: return 1;
    case ReadStatus::kValidationFailed: return kUsageExit;
  }
  return 1;
}

void reportReadMessage(const ReadResult& result, std::ostream& err) {
  if (!result.message.empty()) err << result.message << '\n';
}

int finishOutput(std::string_view command, std::ostream& out, std::ostream& err, int exitCode) {
  out.flush();
  if (out) return exitCode;
  err << "qvlog " << command << ": the output could not be written\n";
  return 1;
}

}  // namespace qv::cli
