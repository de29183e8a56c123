#pragma once

#include <pcap/pcap.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/capture_time.h"
#include "logdata/log_fixtures.h"

namespace qv::test {

struct CapturedFrame {
  CaptureTime time;
  std::vector<std::uint8_t> bytes;
  std::uint32_t originalLength = 0;  // 0: the captured length

  friend bool operator==(const CapturedFrame&, const CapturedFrame&) = default;
};

// Writes a capture file with libpcap, at micro- or nanosecond precision.
inline void writeCaptureFile(const std::filesystem::path& path, int linkType, const std::vector<CapturedFrame>& frames,
                             bool nanoseconds = false) {
  pcap_t* dead = pcap_open_dead_with_tstamp_precision(
      linkType, 262144, nanoseconds ? PCAP_TSTAMP_PRECISION_NANO : PCAP_TSTAMP_PRECISION_MICRO);
  pcap_dumper_t* dumper = pcap_dump_open(dead, path.c_str());
  for (const CapturedFrame& frame : frames) {
    pcap_pkthdr header{};
    header.ts.tv_sec = static_cast<time_t>(frame.time.seconds);
    header.ts.tv_usec = static_cast<suseconds_t>(nanoseconds ? frame.time.nanoseconds : frame.time.nanoseconds / 1000);
    header.caplen = static_cast<bpf_u_int32>(frame.bytes.size());
    header.len = frame.originalLength != 0 ? frame.originalLength : header.caplen;
    pcap_dump(reinterpret_cast<u_char*>(dumper), &header, frame.bytes.data());
  }
  pcap_dump_close(dumper);
  pcap_close(dead);
}

struct CaptureContent {
  int linkType = -1;
  std::vector<CapturedFrame> frames;
  std::string error;  // libpcap's message when the file could not be read to its end
};

// Reads every frame of a capture with libpcap at microsecond precision.
inline CaptureContent readCaptureFile(const std::filesystem::path& path) {
  CaptureContent content;
  char errorText[PCAP_ERRBUF_SIZE] = {};
  pcap_t* handle = pcap_open_offline_with_tstamp_precision(path.c_str(), PCAP_TSTAMP_PRECISION_MICRO, errorText);
  if (handle == nullptr) {
    content.error = errorText;
    return content;
  }
  content.linkType = pcap_datalink(handle);
  pcap_pkthdr* header = nullptr;
  const u_char* data = nullptr;
  int outcome = 0;
  while ((outcome = pcap_next_ex(handle, &header, &data)) == 1) {
    CapturedFrame frame;
    // The file's seconds are unsigned 32-bit; libpcap sign-extends them.
    frame.time = {static_cast<std::uint32_t>(header->ts.tv_sec), static_cast<std::uint32_t>(header->ts.tv_usec) * 1000U};
    frame.bytes.assign(data, data + header->caplen);
    frame.originalLength = header->len;
    content.frames.push_back(std::move(frame));
  }
  if (outcome != PCAP_ERROR_BREAK) content.error = pcap_geterr(handle);
  pcap_close(handle);
  return content;
}

}  // namespace qv::test
