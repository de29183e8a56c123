// The packet viewer's speed, through the real window on the offscreen
// platform: stepping to the next packet over every frame of the bundled
// captures (decode, fill the three panes, re-apply the tree's expansion),
// the byte search through 1,000,000 packets with the only match in the last,
// and opening the viewer on a conversation of a 1,000,000-packet list.
// QV_BENCH_PACKET_LOG names a log written by logs_gen to search and open on
// instead of the frames of the captures repeated.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <ctime>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "gui/viewer/packet_viewer.h"
#include "logdata/protocol_names.h"
#include "settings/memory_settings_store.h"
#include "viewer/viewer_search.h"
#include "views/conversation.h"
#include "views/packet_search.h"
#include "views/read_operation.h"

namespace {

constexpr std::size_t kPackets = 1000000;
// Eight bytes no frame of the captures holds.
const std::vector<std::uint8_t> kMarker{0xf1, 0x7e, 0x5a, 0xa5, 0x0f, 0xf0, 0x96, 0x69};

std::vector<std::vector<std::uint8_t>> captureFrames() {
  std::vector<std::vector<std::uint8_t>> frames;
  const std::filesystem::path folder = std::filesystem::path(QV_SHARED_DATA_DIR) / "pcap";
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".pcap") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const auto& path : files) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(file)), {});
    if (data.size() < 24) continue;
    const bool swapped = data[0] == 0xa1;
    const auto read32 = [&](std::size_t at) {
      std::uint32_t value = 0;
      for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(data[at + i]) << (8 * (swapped ? 3 - i : i));
      return value;
    };
    const std::uint32_t magic = read32(0);
    if (magic != 0xa1b2c3d4u && magic != 0xa1b23c4du) continue;
    std::size_t at = 24;
    while (at + 16 <= data.size()) {
      const std::uint32_t captured = read32(at + 8);
      at += 16;
      if (captured > data.size() - at) break;
      frames.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(at),
                          data.begin() + static_cast<std::ptrdiff_t>(at + captured));
      at += captured;
    }
  }
  return frames;
}

// Records over one buffer holding `frames` one after another, each named and
// addressed as the packet-log reader would.
std::vector<qv::PacketRecord> recordsOf(const std::vector<std::vector<std::uint8_t>>& frames, std::size_t count) {
  std::string image;
  std::vector<qv::PacketRecord> records;
  records.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto& frame = frames[i % frames.size()];
    qv::PacketRecord record;
    record.recordStart = image.size();
    image += qv::packetRecordTextOfFrame(frame, static_cast<std::uint32_t>(frame.size()));
    image += "\r\n";
    const bool ip = frame.size() >= 34 && frame[12] == 0x08 && frame[13] == 0x00;
    const auto etherType = static_cast<std::uint16_t>(frame.size() >= 14 ? frame[12] << 8 | frame[13] : 0);
    record.protocol = ip ? qv::ipProtocolName(frame[23]) : qv::etherTypeProtocolName(etherType);
    if (ip) {
      char text[16];
      std::snprintf(text, sizeof text, "%u.%u.%u.%u", frame[26], frame[27], frame[28], frame[29]);
      record.localIp = std::string(text);
      std::snprintf(text, sizeof text, "%u.%u.%u.%u", frame[30], frame[31], frame[32], frame[33]);
      record.remoteIp = std::string(text);
    }
    record.time = std::string("2026/12/07 13:00:00.000");
    records.push_back(std::move(record));
  }
  const qv::SharedReadBuffer buffer = qv::readBufferOf(image);
  for (qv::PacketRecord& record : records) record.buffer = buffer;
  return records;
}

