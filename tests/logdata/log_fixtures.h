#pragma once

#include <cstdint>
#ifdef _WIN32
#include <process.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "logdata/read_buffer.h"

namespace qv::test {

inline std::string hex8(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

// A 72-byte log header with the given tag, record count and newest position.
inline std::string logHeader(const std::string& tag, const std::string& count, const std::string& newest) {
  return tag + "\tFFFFFFFF\t00000000\t" + count + "\t" + newest + "\t00000000" + count + "\tFFFFFFFF\r\n";
}

struct TrafficFields {
  std::string time = "01C3D0DD14B10080";
  std::string protocol = "0000012D";
  std::string localIp = "0200A8C0";
  std::string remoteIp = "0500000A";
  std::string localPort = "00000050";
  std::string remotePort = "000004D2";
  std::string direction = "00000001";
  std::string beginTime = "01C3D0DD14B10080";
  std::string endTime = "01C3D0DD14B10080";
  std::string occurrences = "00000001";
  std::string action = "00000001";
  std::string nameAddress;
  std::string ruleName = "Block_all";
  std::string applicationName = "C:\\app.exe";
};

// A record line as a saved selection writes it: the fields, then two runs of
// 16 NUL bytes, three N/A fields and CR (no LF).
inline std::string trafficLine(const TrafficFields& f) {
  const std::string body = f.time + "\t" + f.protocol + "\t" + f.localIp + "\t" + f.remoteIp + "\t" + f.localPort +
                           "\t" + f.remotePort + "\t" + f.direction + "\t" + f.beginTime + "\t" + f.endTime + "\t" +
                           f.occurrences + "\t" + f.action + "\t00000000\t00000000\t" + std::string(32, '0') + "\t" +
                           f.nameAddress + "\t" + f.ruleName + "\t" + f.applicationName + "\t";
  const std::string trailer = std::string(16, '\0') + "\t" + std::string(16, '\0') + "\tN/A\tN/A\tN/A\r";
  return hex8(static_cast<std::uint32_t>(body.size() + 55)) + "\t" + body + trailer;
}

struct PacketFields {
  std::string time = "01C3D0DD14B10080";
  std::string localIp = "0200A8C0";
  std::string remoteIp = "0500000A";
  std::string localPort = "00000050";
  std::string remotePort = "000004D2";
  std::string direction = "00000001";
  std::string action = "00000001";
  std::string nameAddress = "host.example";
  std::string applicationName = "C:\\app.exe";
  std::int64_t packetLengthField = -1;  // the frame's own size when negative
};

// One packet record: the text part, the frame, CR LF.
inline std::string packetRecord(const std::vector<std::uint8_t>& frame, const PacketFields& f = {}) {
  const std::uint32_t packetLength =
      f.packetLengthField < 0 ? static_cast<std::uint32_t>(frame.size()) : static_cast<std::uint32_t>(f.packetLengthField);
  const std::string text = f.time + "\t00000000\t" + f.localIp + "\t" + f.remoteIp + "\t" + f.localPort + "\t" +
                           f.remotePort + "\t" + hex8(packetLength) + "\t" + f.direction + "\t" + f.action +
                           "\t00000000\t" + f.nameAddress + "\t" + f.applicationName + "\t";
  const std::string bytes(frame.begin(), frame.end());
  return hex8(static_cast<std::uint32_t>(9 + text.size() + bytes.size() + 2)) + "\t" + text + bytes + "\r\n";
}

// An Ethernet frame of `size` bytes with the given EtherType and, from byte
// 14 on, the given bytes; the rest zero.
inline std::vector<std::uint8_t> frameOf(std::size_t size, std::uint16_t etherType,
                                         const std::vector<std::uint8_t>& fromByte14 = {}) {
  std::vector<std::uint8_t> frame(size, 0);
  if (size > 13) {
    frame[12] = static_cast<std::uint8_t>(etherType >> 8);
    frame[13] = static_cast<std::uint8_t>(etherType & 0xFF);
  }
  for (std::size_t i = 0; i < fromByte14.size() && 14 + i < size; ++i) frame[14 + i] = fromByte14[i];
  return frame;
}

inline SharedReadBuffer readBufferOf(const std::string& content) { return qv::readBufferOf(content); }

inline std::string readFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline int currentProcessId() {
#ifdef _WIN32
  return ::_getpid();
#else
  return static_cast<int>(::getpid());
#endif
}

// Creates a new folder named `prefix` and six random letters, as mkdtemp
// does where it exists, and returns its path.
inline std::string makeUniqueFolder(const std::string& prefix) {
  static std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string path = prefix;
    for (int i = 0; i < 6; ++i) path += static_cast<char>('a' + random() % 26);
    std::error_code error;
    if (std::filesystem::create_directory(path, error)) return path;
    if (error) throw std::runtime_error("cannot create a folder at " + path + ": " + error.message());
  }
  throw std::runtime_error("no unused folder name for " + prefix);
}

#ifndef _WIN32
// Runs `write` with the file size limit at `bytes`, as a full disk would stop
// it: write() fails with EFBIG once the limit is reached (SIGXFSZ ignored).
template <typename Write>
auto underFileSizeLimit(rlim_t bytes, Write write) {
  struct sigaction ignore {}, previousAction {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &previousAction);
  rlimit previousLimit{};
  ::getrlimit(RLIMIT_FSIZE, &previousLimit);
  rlimit small = previousLimit;
  small.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &small);
  auto result = write();
  ::setrlimit(RLIMIT_FSIZE, &previousLimit);
  ::sigaction(SIGXFSZ, &previousAction, nullptr);
  return result;
}
#endif

// A fresh folder under the system's temporary folder, removed (even when made
// read-only) on destruction.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& name = "test")
      : path_(std::filesystem::temp_directory_path() /
              ("qv_" + name + "_" + std::to_string(currentProcessId()) + "_" + std::to_string(counter_++))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

}  // namespace qv::test
