#include "gui/viewer/ratio_splitter.h"

#include "viewer/viewer_geometry.h"

namespace qv::gui {

RatioSplitter::RatioSplitter(double ratio, QWidget* parent) : QSplitter(Qt::Vertical, parent), ratio_(ratio) {
  setChildrenCollapsible(false);
  // Nothing moves while dragging; the panes follow on release.
  setOpaqueResize(false);
  connect(this, &QSplitter::splitterMoved, this, &RatioSplitter::onSplitterMoved);
}

void RatioSplitter::setRatio(double ratio) {
  ratio_ = ratio;
  applyRatio();
}

void RatioSplitter::resizeEvent(QResizeEvent* event) {
  QSplitter::resizeEvent(event);
  applyRatio();
}

void RatioSplitter::onSplitterMoved(int position) {
  ratio_ = splitterRatioAt(position, paneHeight());
  applyRatio();
  emit ratioChanged(ratio_);
}

void RatioSplitter::applyRatio() {
  if (count() != 2) return;
  const int total = paneHeight();
  const int upper = upperPaneHeight(ratio_, total);
  setSizes({upper, total - upper});
}

int RatioSplitter::paneHeight() const {
  return std::max(0, height() - (count() > 1 ? handleWidth() : 0));
}

}  // namespace qv::gui
