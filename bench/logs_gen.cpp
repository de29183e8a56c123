// Writes deterministic traffic and packet logs: the small bundled samples, or
// large logs for the read benchmarks. The same arguments always give the same
// bytes (fixed seed, no clock).
//
//   logs_gen --sample [--traffic FILE] [--packets FILE]
//   logs_gen [--events N] [--frames N] [--small-frames] [--traffic FILE] [--packets FILE]
//
// Without --sample, N defaults to 1000000 for both logs. --small-frames gives
// packets of short frames only (no bulk transfer, about 120 bytes a frame), the
// case where the records weigh most beside the image. A log whose FILE is not
// given is not written.

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::uint64_t kUnixEpochTimeValue = 116444736000000000ULL;
constexpr std::uint64_t kUnitsPerSecond = 10000000ULL;
constexpr std::uint64_t kUnitsPerMillisecond = 10000ULL;

// splitmix64: small, fast and the same everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A number in [0, bound).
  std::uint32_t below(std::uint32_t bound) { return static_cast<std::uint32_t>(next() % bound); }
  bool chance(unsigned percent) { return below(100) < percent; }
  template <class T, std::size_t N>
  const T& pick(const std::array<T, N>& items) {
    return items[below(N)];
  }

 private:
  std::uint64_t state_;
};

class Output {
 public:
  explicit Output(const std::string& path) : file_(std::fopen(path.c_str(), "wb")), path_(path) {
    if (file_ == nullptr) {
      std::perror(path.c_str());
      std::exit(1);
    }
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  }
  ~Output() {
    if (std::fclose(file_) != 0) {
      std::perror(path_.c_str());
      std::exit(1);
    }
  }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  void write(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
      std::perror(path_.c_str());
      std::exit(1);
    }
  }

 private:
  std::FILE* file_;
  std::string path_;
};

void appendHex8(std::string& out, std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", value);
  out.append(text, 8);
}

void appendTime(std::string& out, std::uint64_t timeValue) {
  appendHex8(out, static_cast<std::uint32_t>(timeValue >> 32));
  appendHex8(out, static_cast<std::uint32_t>(timeValue));
}

std::uint64_t timeValueOf(std::uint64_t unixSeconds, std::uint32_t milliseconds) {
  return kUnixEpochTimeValue + unixSeconds * kUnitsPerSecond + milliseconds * kUnitsPerMillisecond;
}

using Ipv4 = std::array<std::uint8_t, 4>;

// The stored form: the first octet is the least significant byte.
std::uint32_t storedIp(const Ipv4& ip) {
  return static_cast<std::uint32_t>(ip[0]) | static_cast<std::uint32_t>(ip[1]) << 8 |
         static_cast<std::uint32_t>(ip[2]) << 16 | static_cast<std::uint32_t>(ip[3]) << 24;
}

std::string logHeader(std::string_view tag, std::uint32_t count, std::uint32_t newestPosition) {
  std::string header(tag);
  header += "\tFFFFFFFF\t00000000\t";
  appendHex8(header, count);
  header += '\t';
  appendHex8(header, newestPosition);
  header += "\t00000000";
  appendHex8(header, count);
  header += "\tFFFFFFFF\r\n";
  return header;
}

// Documentation address ranges only: no real host is named.
constexpr Ipv4 kLocalIp = {192, 168, 1, 10};
constexpr std::array<Ipv4, 12> kRemoteIps = {{{192, 0, 2, 1},
                                              {192, 0, 2, 53},
                                              {192, 0, 2, 80},
                                              {198, 51, 100, 7},
                                              {198, 51, 100, 25},
                                              {198, 51, 100, 200},
                                              {203, 0, 113, 5},
                                              {203, 0, 113, 44},
                                              {203, 0, 113, 99},
                                              {203, 0, 113, 250},
                                              {192, 168, 1, 1},
                                              {192, 168, 1, 255}}};
constexpr std::array<std::string_view, 12> kRemoteNames = {
    "www.example.com", "ns1.example.net", "", "mail.example.org", "", "cdn-203.static.example.com",
    "",                "updates.download.example.net", "", "",    "gateway.home.example", ""};

