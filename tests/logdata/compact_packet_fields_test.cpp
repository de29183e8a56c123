#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "filter/quick_filter.h"
#include "log_fixtures.h"
#include "logdata/number_text.h"
#include "logdata/packet_log_reader.h"
#include "logdata/protocol_names.h"
#include "logdata/time_text.h"
#include "logdata/time_value.h"
#include "time_zone_guard.h"
#include "views/event_text.h"
#include "views/packet_columns.h"
#include "views/packet_shown_list.h"
#include "views/packet_sort.h"

namespace qv {
namespace {

using test::PacketFields;

// Sixteen stored digits near a moment, with the milliseconds the packet log
// shows, some of them out of range or damaged.
std::string packetTimeDigits(std::mt19937& random, std::int64_t unixSeconds) {
  static const char* const kOdd[] = {"0000000000000000", "FFFFFFFFFFFFFFFF", "01C3D0DD        ", "7FFFFFFFFFFFFFFF",
                                     "01C3D0DZ14B10080"};
  if (random() % 10 == 0) return kOdd[random() % std::size(kOdd)];
  // Few distinct seconds, so that equal seconds with other milliseconds occur.
  const std::int64_t seconds = unixSeconds + static_cast<std::int64_t>(random() % 40) * 180 - 3600;
  const std::uint64_t value = kUnixEpochTimeValue + static_cast<std::uint64_t>(seconds) * kTimeUnitsPerSecond +
                              random() % 4 * 2500000 + random() % 10000;
  return test::hex8(static_cast<std::uint32_t>(value >> 32)) + test::hex8(static_cast<std::uint32_t>(value));
}

std::string packetAddressDigits(std::mt19937& random) {
  static const char* const kOdd[] = {"0A      ", "G0000000", "FFFFFFFF", "00000000", "1x2y3z4w"};
  if (random() % 6 == 0) return kOdd[random() % std::size(kOdd)];
  return test::hex8(static_cast<std::uint32_t>(random() % 5) << 24 | (random() % 3) << 8 | 0xC0);
}

// Frames whose protocol byte or EtherType names every kind of protocol,
// including none, and frames too short to name one.
std::vector<std::uint8_t> packetFrame(std::mt19937& random) {
  static const std::uint16_t kEtherTypes[] = {0x0806, 0x86DD, 0x8847, 0x8848, 0x1234, 0x8035};
  switch (random() % 4) {
    case 0: return test::frameOf(random() % 24, 0x0800);  // cut before the protocol byte
    case 1: return test::frameOf(60, kEtherTypes[random() % std::size(kEtherTypes)]);
    default: {
      std::vector<std::uint8_t> ip(20, 0);
      ip[0] = 0x45;
      ip[9] = static_cast<std::uint8_t>(random() % 3 == 0 ? random() % 256 : 6 + random() % 2 * 11);
      return test::frameOf(54 + random() % 20, 0x0800, ip);
    }
  }
}

struct GeneratedPackets {
  std::string content;
  std::vector<PacketFields> fields;
  std::vector<std::vector<std::uint8_t>> frames;
};

GeneratedPackets generatedPackets(std::uint32_t seed, std::int64_t unixSeconds, int count) {
  std::mt19937 random(seed);
  GeneratedPackets log;
  std::string records;
  for (int i = 0; i < count; ++i) {
    PacketFields fields;
    fields.time = packetTimeDigits(random, unixSeconds);
    fields.localIp = packetAddressDigits(random);
    fields.remoteIp = packetAddressDigits(random);
    fields.remotePort = test::hex8(random() % 3 * 1000);
    fields.nameAddress = random() % 2 == 0 ? "" : "host" + std::to_string(random() % 3) + ".example";
    fields.applicationName = random() % 3 == 0 ? "" : "C:\\Program Files\\App" + std::to_string(random() % 2) + ".exe";
    log.frames.push_back(packetFrame(random));
    records += test::packetRecord(log.frames.back(), fields);
    log.fields.push_back(fields);
  }
  log.content = test::logHeader("00000003", test::hex8(static_cast<std::uint32_t>(count)), "00000000") + records +
                std::string(160, ' ');
  return log;
}

// The name the frame gives, read from its bytes as the reader reads it.
std::string_view expectedProtocol(const std::vector<std::uint8_t>& frame) {
  if (frame.size() < 14) return {};
  const auto etherType = static_cast<std::uint16_t>(frame[12] << 8 | frame[13]);
  if (etherType != 0x0800) return etherTypeProtocolName(etherType);
  return frame.size() < 24 ? std::string_view() : ipProtocolName(frame[23]);
}

// The rows' cell texts in the order a column's sort gives.
std::vector<std::string> sortedPacketCells(const std::vector<PacketRecord>& records, int column,
                                           SortDirection direction) {
  std::vector<RecordIndex> order(records.size());
  std::iota(order.begin(), order.end(), RecordIndex{0});
  PacketShownList rows(std::make_shared<const std::vector<PacketRecord>>(records), std::move(order));
  sortPacketRows(rows, column, direction);
  std::vector<std::string> cells;
  for (std::size_t row = 0; row < rows.size(); ++row) cells.push_back(packetEventText(rows[row]));
  return cells;
}

struct ZoneCase {
  const char* zone;
  std::int64_t around;  // a daylight-saving change of the zone, or any moment
};

TEST(CompactPacketFields, TextsSortsAndFiltersAreThoseOfTheStoredFieldsInEveryZone) {
  const ZoneCase zones[] = {
      {"Europe/Berlin", 1711846800},     // clocks forward
      {"America/New_York", 1730613600},  // clocks back: an hour's texts repeat
      {"Australia/Lord_Howe", 1712417400},
      {"UTC", 2147483000},  // the last convertible seconds
  };
  std::uint32_t seed = 11;
  for (const ZoneCase& zone : zones) {
    SCOPED_TRACE(zone.zone);
    test::TimeZoneGuard guard(zone.zone);
    const GeneratedPackets generated = generatedPackets(seed++, zone.around, 300);
    const PacketLog log = parsePacketLog(test::readBufferOf(generated.content));
    ASSERT_EQ(log.records.size(), generated.fields.size());

    std::vector<PacketRecord> texts;  // the same fields held as the texts they show
    for (std::size_t i = 0; i < log.records.size(); ++i) {
      const PacketRecord& record = log.records[i];
      const PacketFields& fields = generated.fields[i];
      SCOPED_TRACE(fields.time + " " + fields.localIp + " " + fields.remoteIp);
      EXPECT_EQ(record.time.text(), timeText(fields.time, true));
      EXPECT_EQ(packetCellText(record, PacketColumn::kTime), timeText(fields.time, true).view());
      EXPECT_EQ(record.localIp.text(), dottedAddress(fields.localIp));
      EXPECT_EQ(record.remoteIp.text(), dottedAddress(fields.remoteIp));
      EXPECT_EQ(record.nameAddress, fields.nameAddress);
      EXPECT_EQ(record.applicationName, fields.applicationName);
      EXPECT_EQ(record.protocol.view(), expectedProtocol(generated.frames[i]));
      // Fields compare equal exactly when their texts do.
      const PacketRecord& first = log.records.front();
      EXPECT_EQ(record.time == first.time, record.time.text() == first.time.text());
      EXPECT_EQ(record.protocol == first.protocol, record.protocol.view() == first.protocol.view());

      PacketRecord text = record;
      text.time = RecordTime(record.time.text());  // a time text is never taken for a value
      texts.push_back(text);
    }
    ASSERT_FALSE(texts.front().time.holdsValue());

    for (int column = 0; column < kPacketColumnCount; ++column) {
      for (const SortDirection direction : {SortDirection::kFirstClick, SortDirection::kSecondClick}) {
        EXPECT_EQ(sortedPacketCells(log.records, column, direction), sortedPacketCells(texts, column, direction))
            << column;
      }
    }

    // A time window compares the texts, milliseconds and repeated hours included.
    FilterCriteria criteria;
    criteria.time = "1";
    const std::string middle = log.records[log.records.size() / 2].time.str();
    for (const TimeWindow& window : {TimeWindow{middle, ""}, TimeWindow{"", middle},
                                     TimeWindow{"2024/11/03 01:30:00", "2024/11/03 01:45:00"}}) {
      const QuickFilter filter(criteria, window);
      for (std::size_t i = 0; i < log.records.size(); ++i) {
        EXPECT_EQ(filter.passes(log.records[i]), filter.passes(texts[i])) << texts[i].time.str();
      }
    }
  }
}

}  // namespace
}  // namespace qv