// The million packets: a read of QV_BENCH_PACKET_LOG, or the capture frames
// repeated with the marker in the last frame only.
const qv::PacketShownList& millionPackets() {
  static const qv::PacketShownList shown = [] {
    if (const char* path = std::getenv("QV_BENCH_PACKET_LOG")) {
      qv::PacketLogState log;
      const qv::ReadResult read = qv::readPacketLog(log, path, qv::FilterCriteria{}, 0);
      if (read.status != qv::ReadStatus::kShown) {
        std::fprintf(stderr, "cannot read %s: %s\n", path, read.message.c_str());
        std::exit(1);
      }
      return log.shown;
    }
    auto frames = captureFrames();
    std::vector<std::uint8_t> last(60, 0);
    std::copy(frames.front().begin(), frames.front().begin() + 14, last.begin());
    std::copy(kMarker.begin(), kMarker.end(), last.begin() + 40);
    auto records = recordsOf(frames, kPackets - 1);
    const auto tail = recordsOf({last}, 1);
    records.push_back(tail.front());
    records.back().protocol = "ARP";
    std::vector<qv::RecordIndex> order(records.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<qv::RecordIndex>(i);
    return qv::PacketShownList(std::make_shared<const std::vector<qv::PacketRecord>>(std::move(records)),
                               std::move(order));
  }();
  return shown;
}

double threadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// One iteration steps through every frame of the captures; the counters give
// the mean step and the slowest one (wall and processor time, which other
// load on the machine inflates less) and the size of the slowest frame.
void BM_StepToNextPacket(benchmark::State& state) {
  const auto frames = captureFrames();
  qv::settings::MemorySettingsStore store;
  qv::gui::PacketViewer viewer(recordsOf(frames, frames.size()), 0, store, {});
  viewer.show();
  QApplication::processEvents();
  double slowestWall = 0;
  double slowestCpu = 0;
  std::size_t slowestFrame = 0;
  std::size_t steps = 0;
  double totalWall = 0;
  double totalCpu = 0;
  for (auto _ : state) {
    viewer.goFirst();
    while (viewer.currentIndex() + 1 < viewer.packetCount()) {
      const auto start = std::chrono::steady_clock::now();
      const double cpuStart = threadCpuMilliseconds();
      viewer.goNext();
      QApplication::processEvents();
      const double cpu = threadCpuMilliseconds() - cpuStart;
      const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
      slowestWall = std::max(slowestWall, wall.count());
      totalWall += wall.count();
      totalCpu += cpu;
      if (cpu > slowestCpu) {
        slowestCpu = cpu;
        slowestFrame = frames[viewer.currentIndex()].size();
      }
      ++steps;
    }
  }
  state.counters["mean_wall_ms"] = steps == 0 ? 0 : totalWall / static_cast<double>(steps);
  state.counters["mean_cpu_ms"] = steps == 0 ? 0 : totalCpu / static_cast<double>(steps);
  state.counters["slowest_wall_ms"] = slowestWall;
  state.counters["slowest_cpu_ms"] = slowestCpu;
  state.counters["slowest_frame_bytes"] = static_cast<double>(slowestFrame);
}
BENCHMARK(BM_StepToNextPacket)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_SearchMillionPacketsMatchInLast(benchmark::State& state) {
  const qv::PacketShownList& shown = millionPackets();
  for (auto _ : state) {
    const auto hit = qv::searchPackets(shown, std::nullopt, kMarker);
    benchmark::DoNotOptimize(hit);
    if (!std::getenv("QV_BENCH_PACKET_LOG") && (!hit || hit->row + 1 != shown.size())) {
      state.SkipWithError("marker not found in the last packet");
    }
  }
}
BENCHMARK(BM_SearchMillionPacketsMatchInLast)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ViewerSearchMillionPacketsMatchInLast(benchmark::State& state) {
  const qv::PacketShownList& shown = millionPackets();
  std::vector<qv::PacketRecord> packets;
  packets.reserve(shown.size());
  for (std::size_t row = 0; row < shown.size(); ++row) packets.push_back(shown[row]);
  for (auto _ : state) {
    const auto hit = qv::searchViewerPackets(packets, 0, kMarker);
    benchmark::DoNotOptimize(hit);
  }
}
BENCHMARK(BM_ViewerSearchMillionPacketsMatchInLast)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenViewerOnConversation(benchmark::State& state) {
  const qv::PacketShownList& shown = millionPackets();
  // The first TCP packet's conversation.
  qv::RowIndex row = 0;
  while (row < shown.size() && shown[row].protocol != "TCP") ++row;
  qv::settings::MemorySettingsStore store;
  std::size_t members = 0;
  for (auto _ : state) {
    qv::ViewerPackets packets = qv::conversationOf(shown, row);
    members = packets.packets.size();
    auto viewer = std::make_unique<qv::gui::PacketViewer>(std::move(packets.packets), packets.currentIndex, store,
                                                          qv::gui::FileChooser{});
    viewer->show();
    QApplication::processEvents();
  }
  state.counters["members"] = static_cast<double>(members);
}
BENCHMARK(BM_OpenViewerOnConversation)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