constexpr std::array<std::string_view, 7> kRules = {
    "Block_all", "Allow_DNS", "Allow_Web_Browsing", "Block_NetBIOS", "Default_Block", "Allow_Mail", "Block_ICMP_In"};

constexpr std::array<std::string_view, 10> kApplications = {
    "C:\\Program Files\\Internet Explorer\\iexplore.exe",
    "C:\\Program Files\\Mozilla Firefox\\firefox.exe",
    "C:\\WINDOWS\\system32\\svchost.exe",
    "C:\\WINDOWS\\system32\\services.exe",
    "C:\\Program Files\\Outlook Express\\msimn.exe",
    "C:\\WINDOWS\\Explorer.EXE",
    "C:\\Program Files\\Common Files\\Updater\\update.exe",
    "C:\\WINDOWS\\system32\\lsass.exe",
    "",
    "System"};

struct TrafficEvent {
  std::uint64_t time = 0;
  std::uint64_t beginTime = 0;
  std::uint64_t endTime = 0;
  std::string_view protocol;  // stored field
  Ipv4 remoteIp{};
  std::uint16_t localPort = 0;
  std::uint16_t remotePort = 0;
  std::string_view direction;
  std::uint32_t occurrences = 1;
  bool blocked = false;
  std::string_view nameAddress;
  std::string_view rule;
  std::string_view application;
};

TrafficEvent makeTrafficEvent(Random& random, std::uint64_t unixSeconds) {
  TrafficEvent event;
  const std::uint32_t remote = random.below(static_cast<std::uint32_t>(kRemoteIps.size()));
  event.remoteIp = kRemoteIps[remote];
  event.nameAddress = kRemoteNames[remote];
  const unsigned kind = random.below(100);
  if (kind < 60) {
    event.protocol = "0000012D";
    static constexpr std::array<std::uint16_t, 8> kTcpPorts = {80, 443, 25, 110, 139, 445, 1433, 3389};
    event.remotePort = random.pick(kTcpPorts);
    event.localPort = static_cast<std::uint16_t>(1025 + random.below(4000));
  } else if (kind < 90) {
    event.protocol = "0000012E";
    static constexpr std::array<std::uint16_t, 5> kUdpPorts = {53, 137, 138, 123, 1434};
    event.remotePort = random.pick(kUdpPorts);
    event.localPort = event.remotePort == 53 ? static_cast<std::uint16_t>(1025 + random.below(4000)) : event.remotePort;
  } else {
    event.protocol = "00000132";
    event.localPort = random.chance(50) ? 8 : 0;  // echo request or reply
    event.remotePort = 0;
  }
  const unsigned direction = random.below(100);
  event.direction = direction < 45 ? "00000001" : direction < 90 ? "00000002" : "00000000";
  event.blocked = random.chance(40);
  event.rule = event.blocked ? kRules[random.chance(50) ? 0 : 3 + random.below(2) * 3]
                             : kRules[1 + random.below(2) + random.below(2) * 4];
  event.application = random.pick(kApplications);
  event.occurrences = random.chance(80) ? 1 : 1 + random.below(40);
  const std::uint32_t milliseconds = random.below(1000);
  event.endTime = timeValueOf(unixSeconds, milliseconds);
  event.beginTime = event.occurrences == 1 ? event.endTime : timeValueOf(unixSeconds - event.occurrences * 3, 0);
  event.time = event.endTime;
  return event;
}

