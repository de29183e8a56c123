#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_test_support.h"
#include "cli/log_files.h"
#include "support/run_program.h"
#include "support/windows_skip.h"

namespace qv {
namespace {

const std::vector<std::uint8_t> kArp = test::hexBytes(
    "ffffffffffff 0a1b2c3d4e5f 0806 0001 0800 0604 0001 0a1b2c3d4e5f c0a80001 000000000000 c0a80002");

// UDP from port 67 to 1234 whose payload holds bytes outside the printable range.
const std::vector<std::uint8_t> kUdp = test::hexBytes(
    "0011223344550a1b2c3d4e5f080045000021123440004011a744c0a80001c0a8"
    "0002004304d2000d3599 68 65 01 ff 7f");

class DecodeCommand : public ::testing::Test {
 protected:
  std::string packetLog() {
    return folder_.write("rawlog.log", test::logHeader("00000003", "00000002", "00000002") +
                                           test::packetRecord(kArp) + test::packetRecord(kUdp) + std::string(140, '\0'));
  }

  test::TempFolder folder_;
};

TEST_F(DecodeCommand, PrintsTheTreeThePayloadBaseAndTheHexPane) {
  const auto result = test::runQvlog({"decode", packetLog(), "--index", "0", "--hex", "--payload"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "Ethernet\t0\t65535\n"
            "  Header\t0\t42\n"
            "    Destination MAC : ff-ff-ff-ff-ff-ff ( Reserved )\t0\t17\n"
            "    Source MAC : 0a-1b-2c-3d-4e-5f ( Reserved / Unknown )\t18\t36\n"
            "    Ethernet Type : ARP\t37\t42\n"
            "  Data : ARP\t43\t65535\n"
            "payloadBase\t0\n"
            "hex:\n"
            "ff ff ff ff ff ff 0a 1b  2c 3d 4e 5f 08 06 00 01\n"
            "08 00 06 04 00 01 0a 1b  2c 3d 4e 5f c0 a8 00 01\n"
            "00 00 00 00 00 00 c0 a8  00 02\n"
            "payload:\n"
            "\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(DecodeCommand, EscapesPayloadBytesOutsideThePrintableRange) {
  const auto result = test::runQvlog({"decode", packetLog(), "--payload", "--index", "1"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("\n  Data : IP\t43\t65535\n"), std::string::npos);
  EXPECT_NE(result.out.find("\n      Data : 5 Bytes\t131\t65535\n"), std::string::npos);
  EXPECT_NE(result.out.find("\npayloadBase\t42\npayload:\nhe\\x01\\xFF\\x7F\n"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("hex:"), std::string::npos);
}

TEST_F(DecodeCommand, RefusesAnIndexOutsideTheRecords) {
  const auto result = test::runQvlog({"decode", packetLog(), "--index", "2"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("2"), std::string::npos);
}

TEST_F(DecodeCommand, ReportsFilesThatCannotBeReadLikeThePacketList) {
  const auto missing = test::runQvlog({"decode", folder_.pathOf("absent.log"), "--index", "0"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err.rfind("CFile::Open Error : ", 0), 0u) << missing.err;

  const std::string trafficLog = folder_.write("tralog.log", test::logHeader("00000002", "00000001", "00000001"));
  const auto wrongFormat = test::runQvlog({"decode", trafficLog, "--index", "0"});
  EXPECT_EQ(wrongFormat.exitCode, 1);
  EXPECT_EQ(wrongFormat.err, "Error : Invalid file format\n");
}

// A listing lost to a full disk is a failure, for the decoder's and the vendor
// lookup's output as for the lists'.
TEST_F(DecodeCommand, OutputThatCannotBeWrittenIsAFailure) {
  QV_SKIP_ON_WINDOWS("needs a POSIX shell and /dev/full");
  const auto toFullDevice = [](const std::vector<std::string>& args) {
    std::vector<std::string> shellArgs{"-c", "\"$0\" \"$@\" > /dev/full", QVLOG_PATH};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    return test::runProgram("/bin/sh", shellArgs);
  };
  const auto decode = toFullDevice({"decode", packetLog(), "--index", "0", "--hex"});
  EXPECT_EQ(decode.exitCode, 1);
  EXPECT_EQ(decode.err, "qvlog decode: the output could not be written\n");

  const auto vendor = toFullDevice({"vendor", "00-11-22"});
  EXPECT_EQ(vendor.exitCode, 1);
  EXPECT_EQ(vendor.err, "qvlog vendor: the output could not be written\n");
}

TEST_F(DecodeCommand, RejectsMissingOrMalformedArguments) {
  EXPECT_EQ(test::runQvlog({"decode", packetLog()}).exitCode, 2);
  EXPECT_EQ(test::runQvlog({"decode", packetLog(), "--index", "x1"}).exitCode, 2);
  EXPECT_EQ(test::runQvlog({"decode", "--index", "0"}).exitCode, 2);
}

}  // namespace
}  // namespace qv
