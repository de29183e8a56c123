#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_codes.h"

#ifdef QV_HAVE_CAPTURE
#include "capture/capture_export.h"
#include "capture/capture_import.h"
#include "platform/atomic_file.h"
#endif

namespace qv::cli {

#ifdef QV_HAVE_CAPTURE

namespace {

constexpr std::string_view kUsage =
    "usage: qvlog import-pcap CAPTURE OUT.log [--local-net CIDR]... [--action allowed|blocked]\n";

}  // namespace

int runImportPcap(Arguments args, std::ostream& out, std::ostream& err) {
  std::vector<std::string_view> files;
  CaptureImportOptions options;
  bool localNetsGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--local-net" && hasValue) {
      const std::optional<Ipv4Network> network = parseIpv4Network(args[++i]);
      if (!network) {
        err << "qvlog: --local-net wants an IPv4 address or range such as 192.168.1.0/24, not '" << args[i] << "'\n";
        return kUsageExit;
      }
      // The first range given replaces the private ranges assumed by default.
      if (!localNetsGiven) options.localNetworks.clear();
      localNetsGiven = true;
      options.localNetworks.push_back(*network);
    } else if (arg == "--action" && hasValue) {
      const std::string_view action = args[++i];
      if (action == "allowed") {
        options.action = PacketAction::kAllowed;
      } else if (action == "blocked") {
        options.action = PacketAction::kBlocked;
      } else {
        err << "qvlog: --action wants 'allowed' or 'blocked', not '" << action << "'\n";
        return kUsageExit;
      }
    } else if (arg.starts_with("--")) {
      err << "qvlog: unknown or incomplete option '" << arg << "'\n" << kUsage;
      return kUsageExit;
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) {
    err << kUsage;
    return kUsageExit;
  }

  const std::string capturePath(files[0]);
  const std::string logPath(files[1]);
  const CaptureImport imported = packetLogFromCapture(capturePath, options);
  if (imported.status == CaptureImportStatus::kCannotRead || imported.status == CaptureImportStatus::kNotEthernet) {
    err << imported.message << "\n";
    return kFailureExit;
  }
  const platform::FileWriteResult written = platform::writeFileAtomically(logPath, imported.logBytes);
  if (!written.ok()) {
    err << fileWriteMessage(written) << "\n";
    return kFailureExit;
  }
  out << "Frames : " << imported.frameCount << "\n";
  if (imported.status == CaptureImportStatus::kIncomplete) {
    err << imported.message << "\n";
    return kFailureExit;
  }
  return kSuccessExit;
}

#else

int runImportPcap(Arguments, std::ostream&, std::ostream& err) {
  err << "qvlog: 'import-pcap' is not available in this build (libpcap was not found)\n";
  return kUsageExit;
}

#endif

}  // namespace qv::cli
