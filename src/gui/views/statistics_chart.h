#pragma once

#include <QFrame>

#include <vector>

#include "views/port_chart_bars.h"

namespace qv::gui {

// The ports with the most blocked incoming events as horizontal bars:
// protocol and port on the axis, count and share on each bar. Painted in the
// palette's colours, so it reads in light and dark themes alike.
class StatisticsChart : public QFrame {
  Q_OBJECT

 public:
  explicit StatisticsChart(std::vector<PortChartBar> bars, QWidget* parent = nullptr);

  const std::vector<PortChartBar>& bars() const { return bars_; }
  // What a bar says: "count (share %)".
  static QString valueText(const PortChartBar& bar);
  static QString axisText(const PortChartBar& bar);
  // Shown instead of the chart when there is nothing to draw.
  static QString emptyText();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintChart();
  int rowHeight() const;
  int axisWidth() const;
  int valueWidth() const;

  std::vector<PortChartBar> bars_;
};

}  // namespace qv::gui
