#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "capture/ipv4_network.h"
#include "capture/packet_log_writer.h"

namespace qv {

// How an imported frame's local end and action are decided (see frameEndpoints).
struct CaptureImportOptions {
  std::vector<Ipv4Network> localNetworks = privateIpv4Networks();
  PacketAction action = PacketAction::kAllowed;
};

enum class CaptureImportStatus {
  kImported,     // every frame of the capture is in the log
  kIncomplete,   // the capture is damaged or cut short; the log holds the frames before that
  kCannotRead,   // no log: the file is missing, unreadable or no capture
  kNotEthernet,  // no log: the frames are of another link type
};

struct CaptureImport {
  CaptureImportStatus status = CaptureImportStatus::kCannotRead;
  std::size_t frameCount = 0;
  std::string message;   // empty when kImported
  std::string logBytes;  // the packet log, for kImported and kIncomplete
};

// Reads a capture file (any format libpcap reads, Ethernet link type) and
// makes the packet log that holds its frames in capture order, each with its
// time at 100 ns resolution. The newest position is the last record, so the
// viewer shows the last frame first, as it does with the firewall's own log.
CaptureImport packetLogFromCapture(const std::string& capturePath, const CaptureImportOptions& options);

}  // namespace qv
