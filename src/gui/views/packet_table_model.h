#pragma once

#include <QAbstractTableModel>

#include <utility>

#include "gui/views/list_icon_flags.h"
#include "gui/views/new_row_marks.h"
#include "gui/views/view_icons.h"
#include "views/read_operation.h"
#include "views/sort_state.h"

namespace qv::gui {

// The packet view's rows over the packet log as the main window holds it:
// the records read and the shown list. Cells are written on demand by the
// core's cell texts; the rows are only ever replaced whole or sorted.
class PacketTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit PacketTableModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const PacketLogState& log() const noexcept { return log_; }

  // Runs `change` on the log state and shows the result: the rows are new,
  // so the list is unsorted again.
  template <class Change>
  decltype(auto) update(Change&& change) {
    beginResetModel();
    struct EndReset {
      PacketTableModel* model;
      ~EndReset() {
        model->sort_.reset();
        model->newRows_.forget();
        model->endResetModel();
      }
    } endReset{this};
    return std::forward<Change>(change)(log_);
  }
  // Takes a whole log state read elsewhere.
  void replaceLog(PacketLogState log);
  // The same for rows already sorted as `sortedBy` says (a re-read that keeps
  // the user's sort). Hands back the state it replaced, so that the caller
  // may free a million records off the user-interface thread.
  [[nodiscard]] PacketLogState replaceLog(PacketLogState log, const SortState& sortedBy);

  // Shows the rows (display indexes, ascending) as new until the marks are
  // cleared or the rows change.
  void markNewRows(std::vector<std::size_t> rows);
  void clearNewRowMarks();
  bool isMarkedNew(int row) const { return newRows_.contains(row); }
  const std::vector<std::size_t>& rowsMarkedNew() const noexcept { return newRows_.rows(); }

  // A click on the header of `column`: sorts the rows; false when the list is
  // empty and nothing changed.
  bool clickHeader(int column);
  const SortState& sortState() const noexcept { return sort_; }

  void setIconFlags(const ListIconFlags& flags);
  const ListIconFlags& iconFlags() const noexcept { return iconFlags_; }

 private:
  QVariant decoration(const PacketRecord& record, int column) const;

  PacketLogState log_;
  SortState sort_;
  NewRowMarks newRows_;
  ListIconFlags iconFlags_;
  PacketIconSet icons_;
  mutable ApplicationIconCache applicationIcons_;
};

}  // namespace qv::gui
