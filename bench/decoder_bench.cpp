// Decoding one packet for the packet viewer: a typical TCP data segment and
// a full DHCP reply, each with the real vendor lookups (the vendor library is
// loaded and unloaded for every address, as the viewer does) and without.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "decode/packet_decoder.h"
#include "logdata/packet_record.h"
#include "logdata/read_buffer.h"

namespace {

// HTTP response segment: PSH/ACK with timestamp options and 482 data bytes.
constexpr std::string_view kTcpFrame =
    "0011223344550a1b2c3d4e5f080045000220123440004006a550c0a80001c0a800020050c000123456789abcdef08018"
    "20004d0400000101080a0001e2400001e23f485454502f312e3120323030204f4b0d0a436f6e74656e742d547970653a"
    "20746578742f68746d6c0d0a436f6e74656e742d4c656e6774683a20313032340d0a0d0a3c68746d6c3e3c626f64793e"
    "787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878"
    "787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878"
    "787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878"
    "787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878"
    "787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878"
    "787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878"
    "787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878"
    "787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878"
    "787878787878787878787878787878783c2f626f64793e3c2f68746d6c3e";

// DHCPOFFER from 67 to 68 with fourteen options and End, padded to 300 bytes.
constexpr std::string_view kDhcpFrame =
    "0011223344550a1b2c3d4e5f080045000175123440004011a5e8c0a80001c0a8000a004300440161e811020106003903"
    "f3260000000000000000c0a8000ac0a800010000000000a0c91122330000000000000000000000000000000000000000"
    "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "0000000000000000000000000000000000000000000000000000000000000000000000000000638253633501020104ff"
    "ffff000308c0a80001c0a800fe060808080808080804040f0b6578616d706c652e6f72673304000151803604c0a80001"
    "3a040000a8c03b04000127501c04c0a800ff2a04c0a800011a0205dc3d070100a0c9112233370b0103060f1c2a33363a"
    "3b79ff";
qv::PacketRecord recordOf(std::string_view hex, std::string_view protocol, std::uint8_t tcpFlags) {
  std::vector<std::uint8_t> frame;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    frame.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  qv::PacketRecord record;
  record.buffer = qv::readBufferOf(qv::packetRecordTextOfFrame(frame, static_cast<std::uint32_t>(frame.size())));
  record.protocol = protocol;
  record.tcpFlags = tcpFlags;
  return record;
}

void decodeRepeatedly(benchmark::State& state, const qv::PacketRecord& record, const qv::PacketDecoder& decoder) {
  for (auto _ : state) {
    qv::DecodeResult result = decoder.decodePacket(record);
    benchmark::DoNotOptimize(result.tree.size());
    benchmark::DoNotOptimize(result.hexText.data());
  }
}

void BM_DecodeTcpFrame(benchmark::State& state) {
  decodeRepeatedly(state, recordOf(kTcpFrame, "TCP", 0x18), qv::PacketDecoder());
}

void BM_DecodeDhcpMessage(benchmark::State& state) {
  decodeRepeatedly(state, recordOf(kDhcpFrame, "UDP", 0), qv::PacketDecoder());
}

void BM_DecodeTcpFrameWithoutVendorLibrary(benchmark::State& state) {
  decodeRepeatedly(state, recordOf(kTcpFrame, "TCP", 0x18), qv::PacketDecoder(qv::VendorLookup{}));
}

void BM_DecodeDhcpMessageWithoutVendorLibrary(benchmark::State& state) {
  decodeRepeatedly(state, recordOf(kDhcpFrame, "UDP", 0), qv::PacketDecoder(qv::VendorLookup{}));
}

}  // namespace

BENCHMARK(BM_DecodeTcpFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DecodeDhcpMessage)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DecodeTcpFrameWithoutVendorLibrary)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeDhcpMessageWithoutVendorLibrary)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