// A record line in the firewall's layout, ending in CR LF.
void appendTrafficLine(std::string& out, const TrafficEvent& e) {
  std::string body;
  appendTime(body, e.time);
  body += '\t';
  body += e.protocol;
  body += '\t';
  appendHex8(body, storedIp(kLocalIp));
  body += '\t';
  appendHex8(body, storedIp(e.remoteIp));
  body += '\t';
  appendHex8(body, e.localPort);
  body += '\t';
  appendHex8(body, e.remotePort);
  body += '\t';
  body += e.direction;
  body += '\t';
  appendTime(body, e.beginTime);
  body += '\t';
  appendTime(body, e.endTime);
  body += '\t';
  appendHex8(body, e.occurrences);
  body += '\t';
  body += e.blocked ? "00000001" : "00000000";
  body += "\t00000000\t00000000\t00000000000000000000000000000000\t";
  body += e.nameAddress;
  body += '\t';
  body += e.rule;
  body += '\t';
  body += e.application;
  body += "\t0000000000000000\t0000000000000000\tN/A\tN/A\tN/A\r\n";
  appendHex8(out, static_cast<std::uint32_t>(9 + body.size()));
  out += '\t';
  out += body;
}

// The firewall's ring: the newest record sits at `newestPosition` (1-based;
// 0 for a log in plain time order) and the older ones follow it; with
// `withFragment`, the tail of an overwritten line follows the newest record.
void writeTrafficLog(const std::string& path, std::uint32_t count, std::uint32_t newestPosition, bool withFragment,
                     std::uint64_t startSeconds, std::uint32_t meanGapSeconds) {
  Random random(0x5EED0001);
  Output out(path);
  out.write(logHeader("00000002", count, newestPosition));
  std::vector<std::uint64_t> times(count);
  std::uint64_t now = startSeconds;
  // Time order: oldest at newestPosition, wrapping round to the newest at newestPosition - 1.
  for (std::uint32_t step = 0; step < count; ++step) {
    times[(newestPosition + step) % count] = now;
    now += random.below(2 * meanGapSeconds + 1);
  }
  std::string chunk;
  for (std::uint32_t index = 0; index < count; ++index) {
    appendTrafficLine(chunk, makeTrafficEvent(random, times[index]));
    if (withFragment && index + 1 == newestPosition) {
      // The tail of the older line that the newest one partly overwrote.
      chunk += "ample.com\tAllow_Web_Browsing\tC:\\Program Files\\Mozilla Firefox\\firefox.exe\t"
               "0000000000000000\t0000000000000000\tN/A\tN/A\tN/A\r\n";
    }
    if (chunk.size() > (1 << 20)) {
      out.write(chunk);
      chunk.clear();
    }
  }
  out.write(chunk);
}

