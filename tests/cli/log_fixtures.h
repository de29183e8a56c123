#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

// Small traffic and packet logs written byte by byte, in the firewall's format.
namespace qv::test {

inline std::string hex8(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

// The 16 stored digits of a moment given in seconds since 1970 UTC.
inline std::string timeValueDigits(std::int64_t unixSeconds, unsigned milliseconds = 0) {
  const std::uint64_t value = static_cast<std::uint64_t>(unixSeconds) * 10000000ULL + milliseconds * 10000ULL +
                              116444736000000000ULL;
  char text[17];
  std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(value));
  return text;
}

// The stored form of a dotted address: its first octet in the last digit pair.
inline std::string storedIp(unsigned a, unsigned b, unsigned c, unsigned d) {
  return hex8((d << 24) | (c << 16) | (b << 8) | a);
}

inline std::string logHeader(const char* tag, std::uint32_t count, std::uint32_t newestPosition) {
  return std::string(tag) + "\tFFFFFFFF\t00000000\t" + hex8(count) + "\t" + hex8(newestPosition) + "\t00000000" +
         hex8(count) + "\tFFFFFFFF\r\n";
}

struct TrafficLine {
  std::int64_t time = 1078912800;  // 2004/03/10 10:00:00 UTC
  const char* protocol = "0000012D";
  std::string localIp = storedIp(192, 168, 0, 2);
  std::string remoteIp = storedIp(10, 0, 0, 5);
  std::uint16_t localPort = 80;
  std::uint16_t remotePort = 1234;
  const char* direction = "00000001";
  std::uint32_t occurrences = 1;
  const char* action = "00000001";
  std::string nameAddress;
  std::string ruleName = "Block_all";
  std::string applicationName = "C:\\app.exe";
};

// One record line as the export writes it, CR included (no LF).
inline std::string trafficLine(const TrafficLine& line) {
  const std::string time = timeValueDigits(line.time);
  std::string body = time + "\t" + line.protocol + "\t" + line.localIp + "\t" + line.remoteIp + "\t" +
                     hex8(line.localPort) + "\t" + hex8(line.remotePort) + "\t" + line.direction + "\t" + time +
                     "\t" + time + "\t" + hex8(line.occurrences) + "\t" + line.action + "\t" +
                     "00000000\t00000000\t00000000000000000000000000000000\t" + line.nameAddress + "\t" +
                     line.ruleName + "\t" + line.applicationName + "\t";
  std::string tail(16, '\0');
  tail += '\t';
  tail += std::string(16, '\0');
  tail += "\tN/A\tN/A\tN/A\r";
  return hex8(static_cast<std::uint32_t>(body.size() + 55)) + "\t" + body + tail;
}

inline std::string trafficLog(const std::vector<TrafficLine>& lines, std::uint32_t newestPosition = 0) {
  std::string log = logHeader("00000002", static_cast<std::uint32_t>(lines.size()), newestPosition);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) log += '\n';
    log += trafficLine(lines[i]);
  }
  return log + "\n";
}

struct PacketLine {
  std::int64_t time = 1078912800;
  unsigned milliseconds = 250;
  std::string localIp = storedIp(192, 168, 0, 2);
  std::string remoteIp = storedIp(10, 0, 0, 5);
  std::uint16_t localPort = 1025;
  std::uint16_t remotePort = 80;
  const char* direction = "00000002";
  const char* action = "00000000";
  std::string nameAddress;
  std::string applicationName = "C:\\app.exe";
  std::vector<std::uint8_t> frame;
};

// An Ethernet frame of the given length carrying IPv4 with the given
// protocol number (IHL 5), or another EtherType when etherType is not 0x0800.
inline std::vector<std::uint8_t> ethernetFrame(std::size_t length, std::uint16_t etherType, std::uint8_t ipProtocol = 6,
                                               std::uint8_t tcpFlags = 0) {
  std::vector<std::uint8_t> frame(length, 0);
  frame[12] = static_cast<std::uint8_t>(etherType >> 8);
  frame[13] = static_cast<std::uint8_t>(etherType);
  if (etherType == 0x0800 && length > 23) {
    frame[14] = 0x45;
    frame[23] = ipProtocol;
    if (length > 47) frame[47] = tcpFlags;
  }
  return frame;
}

inline std::string packetRecord(const PacketLine& line) {
  std::string text = timeValueDigits(line.time, line.milliseconds) + "\t00000000\t" + line.localIp + "\t" +
                     line.remoteIp + "\t" + hex8(line.localPort) + "\t" + hex8(line.remotePort) + "\t" +
                     hex8(static_cast<std::uint32_t>(line.frame.size())) + "\t" + line.direction + "\t" +
                     line.action + "\t00000000\t" + line.nameAddress + "\t" + line.applicationName + "\t";
  text.append(line.frame.begin(), line.frame.end());
  text += "\r\n";
  return hex8(static_cast<std::uint32_t>(text.size() + 9)) + "\t" + text;
}

inline std::string packetLog(const std::vector<PacketLine>& lines, std::uint32_t newestPosition = 0) {
  std::string log = logHeader("00000003", static_cast<std::uint32_t>(lines.size()), newestPosition);
  for (const PacketLine& line : lines) log += packetRecord(line);
  return log;
}

// A folder of its own for a test's files, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "qvlog-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    for (const std::string& file : files_) std::remove(file.c_str());
    ::rmdir(path_.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string write(const std::string& name, const std::string& bytes) {
    const std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary) << bytes;
    files_.push_back(file);
    return file;
  }
  std::string pathOf(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

}  // namespace qv::test
