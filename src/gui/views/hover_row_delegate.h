#pragma once

#include <QStyledItemDelegate>

namespace qv::gui {

// Paints the row under the mouse with a light tint of the selection colour
// (hot-tracking), so it stays readable with any palette.
class HoverRowDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void setHoveredRow(int row) { hoveredRow_ = row; }
  int hoveredRow() const { return hoveredRow_; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  int hoveredRow_ = -1;
};

}  // namespace qv::gui
