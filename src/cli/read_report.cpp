#include "cli/read_report.h"

#include "cli/exit_codes.h"

namespace qv::cli {

int readExitCode(ReadStatus status) {
  switch (status) {
    case ReadStatus::kShown:
    case ReadStatus::kNoRecords: return kSuccessExit;
    case ReadStatus::kOpenFailed:
    case ReadStatus::kInvalidFormat: return kFailureExit;
    case ReadStatus::kValidationFailed: return kUsageExit;
  }
  return kFailureExit;
}

void reportReadMessage(const ReadResult& result, std::ostream& err) {
  if (!result.message.empty()) err << result.message << '\n';
}

int finishOutput(std::string_view command, std::ostream& out, std::ostream& err, int exitCode) {
  out.flush();
  if (out) return exitCode;
  err << "qvlog " << command << ": the output could not be written\n";
  return kFailureExit;
}

}  // namespace qv::cli
