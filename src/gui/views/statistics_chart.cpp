#include "gui/views/statistics_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace qv::gui {

namespace {

QString fromBytes(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

StatisticsChart::StatisticsChart(std::vector<PortChartBar> bars, QWidget* parent)
    : QFrame(parent), bars_(std::move(bars)) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAccessibleName(QStringLiteral("Ports with the most blocked incoming events"));
}

QString StatisticsChart::valueText(const PortChartBar& bar) {
  return QStringLiteral("%1 (%2 %)").arg(bar.count).arg(bar.percent, 0, 'f', 2);
}

QString StatisticsChart::axisText(const PortChartBar& bar) {
  return fromBytes(bar.protocol) + QLatin1Char(' ') + fromBytes(bar.port);
}

QString StatisticsChart::emptyText() { return QStringLiteral("No blocked incoming events"); }

int StatisticsChart::rowHeight() const { return fontMetrics().height() * 3 / 2 + 2; }

int StatisticsChart::axisWidth() const {
  int width = 0;
  for (const PortChartBar& bar : bars_) width = std::max(width, fontMetrics().horizontalAdvance(axisText(bar)));
  return width;
}

int StatisticsChart::valueWidth() const {
  int width = 0;
  for (const PortChartBar& bar : bars_) width = std::max(width, fontMetrics().horizontalAdvance(valueText(bar)));
  return width;
}

QSize StatisticsChart::minimumSizeHint() const {
  const int margin = fontMetrics().height();
  const int frame = 2 * frameWidth();
  if (bars_.empty()) return {fontMetrics().horizontalAdvance(emptyText()) + 2 * margin + frame, 4 * margin + frame};
  return {axisWidth() + valueWidth() + 5 * margin + frame,
          static_cast<int>(bars_.size()) * rowHeight() + 2 * margin + frame};
}

QSize StatisticsChart::sizeHint() const {
  const QSize least = minimumSizeHint();
  return {least.width() + 10 * fontMetrics().height(), std::max(least.height(), 10 * rowHeight())};
}

void StatisticsChart::paintEvent(QPaintEvent* event) {
  paintChart();
  QFrame::paintEvent(event);
}

void StatisticsChart::paintChart() {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPalette& colors = palette();
  const QRect area = contentsRect();
  painter.fillRect(area, colors.base());
  painter.setClipRect(area);
  const int margin = fontMetrics().height();

  if (bars_.empty()) {
    painter.setPen(colors.color(QPalette::PlaceholderText));
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, emptyText());
    return;
  }

  const int row = rowHeight();
  const int axisX = area.left() + margin + axisWidth() + margin / 2;
  const int rightEdge = area.right() - margin;
  const int top = area.top() + margin;
  std::uint64_t largest = 1;
  for (const PortChartBar& bar : bars_) largest = std::max(largest, bar.count);
  // The longest bar leaves room for its text beside it.
  const int room = std::max(1, rightEdge - axisX - valueWidth() - margin / 2);

  const QColor barColor = colors.color(QPalette::Highlight);
  const QColor textColor = colors.color(QPalette::Text);
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    const PortChartBar& bar = bars_[i];
    const int y = top + static_cast<int>(i) * row;
    const QRect label(area.left() + margin, y, axisX - area.left() - margin - margin / 2, row);
    painter.setPen(textColor);
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, axisText(bar));

    const int length = std::max(2, static_cast<int>(static_cast<double>(bar.count) * room / static_cast<double>(largest)));
    const QRectF barRect(axisX, y + row * 0.18, length, row * 0.64);
    QPainterPath path;
    path.addRoundedRect(barRect, 2, 2);
    painter.fillPath(path, barColor);

    painter.setPen(textColor);
    const QRect value(axisX + length + margin / 3, y, rightEdge - axisX - length, row);
    painter.drawText(value, Qt::AlignLeft | Qt::AlignVCenter, valueText(bar));
  }
  // The axis the bars grow from.
  QPen axisPen(colors.color(QPalette::Mid));
  axisPen.setWidthF(1.0);
  painter.setPen(axisPen);
  painter.drawLine(QPointF(axisX - 0.5, top), QPointF(axisX - 0.5, top + static_cast<int>(bars_.size()) * row));
}

}  // namespace qv::gui
