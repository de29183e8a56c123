#pragma once

#include <QColor>
#include <QTableView>

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "views/traffic_columns.h"

class QMenu;

namespace qv::gui {

class HoverRowDelegate;

// Gridlines, hot-tracking and the two colours a user may choose; a colour
// left empty comes from the palette, so the list stays readable on a dark
// desktop theme.
struct ListViewStyle {
  bool gridlines = true;
  bool hotTracking = true;
  std::optional<QColor> background;
  std::optional<QColor> text;

  friend bool operator==(const ListViewStyle&, const ListViewStyle&) = default;
};

// What the traffic and packet views share: a virtual list of uniform rows,
// multi-row full-row selection that stays visible without focus, movable
// columns, sort clicks on the header, the font height kept within 11 to 19
// pixels (keypad +/- and Ctrl+wheel), the view style, a context menu at the
// cursor and files dropped on it.
class LogListView : public QTableView {
  Q_OBJECT

 public:
  static constexpr int kMinFontHeight = 11;
  static constexpr int kMaxFontHeight = 19;

  explicit LogListView(QWidget* parent = nullptr);

  // Column titles come from the model; widths and alignment from the layout.
  void setUpColumns(std::span<const ColumnLayout> layout);

  // The selected rows, lowest first; the first is "the selected event".
  std::vector<int> selectedRowNumbers() const;
  std::optional<int> firstSelectedRow() const;
  // Selects exactly `ascendingRows` (whole rows, in runs so that a million
  // rows stay cheap) and makes `current` the current row without scrolling.
  void selectRows(std::span<const std::size_t> ascendingRows, std::optional<std::size_t> current);

  int fontHeight() const { return fontHeight_; }
  // Clamped to 11..19; the face stays.
  void setFontHeight(int height);
  // Takes the face and style of `font` and its pixel height (clamped).
  void setViewFont(const QFont& font);
  QFont viewFont() const { return font(); }

  void applyStyle(const ListViewStyle& style);
  const ListViewStyle& viewStyle() const { return style_; }

  void setContextMenu(QMenu* menu) { contextMenu_ = menu; }

  // Column widths and display order (the column shown at each position).
  std::vector<int> columnWidths() const;
  std::vector<int> columnOrder() const;
  void setColumnWidth(int column, int width) { QTableView::setColumnWidth(column, width); }
  void setColumnOrder(std::span<const int> order);

 signals:
  void headerClicked(int column);
  void fileDropped(const QString& path);
  void fontHeightChanged(int height);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void updateRowHeight();
  void applyColors();
  void setHoveredRow(int row);

  HoverRowDelegate* delegate_ = nullptr;
  QMenu* contextMenu_ = nullptr;
  ListViewStyle style_;
  int fontHeight_ = 12;
  bool applyingColors_ = false;
};

}  // namespace qv::gui
