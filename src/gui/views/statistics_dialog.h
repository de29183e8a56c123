#pragma once

#include <QDialog>

#include <span>
#include <string>
#include <vector>

#include "logdata/record_rows.h"
#include "logdata/traffic_record.h"
#include "views/port_chart_bars.h"

class QPlainTextEdit;

namespace qv::gui {

class StatisticsChart;

// "Statistics": the port statistics text of the traffic view's shown events,
// beside a chart of the ten ports with the most blocked incoming events.
class StatisticsDialog : public QDialog {
  Q_OBJECT

 public:
  StatisticsDialog(const std::string& text, std::vector<PortChartBar> bars, QWidget* parent = nullptr);
  // The statistics of these shown events.
  explicit StatisticsDialog(TrafficRows shown, QWidget* parent = nullptr);

  QString text() const;
  const StatisticsChart& chart() const { return *chart_; }

 private:
  QPlainTextEdit* textBox_ = nullptr;
  StatisticsChart* chart_ = nullptr;
};

}  // namespace qv::gui
