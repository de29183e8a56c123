// The firewall rewrites its ring files in place while the viewer reads them.
// A writer thread rewrites, truncates and regrows a log in a loop while the
// readers read it over and over: no read may crash or step outside its
// buffer (the sanitizer builds watch that), every packet record read must be
// one that some state of the file really held, and traffic reads stay bounded.
//
// The writer only ever puts the bytes of one log image at their own offsets,
// changing the header's newest position in a single digit, and cuts it at page
// boundaries. Every state of the file, and every mix of states a reader may
// meet across its reads, is then a prefix of one image, so the records a
// reader may show are exactly those of the prefixes; the images span a few
// pages, so cuts still fall inside records. (Different bytes rewritten under a reader can tear a record
// in two; no reader can tell that from a real record, so it is not tried.)

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "log_fixtures.h"
#include "logdata/log_file.h"
#include "logdata/packet_log_reader.h"
#include "logdata/ring_order.h"
#include "logdata/traffic_log_reader.h"

namespace qv {
namespace {

using test::hex8;
using test::logHeader;

constexpr auto kRunTime = std::chrono::milliseconds(1500);
// Newest positions the writer switches between; they differ in one digit so
// that a header rewritten under a reader cannot read as a fourth value.
constexpr char kNewestDigits[] = {'1', '5', '9'};

std::string headerWithNewest(const std::string& tag, std::size_t recordCount, char newestDigit) {
  return logHeader(tag, hex8(static_cast<std::uint32_t>(recordCount)), std::string("0000000") + newestDigit);
}

// Rewrites the file at `path` in place, in a loop, with prefixes of the
// images until stopped. Each image is one header followed by the same body.
class RingWriter {
 public:
  RingWriter(std::string path, std::vector<std::string> images)
      : path_(std::move(path)), images_(std::move(images)), thread_([this] { run(); }) {}
  ~RingWriter() {
    stop_ = true;
    thread_.join();
  }
  RingWriter(const RingWriter&) = delete;
  RingWriter& operator=(const RingWriter&) = delete;

  long rounds() const { return rounds_; }

 private:
  void run() {
    const int fd = ::open(path_.c_str(), O_RDWR);
    if (fd < 0) return;
    std::minstd_rand random(14);
    // The file's length: a cut never lengthens the file, which would fill
    // the gap with zeros no image holds.
    std::size_t length = images_.front().size();
    // Cuts fall on page boundaries. A cut inside a page zeroes the rest of
    // that page, and a read racing with it may copy those zeros although
    // they lie below the size it saw: the system, not the reader, would then
    // show bytes the file never held.
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    bool failed = false;
    while (!stop_ && !failed) {
      const std::string& image = images_[random() % images_.size()];
      const std::size_t cut = std::min<std::size_t>(random() % (image.size() / page + 1) * page, length);
      switch (random() % 4) {
        case 0:  // emptied and written again in pieces
          failed = !rewriteFrom(fd, image, 0, length, random);
          break;
        case 1:  // cut anywhere and the tail written again
          failed = !rewriteFrom(fd, image, cut, length, random);
          break;
        case 2:  // cut short mid-record and left so for a moment
          failed = ::ftruncate(fd, static_cast<off_t>(cut)) != 0;
          length = cut;
          std::this_thread::yield();
          break;
        default:  // the header alone rewritten in place
          failed = ::pwrite(fd, image.data(), kHeaderBytes, 0) != kHeaderBytes;
          length = std::max<std::size_t>(length, kHeaderBytes);
          break;
      }
      ++rounds_;
    }
    ::close(fd);
  }

  bool rewriteFrom(int fd, const std::string& image, std::size_t from, std::size_t& length, std::minstd_rand& random) {
    if (::ftruncate(fd, static_cast<off_t>(from)) != 0) return false;
    length = from;
    while (length < image.size() && !stop_) {
      const std::size_t piece = std::min<std::size_t>(1 + random() % 400, image.size() - length);
      if (::pwrite(fd, image.data() + length, piece, static_cast<off_t>(length)) != static_cast<ssize_t>(piece)) {
        return false;
      }
      length += piece;
    }
    return true;
  }

  static constexpr ssize_t kHeaderBytes = 72;

