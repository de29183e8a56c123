#pragma once

#include <QColor>
#include <QFrame>

#include <cstdint>

namespace qv::gui {

// A framed area filled with one colour, the preview beside the colour fields.
class ColorSwatch : public QFrame {
  Q_OBJECT

 public:
  explicit ColorSwatch(QWidget* parent = nullptr);

  // A 0x00BBGGRR colour.
  void setColor(std::uint32_t bgr);
  QColor color() const { return color_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor color_;
};

}  // namespace qv::gui
