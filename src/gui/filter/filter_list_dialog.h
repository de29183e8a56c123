#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

#include "filter/counted_filter_list_model.h"
#include "filter/filter_hit_counts.h"
#include "filter/filter_list.h"

class QPushButton;
class QTableView;

namespace qv::gui {

class FilterListTableModel;

// Runs the Edit Filter dialog over fields; the accepted fields, or none on
// Cancel. Tests hand the Filter List dialog one of their own.
using FilterEntryEditor = std::function<std::optional<EditFilterFields>(QWidget* owner, const EditFilterFields&)>;

// "Filter List": the filter list's entries in a list, with how many events
// each hid in the last filter run. The buttons work on a copy; OK writes it
// back into the list, Cancel leaves the list as it was.
class FilterListDialog : public QDialog {
  Q_OBJECT

 public:
  // hitCounts: FilterHitCounts::countsFor(list) of the last filter run.
  FilterListDialog(FilterList& list, std::vector<FilterHitCount> hitCounts, QWidget* parent = nullptr,
                   FilterEntryEditor editor = {});

  // After OK, the rows' counts: keep FilterHitCounts(list.entries(), hitCounts()).
  const std::vector<FilterHitCount>& hitCounts() const { return working_.hitCounts(); }

  // The editor that runs the real Edit Filter dialog modally.
  static std::optional<EditFilterFields> editModally(QWidget* owner, const EditFilterFields& fields);

  void accept() override;

 private:
  std::optional<FilterEntryIndex> selectedRow() const;
  void addEntry();
  void editEntry();
  void removeEntry();
  void removeAllEntries();
  void refresh(std::optional<FilterEntryIndex> select);
  void updateButtons();

  FilterList& list_;
  CountedFilterListModel working_;
  FilterEntryEditor editor_;
  FilterListTableModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  QPushButton* remove_ = nullptr;
  QPushButton* edit_ = nullptr;
  QPushButton* removeAll_ = nullptr;
};

}  // namespace qv::gui
