#include "gui/views/timeline_strip.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace qv::gui {
namespace {

// Bars narrower than this (device-independent pixels) would not be told apart.
constexpr qreal kMinimumBarWidth = 6.0;
constexpr qreal kMargin = 4.0;

// A fixed hue carried at the palette's own strength, so that blocked (red)
// and allowed (green) read alike on light and dark themes.
QColor tintOf(const QPalette& palette, int hue) {
  const QColor highlight = palette.color(QPalette::Highlight);
  const bool darkBase = palette.color(QPalette::Base).lightness() < 128;
  const int saturation = std::max(highlight.hsvSaturation(), darkBase ? 130 : 170);
  const int value = darkBase ? std::max(highlight.value(), 215) : std::clamp(highlight.value(), 150, 200);
  return QColor::fromHsv(hue, saturation, value);
}

}  // namespace

TimelineStrip::TimelineStrip(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TimelineStrip::setPoints(std::vector<TimelinePoint> points) {
  points_ = std::move(points);
  spanFrom_.reset();
  spanTo_.reset();
  rebuild();
}

QSize TimelineStrip::sizeHint() const {
  return {400, fontMetrics().height() * 5 + static_cast<int>(3 * kMargin)};
}

QSize TimelineStrip::minimumSizeHint() const {
  return {100, fontMetrics().height() * 3 + static_cast<int>(3 * kMargin)};
}

QRectF TimelineStrip::plotArea() const {
  const qreal labelHeight = fontMetrics().height() + kMargin;
  return QRectF(kMargin, kMargin, width() - 2 * kMargin, height() - 2 * kMargin - labelHeight);
}

std::size_t TimelineStrip::bucketLimit() const {
  return static_cast<std::size_t>(std::max(1.0, plotArea().width() / kMinimumBarWidth));
}

void TimelineStrip::rebuild() {
  timeline_ = buildTimeline(points_, bucketLimit());
  update();
}

QRectF TimelineStrip::barArea(std::size_t bucket) const {
  if (bucket >= timeline_.buckets.size()) return {};
  const QRectF plot = plotArea();
  const qreal slot = plot.width() / static_cast<qreal>(timeline_.buckets.size());
  const qreal gap = slot >= 4 ? 1.0 : 0.0;
  return QRectF(plot.left() + slot * static_cast<qreal>(bucket), plot.top(), slot - gap, plot.height());
}

std::optional<std::size_t> TimelineStrip::bucketAtX(qreal x, bool clamp) const {
  if (timeline_.empty()) return std::nullopt;
  const QRectF plot = plotArea();
  const qreal slot = plot.width() / static_cast<qreal>(timeline_.buckets.size());
  const qreal position = std::floor((x - plot.left()) / slot);
  const auto last = static_cast<qreal>(timeline_.buckets.size() - 1);
  if (!clamp && (position < 0 || position > last)) return std::nullopt;
  return static_cast<std::size_t>(std::clamp(position, 0.0, last));
}

bool TimelineStrip::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<std::size_t> bucket = bucketAtX(help->pos().x(), false);
    if (bucket && plotArea().contains(help->pos())) {
      QToolTip::showText(help->globalPos(), QString::fromStdString(timelineBucketToolTip(timeline_, *bucket)), this,
                         barArea(*bucket).toAlignedRect());
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) update();
  return QWidget::event(event);
}

void TimelineStrip::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (bucketLimit() != timeline_.buckets.size() || timeline_.empty()) rebuild();
}

void TimelineStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colours = palette();
  painter.fillRect(rect(), colours.color(QPalette::Base));
  const QRectF plot = plotArea();
  painter.setPen(colours.color(QPalette::Mid));
  painter.drawLine(QPointF(plot.left(), plot.bottom()), QPointF(plot.right(), plot.bottom()));
  if (timeline_.empty()) return;

  if (spanFrom_ && spanTo_) {
    const QRectF from = barArea(std::min(*spanFrom_, *spanTo_));
    const QRectF to = barArea(std::max(*spanFrom_, *spanTo_));
    QColor shade = colours.color(QPalette::Highlight);
    shade.setAlpha(70);
    painter.fillRect(QRectF(from.topLeft(), to.bottomRight()), shade);
  }

  const QColor blocked = tintOf(colours, 0);
  const QColor allowed = tintOf(colours, 120);
  const qreal scale = plot.height() / static_cast<qreal>(std::max<std::uint32_t>(timeline_.peak, 1));
  for (std::size_t bucket = 0; bucket < timeline_.buckets.size(); ++bucket) {
    const TimelineBucket& counts = timeline_.buckets[bucket];
    if (counts.total() == 0) continue;
    const QRectF area = barArea(bucket);
    // At least a sliver, so that a lone event beside thousands stays visible.
    const qreal blockedHeight = counts.blocked ? std::max(1.0, counts.blocked * scale) : 0.0;
    const qreal allowedHeight = counts.allowed ? std::max(1.0, counts.allowed * scale) : 0.0;
    painter.fillRect(QRectF(area.left(), area.bottom() - blockedHeight, area.width(), blockedHeight), blocked);
    painter.fillRect(
        QRectF(area.left(), area.bottom() - blockedHeight - allowedHeight, area.width(), allowedHeight), allowed);
  }
  drawAxis(painter, plot);
}

void TimelineStrip::drawAxis(QPainter& painter, const QRectF& plot) const {
  const QFontMetricsF metrics(font());
  const auto labelLimit = static_cast<std::size_t>(std::max(1.0, plot.width() / metrics.horizontalAdvance(QStringLiteral("00/00 00"))));
  const qreal top = plot.bottom() + kMargin / 2;
  qreal freeFrom = plot.left() - 1;
  painter.setPen(palette().color(QPalette::Text));
  for (const TimelineTick& tick : timelineTicks(timeline_, labelLimit)) {
    const QString text = QString::fromStdString(tick.text);
    const qreal x = barArea(tick.bucket).left();
    const qreal textWidth = metrics.horizontalAdvance(text);
    // A label that would overlap its neighbour or leave the strip is left out.
    if (x < freeFrom || x + textWidth > plot.right() + kMargin) continue;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, top));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(x + 2, top, textWidth + 2, metrics.height()), Qt::AlignLeft | Qt::AlignTop, text);
    freeFrom = x + textWidth + metrics.horizontalAdvance(u' ') * 2;
  }
}

void TimelineStrip::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  spanFrom_ = bucketAtX(event->position().x(), false);
  spanTo_ = spanFrom_;
  update();
}

void TimelineStrip::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || !spanFrom_) return QWidget::mouseMoveEvent(event);
  spanTo_ = bucketAtX(event->position().x(), true);
  update();
}

void TimelineStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !spanFrom_) return QWidget::mouseReleaseEvent(event);
  if (const std::optional<std::size_t> end = bucketAtX(event->position().x(), true)) spanTo_ = end;
  update();
  emit rowsChosen(timelineRows(timeline_, *spanFrom_, *spanTo_));
}

}  // namespace qv::gui
