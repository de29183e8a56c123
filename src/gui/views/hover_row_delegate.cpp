#include "gui/views/hover_row_delegate.h"

#include <QPainter>

namespace qv::gui {

void HoverRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (index.row() == hoveredRow_ && !(option.state & QStyle::State_Selected)) {
    QColor tint = option.palette.color(QPalette::Active, QPalette::Highlight);
    tint.setAlpha(48);
    painter->fillRect(option.rect, tint);
  }
  QStyleOptionViewItem plain = option;
  // The tint above is the hover mark; the style's own would differ per style.
  plain.state &= ~QStyle::State_MouseOver;
  QStyledItemDelegate::paint(painter, plain, index);
}

}  // namespace qv::gui
