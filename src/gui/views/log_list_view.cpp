#include "gui/views/log_list_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontInfo>
#include <QHeaderView>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>

#include "gui/views/hover_row_delegate.h"

namespace qv::gui {

LogListView::LogListView(QWidget* parent) : QTableView(parent) {
  delegate_ = new HoverRowDelegate(this);
  setItemDelegate(delegate_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setMouseTracking(true);
  setCornerButtonEnabled(false);
  setIconSize(QSize(16, 16));

  // Every row has the same height, so the view never measures rows.
  QHeaderView* rows = verticalHeader();
  rows->setVisible(false);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setMinimumSectionSize(1);

  QHeaderView* columns = horizontalHeader();
  columns->setSectionsMovable(true);
  columns->setSectionsClickable(true);
  columns->setHighlightSections(false);
  columns->setStretchLastSection(false);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(columns, &QHeaderView::sectionClicked, this, &LogListView::headerClicked);

  setFontHeight(QFontInfo(QApplication::font()).pixelSize());
  applyStyle(style_);
}

void LogListView::setUpColumns(std::span<const ColumnLayout> layout) {
  // The layout's widths fit a time text about 100 pixels wide; a larger
  // font widens every column alike so that no title or time is cut.
  const double scale =
      std::max(1.0, QFontMetrics(font()).horizontalAdvance(QStringLiteral("0000/00/00 00:00:00")) / 100.0);
  for (std::size_t column = 0; column < layout.size(); ++column) {
    QTableView::setColumnWidth(static_cast<int>(column), static_cast<int>(layout[column].width * scale + 0.5));
  }
}

std::vector<int> LogListView::selectedRowNumbers() const {
  std::vector<int> rows;
  if (!selectionModel()) return rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::optional<int> LogListView::firstSelectedRow() const {
  const std::vector<int> rows = selectedRowNumbers();
  if (rows.empty()) return std::nullopt;
  return rows.front();
}

void LogListView::selectRows(std::span<const std::size_t> ascendingRows, std::optional<std::size_t> current) {
  if (!model() || !selectionModel()) return;
  const int lastColumn = model()->columnCount() - 1;
  const auto row = [](std::size_t value) { return static_cast<int>(value); };
  QItemSelection selection;
  for (std::size_t i = 0; i < ascendingRows.size();) {
    std::size_t end = i + 1;
    while (end < ascendingRows.size() && ascendingRows[end] == ascendingRows[end - 1] + 1) ++end;
    selection.select(model()->index(row(ascendingRows[i]), 0), model()->index(row(ascendingRows[end - 1]), lastColumn));
    i = end;
  }
  if (current) selectionModel()->setCurrentIndex(model()->index(row(*current), 0), QItemSelectionModel::NoUpdate);
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void LogListView::setFontHeight(int height) {
  fontHeight_ = std::clamp(height, kMinFontHeight, kMaxFontHeight);
  QFont changed = font();
  changed.setPixelSize(fontHeight_);
  setFont(changed);
  updateRowHeight();
  emit fontHeightChanged(fontHeight_);
}

void LogListView::setViewFont(const QFont& font) {
  QFont changed = font;
  const int height = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
  fontHeight_ = std::clamp(height, kMinFontHeight, kMaxFontHeight);
  changed.setPixelSize(fontHeight_);
  setFont(changed);
  updateRowHeight();
  emit fontHeightChanged(fontHeight_);
}

void LogListView::updateRowHeight() {
  const int height = std::max(QFontMetrics(font()).height(), iconSize().height()) + 4;
  verticalHeader()->setDefaultSectionSize(height);
}

void LogListView::applyStyle(const ListViewStyle& style) {
  style_ = style;
  setShowGrid(style.gridlines);
  if (!style.hotTracking) setHoveredRow(-1);
  applyColors();
}

void LogListView::applyColors() {
  applyingColors_ = true;
  QPalette colors = QApplication::palette(this);
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    if (style_.background) colors.setColor(group, QPalette::Base, *style_.background);
    if (style_.text) colors.setColor(group, QPalette::Text, *style_.text);
  }
  // The selection looks the same whether or not the list has the focus.
  colors.setColor(QPalette::Inactive, QPalette::Highlight, colors.color(QPalette::Active, QPalette::Highlight));
  colors.setColor(QPalette::Inactive, QPalette::HighlightedText,
                  colors.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(colors);
  applyingColors_ = false;
}

std::vector<int> LogListView::columnWidths() const {
  std::vector<int> widths;
  const int count = horizontalHeader()->count();
  for (int column = 0; column < count; ++column) widths.push_back(columnWidth(column));
  return widths;
}

std::vector<int> LogListView::columnOrder() const {
  std::vector<int> order;
  const QHeaderView* header = horizontalHeader();
  for (int position = 0; position < header->count(); ++position) order.push_back(header->logicalIndex(position));
  return order;
}

void LogListView::setColumnOrder(std::span<const int> order) {
  QHeaderView* header = horizontalHeader();
  if (static_cast<int>(order.size()) != header->count()) return;
  for (int position = 0; position < static_cast<int>(order.size()); ++position) {
    const int from = header->visualIndex(order[static_cast<std::size_t>(position)]);
    if (from >= 0 && from != position) header->moveSection(from, position);
  }
}

void LogListView::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() & Qt::KeypadModifier) {
    if (event->key() == Qt::Key_Plus) {
      setFontHeight(fontHeight_ + 1);
      event->accept();
      return;
    }
    if (event->key() == Qt::Key_Minus) {
      setFontHeight(fontHeight_ - 1);
      event->accept();
      return;
    }
  }
  QTableView::keyPressEvent(event);
}

void LogListView::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() == Qt::ControlModifier && event->buttons() == Qt::NoButton) {
    const int delta = event->angleDelta().y();
    if (delta != 0) setFontHeight(fontHeight_ + (delta < 0 ? 1 : -1));
    event->accept();
    return;
  }
  QTableView::wheelEvent(event);
}

void LogListView::contextMenuEvent(QContextMenuEvent* event) {
  if (!contextMenu_) return;
  contextMenu_->popup(event->globalPos() + QPoint(5, 5));
  event->accept();
}

void LogListView::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void LogListView::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void LogListView::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  emit fileDropped(urls.front().toLocalFile());
}

void LogListView::mouseMoveEvent(QMouseEvent* event) {
  if (style_.hotTracking) setHoveredRow(indexAt(event->position().toPoint()).row());
  QTableView::mouseMoveEvent(event);
}

void LogListView::leaveEvent(QEvent* event) {
  setHoveredRow(-1);
  QTableView::leaveEvent(event);
}

void LogListView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::PaletteChange && !applyingColors_) applyColors();
}

void LogListView::setHoveredRow(int row) {
  if (row == delegate_->hoveredRow()) return;
  delegate_->setHoveredRow(row);
  if (row >= 0) {
    viewport()->setCursor(Qt::PointingHandCursor);
  } else {
    viewport()->unsetCursor();
  }
  viewport()->update();
}

}  // namespace qv::gui
