// Feeds arbitrary capture files to the import. libpcap reads a file, so each
// input is written to a scratch file first. Whatever the import makes must be
// a packet log that reads back with one record per imported frame; a capture
// it cannot read makes no log at all.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "capture/capture_import.h"
#include "logdata/packet_log_reader.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

const std::string& scratchPath() {
  static const std::string path = "/tmp/qv_capture_import_fuzz_" + std::to_string(::getpid()) + ".pcap";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(scratchPath().c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  std::fclose(file);
  if (!written) return 0;

  const qv::CaptureImport imported = qv::packetLogFromCapture(scratchPath(), qv::CaptureImportOptions{});
  std::remove(scratchPath().c_str());

  switch (imported.status) {
    case qv::CaptureImportStatus::kCannotRead:
    case qv::CaptureImportStatus::kNotEthernet:
      check(imported.logBytes.empty() && imported.frameCount == 0 && !imported.message.empty());
      return 0;
    case qv::CaptureImportStatus::kImported:
      check(imported.message.empty());
      break;
    case qv::CaptureImportStatus::kIncomplete:
      check(!imported.message.empty());
      break;
  }

  const qv::PacketLog log = qv::parsePacketLog(qv::readBufferOf(imported.logBytes));
  check(log.records.size() == imported.frameCount);
  for (const qv::PacketRecord& record : log.records) {
    check(record.packetBytes().size() == record.packetLength());
  }
  return 0;
}
