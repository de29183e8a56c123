#include "capture/capture_import.h"

#include <cstdint>
#include <span>

#include "capture/capture_time.h"
#include "capture/frame_endpoints.h"
#include "capture/pcap_handle.h"
#include "logdata/log_header.h"

namespace qv {

namespace {

std::string linkTypeText(int linkType) {
  std::string text = std::to_string(linkType);
  const char* name = pcap_datalink_val_to_name(linkType);
  const char* description = pcap_datalink_val_to_description(linkType);
  if (name != nullptr) {
    text += " (";
    text += name;
    if (description != nullptr) {
      text += ", ";
      text += description;
    }
    text += ")";
  }
  return text;
}

// A classic capture holds an unsigned 32-bit count of seconds, which libpcap
// hands over sign-extended: times from 2038 on arrive negative.
std::uint64_t captureSeconds(time_t seconds) noexcept {
  if (seconds >= 0) return static_cast<std::uint64_t>(seconds);
  if (seconds >= INT32_MIN) return static_cast<std::uint32_t>(seconds);
  return 0;
}

// The header states the record count, so it is filled in over its place holder at the end.
void finishLog(CaptureImport& result) {
  const auto count = static_cast<std::uint32_t>(result.frameCount);
  const std::string header = logHeaderLine(kPacketLogTag, count, count);
  result.logBytes.replace(0, header.size(), header);
  if (count > 0) result.logBytes += packetLogTrailer();
}

}  // namespace

CaptureImport packetLogFromCapture(const std::string& capturePath, const CaptureImportOptions& options) {
  CaptureImport result;
  char errorText[PCAP_ERRBUF_SIZE] = {};
  PcapHandle capture(
      pcap_open_offline_with_tstamp_precision(capturePath.c_str(), PCAP_TSTAMP_PRECISION_NANO, errorText));
  if (!capture) {
    result.status = CaptureImportStatus::kCannotRead;
    result.message = std::string("Capture Open Error : ") + errorText;
    return result;
  }
  const int linkType = pcap_datalink(capture.get());
  if (linkType != DLT_EN10MB) {
    result.status = CaptureImportStatus::kNotEthernet;
    result.message = "Capture Link Type Error : the frames are of link type " + linkTypeText(linkType) +
                     "; only Ethernet (1) captures can be imported";
    return result;
  }

  result.logBytes = logHeaderLine(kPacketLogTag, 0, 0);
  result.status = CaptureImportStatus::kImported;
  for (;;) {
    pcap_pkthdr* header = nullptr;
    const u_char* data = nullptr;
    const int outcome = pcap_next_ex(capture.get(), &header, &data);
    if (outcome == PCAP_ERROR_BREAK) break;
    if (outcome != 1) {
      result.status = CaptureImportStatus::kIncomplete;
      result.message = std::string("Capture Read Error : ") + pcap_geterr(capture.get()) + " (after " +
                       std::to_string(result.frameCount) + " complete frames)";
      break;
    }
    const std::span<const std::uint8_t> frame(data, header->caplen);
    const FrameEndpoints ends = frameEndpoints(frame, options.localNetworks);
    PacketLogEntry entry;
    // With nanosecond precision requested, libpcap hands the fraction over in tv_usec.
    entry.timeValue = timeValueFromCaptureTime(
        {captureSeconds(header->ts.tv_sec), static_cast<std::uint32_t>(header->ts.tv_usec)});
    entry.localAddress = ends.localAddress;
    entry.remoteAddress = ends.remoteAddress;
    entry.localPort = ends.localPort;
    entry.remotePort = ends.remotePort;
    entry.direction = ends.direction;
    entry.action = options.action;
    entry.frame = frame;
    appendPacketLogRecord(result.logBytes, entry);
    ++result.frameCount;
  }
  finishLog(result);
  return result;
}

}  // namespace qv
