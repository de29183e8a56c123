#include "gui/settings/color_swatch.h"

#include <QPainter>

namespace qv::gui {

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void ColorSwatch::setColor(std::uint32_t bgr) {
  const QColor next(static_cast<int>(bgr & 0xFFU), static_cast<int>((bgr >> 8) & 0xFFU),
                    static_cast<int>((bgr >> 16) & 0xFFU));
  if (next == color_) return;
  color_ = next;
  update();
}

QSize ColorSwatch::sizeHint() const {
  const int unit = fontMetrics().height();
  return {unit * 3, unit + 2 * frameWidth()};
}

// However narrow the dialog, the preview stays large enough to see.
QSize ColorSwatch::minimumSizeHint() const {
  const int unit = fontMetrics().height();
  return {unit * 2, unit};
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(contentsRect(), color_);
  }
  QFrame::paintEvent(event);
}

}  // namespace qv::gui
