// The timeline over a million shown events: turning the rows into points,
// bucketing them and painting the strip, as a redraw after a read does.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <vector>

#include "gui/views/timeline_strip.h"
#include "views/timeline.h"

namespace {

// A million events over four weeks, a third of them allowed.
const std::vector<qv::TrafficRecord>& millionEvents() {
  static const std::vector<qv::TrafficRecord> rows = [] {
    std::vector<qv::TrafficRecord> made(1'000'000);
    for (std::size_t i = 0; i < made.size(); ++i) {
      const std::int64_t second = static_cast<std::int64_t>(i) * 28 * 86400 / 1'000'000;
      char text[32];
      std::snprintf(text, sizeof text, "2024/03/%02d %02d:%02d:%02d", static_cast<int>(1 + second / 86400),
                    static_cast<int>(second / 3600 % 24), static_cast<int>(second / 60 % 60),
                    static_cast<int>(second % 60));
      made[i].time = qv::Text(text);
      made[i].flags = i % 3 == 0 ? qv::RecordFlag::kAllowed : qv::RecordFlag::kBlocked;
    }
    return made;
  }();
  return rows;
}

void BM_BucketAndPaintMillionEvents(benchmark::State& state) {
  const std::vector<qv::TrafficRecord>& rows = millionEvents();
  qv::gui::TimelineStrip strip;
  strip.resize(1600, strip.sizeHint().height());
  QImage image(strip.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    strip.setPoints(qv::timelinePointsOf(rows));
    QPainter painter(&image);
    strip.render(&painter);
    painter.end();
    benchmark::DoNotOptimize(image.bits());
  }
  state.counters["buckets"] = static_cast<double>(strip.timeline().buckets.size());
}
BENCHMARK(BM_BucketAndPaintMillionEvents)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
