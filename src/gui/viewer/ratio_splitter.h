#pragma once

#include <QSplitter>

namespace qv::gui {

// A vertical splitter between two panes that keeps the upper pane's share of
// the height when the window is resized. The user's drag is applied when
// the button is released, and its share is held within 0.1 to 0.9.
class RatioSplitter : public QSplitter {
  Q_OBJECT

 public:
  explicit RatioSplitter(double ratio, QWidget* parent = nullptr);

  double ratio() const noexcept { return ratio_; }
  // A stored share; used as it is, but laid out within 0.1 to 0.9.
  void setRatio(double ratio);

 signals:
  void ratioChanged(double ratio);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void onSplitterMoved(int position);
  void applyRatio();
  int paneHeight() const;

  double ratio_;
};

}  // namespace qv::gui