// Internet checksum of the given bytes (with an initial sum for pseudo-headers).
std::uint16_t checksum(const std::uint8_t* bytes, std::size_t size, std::uint32_t sum = 0) {
  for (std::size_t i = 0; i + 1 < size; i += 2) sum += static_cast<std::uint32_t>(bytes[i] << 8 | bytes[i + 1]);
  if (size % 2 != 0) sum += static_cast<std::uint32_t>(bytes[size - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

void put16(std::vector<std::uint8_t>& frame, std::size_t at, std::uint16_t value) {
  frame[at] = static_cast<std::uint8_t>(value >> 8);
  frame[at + 1] = static_cast<std::uint8_t>(value);
}

void put32(std::vector<std::uint8_t>& frame, std::size_t at, std::uint32_t value) {
  put16(frame, at, static_cast<std::uint16_t>(value >> 16));
  put16(frame, at + 2, static_cast<std::uint16_t>(value));
}

using Mac = std::array<std::uint8_t, 6>;
constexpr Mac kLocalMac = {0x00, 0x0C, 0x29, 0x3E, 0x5A, 0x01};
constexpr Mac kRouterMac = {0x00, 0xA0, 0xC9, 0x14, 0xC8, 0x29};
constexpr Mac kBroadcastMac = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

std::vector<std::uint8_t> ethernet(const Mac& destination, const Mac& source, std::uint16_t etherType,
                                   std::size_t payloadSize) {
  std::vector<std::uint8_t> frame(14 + payloadSize, 0);
  std::memcpy(frame.data(), destination.data(), 6);
  std::memcpy(frame.data() + 6, source.data(), 6);
  put16(frame, 12, etherType);
  return frame;
}

struct IpPacket {
  Ipv4 source{};
  Ipv4 destination{};
  std::uint8_t protocol = 0;
  std::uint8_t ttl = 128;
  std::uint16_t identification = 0;
  std::vector<std::uint8_t> options;  // a multiple of 4 bytes
  std::vector<std::uint8_t> payload;  // the transport header and data, checksum field zero
};

constexpr std::uint8_t kIcmp = 1;
constexpr std::uint8_t kIgmp = 2;
constexpr std::uint8_t kTcp = 6;
constexpr std::uint8_t kUdp = 17;

// An Ethernet frame holding the IPv4 packet, with every checksum filled in and
// padded to the 60-byte minimum.
std::vector<std::uint8_t> ipv4Frame(const Mac& destinationMac, const Mac& sourceMac, IpPacket packet) {
  const std::size_t headerLength = 20 + packet.options.size();
  const std::size_t totalLength = headerLength + packet.payload.size();
  std::vector<std::uint8_t> frame = ethernet(destinationMac, sourceMac, 0x0800, totalLength < 46 ? 46 : totalLength);
  const std::size_t ip = 14;
  frame[ip] = static_cast<std::uint8_t>(0x40 | headerLength / 4);
  put16(frame, ip + 2, static_cast<std::uint16_t>(totalLength));
  put16(frame, ip + 4, packet.identification);
  put16(frame, ip + 6, packet.protocol == kTcp ? 0x4000 : 0);  // don't fragment for TCP
  frame[ip + 8] = packet.ttl;
  frame[ip + 9] = packet.protocol;
  std::memcpy(&frame[ip + 12], packet.source.data(), 4);
  std::memcpy(&frame[ip + 16], packet.destination.data(), 4);
  std::memcpy(&frame[ip + 20], packet.options.data(), packet.options.size());
  put16(frame, ip + 10, checksum(&frame[ip], headerLength));

  const std::size_t transport = ip + headerLength;
  std::memcpy(&frame[transport], packet.payload.data(), packet.payload.size());
  const std::size_t transportLength = packet.payload.size();
  std::uint32_t pseudo = 0;
  for (std::size_t i = 0; i < 4; i += 2) {
    pseudo += static_cast<std::uint32_t>(packet.source[i] << 8 | packet.source[i + 1]);
    pseudo += static_cast<std::uint32_t>(packet.destination[i] << 8 | packet.destination[i + 1]);
  }
  pseudo += packet.protocol + static_cast<std::uint32_t>(transportLength);
  switch (packet.protocol) {
    case kTcp: put16(frame, transport + 16, checksum(&frame[transport], transportLength, pseudo)); break;
    case kUdp: {
      std::uint16_t sum = checksum(&frame[transport], transportLength, pseudo);
      put16(frame, transport + 6, sum == 0 ? 0xFFFF : sum);
      break;
    }
    case kIcmp:
    case kIgmp: put16(frame, transport + 2, checksum(&frame[transport], transportLength)); break;
    default: break;
  }
  return frame;
}

std::vector<std::uint8_t> tcpSegment(std::uint16_t sourcePort, std::uint16_t destinationPort, std::uint32_t sequence,
                                     std::uint32_t acknowledgement, std::uint8_t flags, std::string_view data,
                                     bool withMssOption = false) {
  const std::size_t headerLength = withMssOption ? 24 : 20;
  std::vector<std::uint8_t> segment(headerLength + data.size(), 0);
  put16(segment, 0, sourcePort);
  put16(segment, 2, destinationPort);
  put32(segment, 4, sequence);
  put32(segment, 8, acknowledgement);
  segment[12] = static_cast<std::uint8_t>(headerLength / 4 << 4);
  segment[13] = flags;
  put16(segment, 14, 64240);
  if (withMssOption) {
    segment[20] = 2;
    segment[21] = 4;
    put16(segment, 22, 1460);
  }
  std::memcpy(segment.data() + headerLength, data.data(), data.size());
  return segment;
}

std::vector<std::uint8_t> udpDatagram(std::uint16_t sourcePort, std::uint16_t destinationPort,
                                      const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> datagram(8 + data.size(), 0);
  put16(datagram, 0, sourcePort);
  put16(datagram, 2, destinationPort);
  put16(datagram, 4, static_cast<std::uint16_t>(datagram.size()));
  std::memcpy(datagram.data() + 8, data.data(), data.size());
  return datagram;
}

std::vector<std::uint8_t> dnsQuery(std::uint16_t id, std::string_view name) {
  std::vector<std::uint8_t> query = {0, 0, 0x01, 0x00, 0, 1, 0, 0, 0, 0, 0, 0};
  query[0] = static_cast<std::uint8_t>(id >> 8);
  query[1] = static_cast<std::uint8_t>(id);
  std::size_t start = 0;
  while (start < name.size()) {
    std::size_t dot = name.find('.', start);
    if (dot == std::string_view::npos) dot = name.size();
    query.push_back(static_cast<std::uint8_t>(dot - start));
    query.insert(query.end(), name.begin() + static_cast<std::ptrdiff_t>(start),
                 name.begin() + static_cast<std::ptrdiff_t>(dot));
    start = dot + 1;
  }
  query.insert(query.end(), {0, 0, 1, 0, 1});  // root, type A, class IN
  return query;
}

std::vector<std::uint8_t> icmpEcho(std::uint8_t type, std::uint16_t identifier, std::uint16_t sequence) {
  std::vector<std::uint8_t> message(8, 0);
  message[0] = type;
  put16(message, 4, identifier);
  put16(message, 6, sequence);
  const std::string_view data = "abcdefghijklmnopqrstuvwabcdefghi";
  message.insert(message.end(), data.begin(), data.end());
  return message;
}

std::vector<std::uint8_t> arpFrame(bool request, const Mac& senderMac, const Ipv4& senderIp, const Mac& targetMac,
                                   const Ipv4& targetIp) {
  std::vector<std::uint8_t> frame = ethernet(request ? kBroadcastMac : targetMac, senderMac, 0x0806, 46);
  const std::size_t arp = 14;
  put16(frame, arp, 1);
  put16(frame, arp + 2, 0x0800);
  frame[arp + 4] = 6;
  frame[arp + 5] = 4;
  put16(frame, arp + 6, request ? 1 : 2);
  std::memcpy(&frame[arp + 8], senderMac.data(), 6);
  std::memcpy(&frame[arp + 14], senderIp.data(), 4);
  if (!request) std::memcpy(&frame[arp + 18], targetMac.data(), 6);
  std::memcpy(&frame[arp + 24], targetIp.data(), 4);
  return frame;
}

struct CapturedPacket {
  std::vector<std::uint8_t> frame;
  std::uint64_t time = 0;
  Ipv4 remoteIp{};
  std::uint16_t localPort = 0;
  std::uint16_t remotePort = 0;
  bool incoming = true;
  bool blocked = false;
  std::string_view nameAddress;
  std::string_view application;
};

void appendPacketRecord(std::string& out, const CapturedPacket& p) {
  std::string text;
  appendTime(text, p.time);
  text += "\t00000000\t";
  appendHex8(text, storedIp(kLocalIp));
  text += '\t';
  appendHex8(text, storedIp(p.remoteIp));
  text += '\t';
  appendHex8(text, p.localPort);
  text += '\t';
  appendHex8(text, p.remotePort);
  text += '\t';
  appendHex8(text, static_cast<std::uint32_t>(p.frame.size()));
  text += '\t';
  text += p.incoming ? "00000001" : "00000002";
  text += '\t';
  text += p.blocked ? "00000001" : "00000000";
  text += "\t00000000\t";
  text += p.nameAddress;
  text += '\t';
  text += p.application;
  text += '\t';
  appendHex8(out, static_cast<std::uint32_t>(9 + text.size() + p.frame.size() + 2));
  out += '\t';
  out += text;
  out.append(reinterpret_cast<const char*>(p.frame.data()), p.frame.size());
  out += "\r\n";
}

// One packet of the mix: web, mail and DNS traffic, pings, ARP and IGMP.
// `bulkData` sizes the TCP payloads; zero gives short, hand-readable ones.
CapturedPacket makePacket(Random& random, std::uint64_t unixSeconds, std::uint32_t milliseconds, bool bulkData) {
  CapturedPacket p;
  p.time = timeValueOf(unixSeconds, milliseconds);
  const std::uint32_t remote = random.below(10);  // public documentation addresses
  p.remoteIp = kRemoteIps[remote];
  p.nameAddress = kRemoteNames[remote];
  p.incoming = random.chance(55);
  p.blocked = p.incoming && random.chance(60);
  p.application = p.blocked ? std::string_view() : kApplications[random.below(8)];
  const Ipv4& source = p.incoming ? p.remoteIp : kLocalIp;
  const Ipv4& destination = p.incoming ? kLocalIp : p.remoteIp;
  const Mac& sourceMac = p.incoming ? kRouterMac : kLocalMac;
  const Mac& destinationMac = p.incoming ? kLocalMac : kRouterMac;
  const auto identification = static_cast<std::uint16_t>(random.next());

  const unsigned kind = random.below(100);
  if (kind < 70) {
    static constexpr std::array<std::uint16_t, 5> kServices = {80, 443, 25, 110, 139};
    p.remotePort = random.pick(kServices);
    p.localPort = static_cast<std::uint16_t>(1025 + random.below(4000));
    const std::uint16_t sourcePort = p.incoming ? p.remotePort : p.localPort;
    const std::uint16_t destinationPort = p.incoming ? p.localPort : p.remotePort;
    std::string data;
    std::uint8_t flags = 0x10;  // ACK
    bool mss = false;
    const unsigned shape = random.below(100);
    if (shape < 15) {
      flags = p.incoming ? 0x12 : 0x02;  // SYN+ACK, SYN
      mss = true;
    } else if (shape < 20) {
      flags = random.chance(50) ? 0x11 : 0x04;  // FIN+ACK, RST
    } else if (shape < 45 || !bulkData) {
      data = "GET /index.html HTTP/1.1\r\nHost: www.example.com\r\n\r\n";
      flags = 0x18;  // PSH+ACK
    } else {
      // Bulk transfer: mostly full-size segments, some medium.
      const std::size_t size = random.chance(75) ? 1460 : 100 + random.below(1200);
      data.resize(size);
      std::uint64_t bits = random.next();
      for (std::size_t i = 0; i < size; ++i) {
        if (i % 8 == 0) bits = bits * 6364136223846793005ULL + 1442695040888963407ULL;
        data[i] = static_cast<char>(bits >> (i % 8 * 8));
      }
    }
    p.frame = ipv4Frame(destinationMac, sourceMac,
                        {source, destination, kTcp, 128, identification, {},
                         tcpSegment(sourcePort, destinationPort, static_cast<std::uint32_t>(random.next()),
                                    flags == 0x02 ? 0 : static_cast<std::uint32_t>(random.next()), flags, data, mss)});
  } else if (kind < 85) {
    p.remotePort = 53;
    p.localPort = static_cast<std::uint16_t>(1025 + random.below(4000));
    p.remoteIp = kRemoteIps[1];
    p.nameAddress = kRemoteNames[1];
    static constexpr std::array<std::string_view, 4> kQueries = {"www.example.com", "mail.example.org",
                                                                 "updates.download.example.net", "example.net"};
    const auto dns = udpDatagram(p.incoming ? 53 : p.localPort, p.incoming ? p.localPort : 53,
                                 dnsQuery(static_cast<std::uint16_t>(random.next()), random.pick(kQueries)));
    p.frame = ipv4Frame(destinationMac, sourceMac,
                        {p.incoming ? p.remoteIp : kLocalIp, p.incoming ? kLocalIp : p.remoteIp, kUdp, 128,
                         identification, {}, dns});
  } else if (kind < 93) {
    const std::uint8_t type = p.incoming ? 8 : 0;  // echo request in, reply out
    p.localPort = type;
    p.remotePort = 0;
    p.frame = ipv4Frame(destinationMac, sourceMac,
                        {source, destination, kIcmp, 128, identification, {},
                         icmpEcho(type, 0x0200, static_cast<std::uint16_t>(random.below(4096)))});
  } else if (kind < 97) {
    p.remoteIp = {192, 168, 1, 1};
    p.nameAddress = "gateway.home.example";
    p.application = {};
    p.incoming = random.chance(50);
    p.frame = p.incoming ? arpFrame(true, kRouterMac, p.remoteIp, kLocalMac, kLocalIp)
                         : arpFrame(false, kLocalMac, kLocalIp, kRouterMac, p.remoteIp);
  } else {
    // IGMPv2 membership report with the router-alert option (a 24-byte IP header).
    const Ipv4 group = {239, 255, 255, 250};
    p.remoteIp = group;
    p.nameAddress = {};
    p.application = "System";
    p.incoming = false;
    p.blocked = false;
    std::vector<std::uint8_t> report = {0x16, 0, 0, 0, group[0], group[1], group[2], group[3]};
    p.frame = ipv4Frame({0x01, 0x00, 0x5E, 0x7F, 0xFF, 0xFA}, kLocalMac,
                        {kLocalIp, group, kIgmp, 1, identification, {0x94, 0x04, 0x00, 0x00}, report});
  }
  return p;
}

// `maxGapMs` bounds the time between neighbouring packets.
void writePacketLog(const std::string& path, std::uint32_t count, std::uint64_t startSeconds, bool bulkData,
                    std::uint32_t maxGapMs) {
  Random random(0x5EED0002);
  Output out(path);
  out.write(logHeader("00000003", count, 0));
  std::string chunk;
  std::uint64_t millisecondsSinceStart = 0;
  for (std::uint32_t index = 0; index < count; ++index) {
    millisecondsSinceStart += random.below(maxGapMs);
    const CapturedPacket packet = makePacket(random, startSeconds + millisecondsSinceStart / 1000,
                                             static_cast<std::uint32_t>(millisecondsSinceStart % 1000), bulkData);
    appendPacketRecord(chunk, packet);
    if (chunk.size() > (1 << 20)) {
      out.write(chunk);
      chunk.clear();
    }
  }
  out.write(chunk);
}

[[noreturn]] void usage() {
  std::fputs(
      "usage: logs_gen --sample [--traffic FILE] [--packets FILE]\n"
      "       logs_gen [--events N] [--frames N] [--small-frames] [--traffic FILE] [--packets FILE]\n",
      stderr);
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  bool sample = false;
  bool smallFrames = false;
  std::uint32_t events = 1000000;
  std::uint32_t frames = 1000000;
  std::string trafficPath;
  std::string packetPath;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) usage();
      return argv[++i];
    };
    const auto count = [&]() {
      const std::string text = value();
      char* end = nullptr;
      const unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
      if (end == text.c_str() || *end != '\0' || parsed == 0 || parsed > 0xFFFFFFFFull) usage();
      return static_cast<std::uint32_t>(parsed);
    };
    if (argument == "--sample") {
      sample = true;
    } else if (argument == "--events") {
      events = count();
    } else if (argument == "--frames") {
      frames = count();
    } else if (argument == "--small-frames") {
      smallFrames = true;
    } else if (argument == "--traffic") {
      trafficPath = value();
    } else if (argument == "--packets") {
      packetPath = value();
    } else {
      usage();
    }
  }
  if (trafficPath.empty() && packetPath.empty()) usage();

  // 2024-03-30 22:00:00 UTC: the sample spans a daylight-saving change in Europe.
  constexpr std::uint64_t kSampleStart = 1711836000;
  // 2024-01-01 00:00:00 UTC for the large logs.
  constexpr std::uint64_t kBenchStart = 1704067200;
  if (sample) {
    if (!trafficPath.empty()) writeTrafficLog(trafficPath, 300, 217, true, kSampleStart, 300);
    if (!packetPath.empty()) writePacketLog(packetPath, 40, kSampleStart, false, 90000);
  } else {
    if (!trafficPath.empty()) writeTrafficLog(trafficPath, events, 0, false, kBenchStart, 2);
    if (!packetPath.empty()) writePacketLog(packetPath, frames, kBenchStart, !smallFrames, 40);
  }
  return 0;
}
