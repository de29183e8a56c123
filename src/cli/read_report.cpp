#include "cli/read_report.h"

#include "cli/criteria_options.h"

namespace qv::cli {

int readExitCode(ReadStatus status) {
  switch (status) {
    case ReadStatus::Shown:
    case ReadStatus::NoRecords: return 0;
    case ReadStatus::OpenFailed:
    case ReadStatus::InvalidFormat: return 1;
    case ReadStatus::ValidationFailed: return kUsageExit;
  }
  return 1;
}

void reportReadMessage(const ReadResult& result, std::ostream& err) {
  if (!result.message.empty()) err << result.message << '\n';
}

}  // namespace qv::cli