  std::string path_;
  std::vector<std::string> images_;
  std::atomic<bool> stop_{false};
  std::atomic<long> rounds_{0};
  std::thread thread_;
};

// Reads the file again and again for kRunTime while a writer rewrites it;
// `readOnce` checks one read and answers how many records it saw.
struct ReadCounts {
  long reads = 0;
  long records = 0;
  long writerRounds = 0;
};

ReadCounts readWhileRewritten(const std::string& path, const std::vector<std::string>& images,
                              const std::function<std::size_t()>& readOnce) {
  test::writeFileBytes(path, images.front());
  ReadCounts counts;
  RingWriter writer(path, images);
  const auto end = std::chrono::steady_clock::now() + kRunTime;
  while (std::chrono::steady_clock::now() < end && !::testing::Test::HasFailure()) {
    counts.records += static_cast<long>(readOnce());
    ++counts.reads;
  }
  counts.writerRounds = writer.rounds();
  return counts;
}

std::vector<std::string> imagesOf(const std::string& tag, std::size_t recordCount, const std::string& body) {
  std::vector<std::string> images;
  for (const char digit : kNewestDigits) images.push_back(headerWithNewest(tag, recordCount, digit) + body);
  return images;
}

// Whether a read gave only bytes of the file: a prefix of one image.
bool isPrefixOfAnImage(std::string_view bytes, const std::vector<std::string>& images) {
  for (const std::string& image : images) {
    if (std::string_view(image).starts_with(bytes)) return true;
  }
  return false;
}

// The records every prefix of the images reads as. Records are read one
// after the other, so a prefix reads as the whole records before its end plus
// the one it cuts; that one reads as it does after the header alone.
template <typename Parse>
void forEachPrefixRecord(const std::vector<std::string>& images, const std::vector<std::size_t>& recordStarts,
                         std::size_t bodySize, Parse parse) {
  for (const std::string& image : images) {
    const std::string header = image.substr(0, image.size() - bodySize);
    const std::string_view body = std::string_view(image).substr(header.size());
    for (std::size_t length = 0; length <= header.size(); ++length) parse(header.substr(0, length));
    parse(image);
    for (std::size_t i = 0; i < recordStarts.size(); ++i) {
      const std::size_t end = i + 1 < recordStarts.size() ? recordStarts[i + 1] : body.size();
      for (std::size_t cut = recordStarts[i]; cut <= end; ++cut) {
        parse(header + std::string(body.substr(recordStarts[i], cut - recordStarts[i])));
      }
    }
  }
}

std::string trafficKey(const TrafficRecord& r) {
  std::string key;
  for (const Text& text : {r.nameAddress.text(), r.ruleName.text(), r.applicationName.text(), r.time.text(), r.beginTime.text(),
                           r.endTime.text(), r.localIp.text(), r.remoteIp.text()}) {
    key += text.view();
    key += '\x1F';
  }
  key += std::to_string(r.occurrences) + '/' + std::to_string(r.localPort) + '/' + std::to_string(r.remotePort) +
         '/' + std::to_string(r.flags);
  return key;
}

std::string packetKey(const PacketRecord& r) {
  std::string key;
  for (const Text& text : {r.time.text(), r.localIp.text(), r.remoteIp.text(), r.applicationName.text(),
                           r.nameAddress.text()}) {
    key += text.view();
    key += '\x1F';
  }
  key += r.protocol.view();
  // Where the record starts is left out: a cut record is read after the
  // header alone. Its own bytes, compared below, pin it down.
  key += '/' + std::to_string(r.packetOffset() - r.recordStart) + '/' +
         std::to_string(r.recordLength()) + '/' + std::to_string(r.packetLength()) + '/' + std::to_string(r.localPort) +
         '/' + std::to_string(r.remotePort) + '/' + std::to_string(r.flags) + '/' + std::to_string(r.tcpFlags) + '/';
  const auto packet = r.packetBytes();
  const auto record = r.recordBytes();
  key.append(reinterpret_cast<const char*>(packet.data()), packet.size());
  key += '\x1F';
  key.append(reinterpret_cast<const char*>(record.data()), record.size());
  return key;
}

// Visits the records in the order a view shows them; `at` throws for a
// position outside the records.
template <typename Log, typename Visit>
void forEachShown(const Log& log, Visit visit) {
  forEachInRingOrder(log.records.size(), log.newestIndex, [&](std::size_t index) { visit(log.records.at(index)); });
}

TEST(ConcurrentRewriteThreads, TrafficReadersShowOnlyRecordsTheFileHeld) {
  std::string body;
  std::vector<std::size_t> recordStarts;
  constexpr std::size_t kRecords = 36;
  for (std::size_t i = 0; i < kRecords; ++i) {
    test::TrafficFields fields;
    fields.localPort = hex8(static_cast<std::uint32_t>(1000 + i));
    fields.applicationName = "C:\\Program Files\\app" + std::to_string(i) + ".exe";
    fields.ruleName = "Rule " + std::string(i % 12 * 7, 'x');
    recordStarts.push_back(body.size());
    body += test::trafficLine(fields) + "\n";
  }
  const std::vector<std::string> images = imagesOf(std::string(kTrafficLogTag), kRecords, body);

  std::set<std::string> held;
  forEachPrefixRecord(images, recordStarts, body.size(), [&](const std::string& prefix) {
    for (const TrafficRecord& record : parseTrafficLog(prefix).records) held.insert(trafficKey(record));
  });
  ASSERT_EQ(parseTrafficLog(images.front()).records.size(), kRecords);

  test::TemporaryFolder folder("rewrite");
  const std::string path = folder.file("tralog.log");
  std::atomic<std::size_t> mixedRecords{0};
  const auto checkShown = [&](const TrafficLog& log) {
    EXPECT_LE(log.records.size(), kRecords);
    // A record the writer cuts while the read is under way may read as no
    // whole state of the file held (its line ends in bytes of the next state),
    // so only the records' count and bounds are held to here; the sanitizer
    // builds catch any read outside the buffer.
    forEachShown(log, [&](const TrafficRecord& record) {
      if (!held.contains(trafficKey(record))) ++mixedRecords;
    });
    return log.records.size();
  };
  const ReadCounts counts = readWhileRewritten(path, images, [&] {
    // The viewer's windowed read, then the whole-file read the export uses.
    const TrafficLogFileRead windowed = readTrafficLogFile(path);
    EXPECT_TRUE(windowed.opened) << windowed.errorText;
    std::size_t seen = checkShown(windowed.log);
    // The same read in three parts, each on a thread of its own.
    const TrafficLogFileRead parts = readTrafficLogFile(path, 3);
    EXPECT_TRUE(parts.opened) << parts.errorText;
    seen += checkShown(parts.log);
    const FileReadResult whole = readWholeFile(path);
    EXPECT_TRUE(whole.opened) << whole.errorText;
    if (whole.opened) {
      EXPECT_EQ(whole.buffer->bytes.size(), whole.buffer->fileLength + 1);
      EXPECT_EQ(whole.buffer->bytes.back(), '\0');
      EXPECT_TRUE(isPrefixOfAnImage(whole.buffer->content(), images));
      // The bytes are a prefix of what the file held, so what they read as is
      // the reader's answer for that prefix; a prefix cut inside a record need
      // not read as the same prefix cut at the record's start.
      seen += parseTrafficLog(whole.buffer->content()).records.size();
    }
    return seen;
  });
  EXPECT_GT(counts.reads, 10);
  EXPECT_GT(counts.writerRounds, 10);
  RecordProperty("reads", std::to_string(counts.reads));
  RecordProperty("writer_rounds", std::to_string(counts.writerRounds));
  RecordProperty("records_of_mixed_states", std::to_string(mixedRecords.load()));
}

TEST(ConcurrentRewriteThreads, PacketReaderShowsOnlyRecordsTheFileHeld) {
  std::string body;
  std::vector<std::size_t> recordStarts;
  constexpr std::size_t kRecords = 48;
  for (std::size_t i = 0; i < kRecords; ++i) {
    // IPv4 with TCP, lengths varying so that records do not line up.
    std::vector<std::uint8_t> ip(20 + i % 12 * 9, 0);
    ip[0] = 0x45;
    ip[9] = 6;
    ip[20 % ip.size()] = static_cast<std::uint8_t>(i);
    test::PacketFields fields;
    fields.localPort = hex8(static_cast<std::uint32_t>(2000 + i));
    fields.applicationName = "C:\\app" + std::to_string(i) + ".exe";
    recordStarts.push_back(body.size());
    body += test::packetRecord(test::frameOf(54 + i % 12 * 9, 0x0800, ip), fields);
  }
  const std::vector<std::string> images = imagesOf(std::string(kPacketLogTag), kRecords, body);

  std::set<std::string> held;
  forEachPrefixRecord(images, recordStarts, body.size(), [&](const std::string& prefix) {
    for (const PacketRecord& record : parsePacketLog(test::readBufferOf(prefix)).records) held.insert(packetKey(record));
  });
  ASSERT_EQ(parsePacketLog(test::readBufferOf(images.front())).records.size(), kRecords);

  test::TemporaryFolder folder("rewrite");
  const std::string path = folder.file("rawlog.log");
  const ReadCounts counts = readWhileRewritten(path, images, [&] {
    const FileReadResult whole = readWholeFile(path);
    EXPECT_TRUE(whole.opened) << whole.errorText;
    if (!whole.opened) return std::size_t{0};
    EXPECT_EQ(whole.buffer->bytes.size(), whole.buffer->fileLength + 1);
    EXPECT_TRUE(isPrefixOfAnImage(whole.buffer->content(), images));
    const PacketLog log = parsePacketLog(whole.buffer);
    EXPECT_LE(log.records.size(), kRecords);
    forEachShown(log, [&](const PacketRecord& record) {
      EXPECT_TRUE(held.contains(packetKey(record))) << "a record no state of the file held";
    });
    return log.records.size();
  });
  EXPECT_GT(counts.reads, 10);
  EXPECT_GT(counts.writerRounds, 10);
  RecordProperty("reads", std::to_string(counts.reads));
  RecordProperty("writer_rounds", std::to_string(counts.writerRounds));
}

}  // namespace
}  // namespace qv
