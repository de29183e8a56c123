#pragma once

namespace qv::cli {

// The process exit codes every qvlog command uses.
inline constexpr int kSuccessExit = 0;
// A file that could not be read, written or was rejected; output that was lost.
inline constexpr int kFailureExit = 1;
// A mistake in the command line.
inline constexpr int kUsageExit = 2;

}  // namespace qv::cli
