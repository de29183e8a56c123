#include <gtest/gtest.h>

#include "filter/edit_filter_model.h"
#include "filter/filter_entry.h"

namespace qv {
namespace {

using namespace RecordFlag;

TEST(EditFilter, DefaultsBuildAnEntryThatMatchesEverything) {
  const EditFilterFields defaults;
  EXPECT_EQ(checkEditFilterFields(defaults), std::nullopt);
  const FilterEntry entry = buildFilterEntry(defaults);
  EXPECT_EQ(entry.flags, 0x7F);
  EXPECT_EQ(entry.portMarker(), "RPTNLPTN");
  EXPECT_EQ(entry.remoteIp, "All");
  EXPECT_EQ(entry.localIp, "All");
  EXPECT_EQ(entry.applicationName, "All/App");
  EXPECT_EQ(entry.ruleName, "All/Rule");
  TrafficRecord odd;
  odd.flags = kAllowed;  // no protocol, no direction
  EXPECT_TRUE(matches(odd, entry));
}

TEST(EditFilter, ChecksAddressesThenPortsWithTheirMessages) {
  EditFilterFields fields;
  fields.remoteAddress = "192.168.1.300";
  fields.localPort = "70000";
  EXPECT_EQ(checkEditFilterFields(fields), "Error : IP (xxx.xxx.xxx.xxx)");
  fields.remoteAddress = "10..0.1";  // an empty group passes
  EXPECT_EQ(checkEditFilterFields(fields), "Error : Port (0 - 65535)");
  fields.localPort = "65535";
  EXPECT_EQ(checkEditFilterFields(fields), std::nullopt);
  fields.localAddress = "1.2.3";
  EXPECT_EQ(checkEditFilterFields(fields), "Error : IP (xxx.xxx.xxx.xxx)");
  fields.localAddress = "All";
  for (const char* bad : {"65536", "-1", "8o", "all", " 80", "99999"}) {
    fields.remotePort = bad;
    EXPECT_EQ(checkEditFilterFields(fields), "Error : Port (0 - 65535)") << bad;
  }
  for (const char* good : {"", "0", "00080", "All"}) {
    fields.remotePort = good;
    EXPECT_EQ(checkEditFilterFields(fields), std::nullopt) << good;
  }
}

TEST(EditFilter, BuildsFlagsPortsAndMarker) {
  EditFilterFields fields;
  fields.action = ActionChoice::kBlock;
  fields.direction = DirectionChoice::kIn;
  fields.protocol = ProtocolChoice::kUdp;
  fields.remotePort = "";  // an empty port is port 0, compared as 0
  fields.localPort = "53";
  fields.remoteAddress = "10.0.0.5";
  FilterEntry entry = buildFilterEntry(fields);
  EXPECT_EQ(entry.flags, kBlocked | kIncoming | kUdp);
  EXPECT_EQ(entry.portMarker(), "");
  EXPECT_EQ(entry.remotePort, 0);
  EXPECT_EQ(entry.localPort, 53);
  EXPECT_EQ(entry.remoteIp, "10.0.0.5");

  TrafficRecord record;
  record.flags = kBlocked | kIncoming | kUdp;
  record.remoteIp = "10.0.0.5";
  record.localIp = "1.1.1.1";
  record.localPort = 53;
  record.remotePort = 0;
  EXPECT_TRUE(matches(record, entry));
  record.remotePort = 1;
  EXPECT_FALSE(matches(record, entry));

  fields.remotePort = "All";
  fields.localPort = "All";
  fields.protocol = ProtocolChoice::kIcmp;
  EXPECT_EQ(buildFilterEntry(fields).portMarker(), "RPTNLPTN");
  EXPECT_EQ(buildFilterEntry(fields).flags, kBlocked | kIncoming | kIcmp);
}

TEST(EditFilter, LoadsFromAnEntryAndSavesItBack) {
  FilterEntry entry = blankFilterEntry();
  entry.flags = kBlocked | kIncoming | kTcp;
  entry.setPortMarker("RPTN");
  entry.localPort = 80;
  entry.remotePort = 1234;  // ignored: the marker names it
  entry.applicationName = "C:\\app.exe";
  entry.ruleName = "Block_all";
  entry.remoteIp = "10.0.0.5";
  const EditFilterFields fields = editFilterFieldsFromEntry(entry);
  EXPECT_EQ(fields.action, ActionChoice::kBlock);
  EXPECT_EQ(fields.direction, DirectionChoice::kIn);
  EXPECT_EQ(fields.protocol, ProtocolChoice::kTcp);
  EXPECT_EQ(fields.remotePort, "All");
  EXPECT_EQ(fields.localPort, "80");
  EXPECT_EQ(fields.remoteAddress, "10.0.0.5");
  EXPECT_EQ(fields.localAddress, "All");
  EXPECT_EQ(fields.applicationName, "C:\\app.exe");
  EXPECT_EQ(fields.ruleName, "Block_all");
  FilterEntry rebuilt = entry;
  rebuilt.remotePort = 0;
  EXPECT_EQ(buildFilterEntry(fields), rebuilt);
}

}  // namespace
}  // namespace qv
