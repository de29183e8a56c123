#include "capture/capture_export.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "capture/capture_time.h"
#include "capture/pcap_handle.h"
#include "logdata/log_export.h"
#include "platform/atomic_file.h"
#include "platform/system_error.h"

namespace qv {

namespace {

// Tools reject frames longer than the file's snapshot length; most take no
// more than this one.
constexpr std::uint32_t kUsualSnapshotLength = 262144;
constexpr std::uint64_t kTimeDigits = 16;

struct FreeDeleter {
  void operator()(char* memory) const noexcept { std::free(memory); }
};

std::uint32_t snapshotLength(const PacketSequence& packets) {
  std::uint32_t length = kUsualSnapshotLength;
  for (std::size_t i = 0; i < packets.count; ++i) {
    const auto frameBytes = static_cast<std::uint32_t>(packets.at(i).packetBytes().size());
    if (frameBytes > length) length = frameBytes;
  }
  return length;
}

CaptureExport failure(std::string message) {
  CaptureExport result;
  result.message = std::move(message);
  return result;
}

}  // namespace

std::optional<std::uint64_t> storedTimeValue(const PacketRecord& record) {
  if (!record.buffer) return std::nullopt;
  const std::string_view content = record.buffer->content();
  // The record's text ends where its frame begins.
  const std::uint64_t packetOffset = record.packetOffset();
  const std::uint64_t textEnd = packetOffset < content.size() ? packetOffset : content.size();
  if (record.recordStart >= textEnd) return std::nullopt;
  const std::string_view text = content.substr(record.recordStart, textEnd - record.recordStart);
  const std::size_t tab = text.find('\t');
  if (tab == std::string_view::npos || text.size() - tab - 1 < kTimeDigits) return std::nullopt;
  return parseTimeValueDigits(text.substr(tab + 1, kTimeDigits));
}

CaptureExport captureFromPackets(const PacketSequence& packets) {
  char* memory = nullptr;
  std::size_t memorySize = 0;
  std::FILE* stream = open_memstream(&memory, &memorySize);
  if (stream == nullptr) return failure("File Write Error : " + platform::lastSystemErrorText());

  // The dumper owns the stream from here on and closes it; the memory stays ours.
  std::unique_ptr<char, FreeDeleter> ownedMemory;
  CaptureExport result;
  {
    PcapHandle dead(pcap_open_dead_with_tstamp_precision(DLT_EN10MB, static_cast<int>(snapshotLength(packets)),
                                                         PCAP_TSTAMP_PRECISION_MICRO));
    if (!dead) {
      std::fclose(stream);
      std::free(memory);
      return failure("File Write Error : " + platform::systemErrorText(ENOMEM));
    }
    PcapDumper dumper(pcap_dump_fopen(dead.get(), stream));
    if (!dumper) {
      const std::string error = pcap_geterr(dead.get());
      std::fclose(stream);
      std::free(memory);
      return failure("File Write Error : " + error);
    }
    static const u_char kNoBytes[1] = {0};
    for (std::size_t i = 0; i < packets.count; ++i) {
      const PacketRecord& record = packets.at(i);
      const auto [frame, statedLength] = record.frame();
      std::optional<CaptureTime> time;
      if (const std::optional<std::uint64_t> value = storedTimeValue(record)) time = captureTimeFromTimeValue(*value);
      if (!time) {
        time = CaptureTime{};
        ++result.framesWithoutTime;
      }
      if (frame.size() < statedLength) ++result.framesCutShort;
      pcap_pkthdr header{};
      header.ts.tv_sec = static_cast<time_t>(time->seconds);
      header.ts.tv_usec = static_cast<suseconds_t>(time->nanoseconds / 1000U);
      header.caplen = static_cast<bpf_u_int32>(frame.size());
      header.len = statedLength > frame.size() ? statedLength : header.caplen;
      pcap_dump(reinterpret_cast<u_char*>(dumper.get()), &header, frame.empty() ? kNoBytes : frame.data());
      ++result.frameCount;
    }
    const bool flushed = pcap_dump_flush(dumper.get()) == 0 && std::ferror(pcap_dump_file(dumper.get())) == 0;
    dumper.reset();
    ownedMemory.reset(memory);
    if (!flushed) return failure("File Write Error : " + platform::systemErrorText(ENOMEM));
  }
  result.captureBytes.assign(ownedMemory.get(), memorySize);
  result.ok = true;
  return result;
}

std::string fileWriteMessage(const platform::FileWriteResult& result) {
  std::string message(result.openFailed ? kExportOpenError : kExportWriteError);
  return message.append(" : ").append(result.errorText());
}

CaptureExport exportCaptureFile(const PacketSequence& packets, const std::string& path) {
  CaptureExport result = captureFromPackets(packets);
  if (!result.ok) return result;
  const platform::FileWriteResult written = platform::writeFileAtomically(path, result.captureBytes);
  if (!written.ok()) {
    result.ok = false;
    result.message = fileWriteMessage(written);
  }
  return result;
}

}  // namespace qv
