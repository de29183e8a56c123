#pragma once

#include <QRectF>
#include <QWidget>

#include <cstddef>
#include <optional>
#include <vector>

#include "views/timeline.h"

namespace qv::gui {

// The strip above a list that draws its shown events over time as stacked
// bars, blocked below allowed. Hovering a bar tells its interval and counts;
// a click on a bar, or a drag across bars, chooses their rows.
class TimelineStrip : public QWidget {
  Q_OBJECT

 public:
  explicit TimelineStrip(QWidget* parent = nullptr);

  // The shown rows in display order (timelinePointsOf); call again after
  // every read, filter run, analysis and sort, since rows are chosen by index.
  void setPoints(std::vector<TimelinePoint> points);
  const Timeline& timeline() const noexcept { return timeline_; }

  // Where a bucket's bar may reach, in widget coordinates; empty for no bar.
  QRectF barArea(std::size_t bucket) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // The rows (display order indexes, ascending) of the clicked bar or of the
  // dragged span; the list selects them and scrolls to the first.
  void rowsChosen(const std::vector<std::size_t>& rows);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRectF plotArea() const;
  std::size_t bucketLimit() const;
  void rebuild();
  // The bucket under x, or the nearest one when `clamp` is set.
  std::optional<std::size_t> bucketAtX(qreal x, bool clamp) const;
  void drawAxis(class QPainter& painter, const QRectF& plot) const;

  std::vector<TimelinePoint> points_;
  Timeline timeline_;
  std::optional<std::size_t> spanFrom_;
  std::optional<std::size_t> spanTo_;
};

}  // namespace qv::gui
