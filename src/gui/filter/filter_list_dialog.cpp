#include "gui/filter/filter_list_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "gui/filter/edit_filter_dialog.h"
#include "gui/filter/filter_list_table_model.h"

namespace qv::gui {

namespace {

// The columns' widths are given for a font whose average character is six
// pixels wide; they grow with the font so the titles stay whole.
constexpr int kReferenceCharWidth = 6;

}  // namespace

FilterListDialog::FilterListDialog(FilterList& list, std::vector<FilterHitCount> hitCounts, QWidget* parent,
                                   FilterEntryEditor editor)
    : QDialog(parent),
      list_(list),
      working_(list, std::move(hitCounts)),
      editor_(editor ? std::move(editor) : FilterEntryEditor(&FilterListDialog::editModally)) {
  setWindowTitle(QStringLiteral("Filter List"));

  model_ = new FilterListTableModel(working_, this);
  table_ = new QTableView;
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setShowGrid(true);
  table_->setWordWrap(false);
  table_->setSortingEnabled(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setSectionsClickable(false);
  table_->horizontalHeader()->setHighlightSections(false);
  table_->horizontalHeader()->setStretchLastSection(true);
  const int charWidth = std::max(1, table_->fontMetrics().averageCharWidth());
  int totalWidth = 0;
  for (int column = 0; column <= FilterListTableModel::kHitCountColumn; ++column) {
    const int given = column < FilterListTableModel::kHitCountColumn
                          ? kFilterListColumns[static_cast<std::size_t>(column)].width
                          : 50;
    const int width = std::max(given * charWidth / kReferenceCharWidth, table_->horizontalHeader()->sectionSizeHint(column));
    table_->setColumnWidth(column, width);
    totalWidth += width;
  }
  // Opens wide enough for every column beside the vertical scroll bar, yet
  // may be made narrower on a small screen (the list then scrolls sideways).
  const int frame = 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
  const int rowsHeight = table_->verticalHeader()->defaultSectionSize() * 10;
  table_->setMinimumSize(std::min(totalWidth + frame, table_->fontMetrics().averageCharWidth() * 60), rowsHeight);

  auto* add = new QPushButton(QStringLiteral("Add"));
  remove_ = new QPushButton(QStringLiteral("Remove"));
  edit_ = new QPushButton(QStringLiteral("Edit"));
  removeAll_ = new QPushButton(QStringLiteral("Remove All"));
  for (QPushButton* button : {add, remove_, edit_, removeAll_}) button->setAutoDefault(false);
  connect(add, &QPushButton::clicked, this, &FilterListDialog::addEntry);
  connect(remove_, &QPushButton::clicked, this, &FilterListDialog::removeEntry);
  connect(edit_, &QPushButton::clicked, this, &FilterListDialog::editEntry);
  connect(removeAll_, &QPushButton::clicked, this, &FilterListDialog::removeAllEntries);
  connect(table_, &QTableView::doubleClicked, this, &FilterListDialog::editEntry);
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FilterListDialog::updateButtons);

  auto* dialogButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(dialogButtons, &QDialogButtonBox::accepted, this, &FilterListDialog::accept);
  connect(dialogButtons, &QDialogButtonBox::rejected, this, &FilterListDialog::reject);

  auto* commands = new QHBoxLayout;
  for (QPushButton* button : {add, remove_, edit_, removeAll_}) commands->addWidget(button);
  commands->addStretch();
  commands->addWidget(dialogButtons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(commands);
  updateButtons();
  const QMargins margins = layout->contentsMargins();
  resize(totalWidth + frame + margins.left() + margins.right(), sizeHint().height());
}

std::optional<EditFilterFields> FilterListDialog::editModally(QWidget* owner, const EditFilterFields& fields) {
  EditFilterDialog dialog(fields, owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.fields();
}

std::optional<FilterEntryIndex> FilterListDialog::selectedRow() const {
  const QModelIndexList rows = table_->selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  return static_cast<FilterEntryIndex>(rows.constFirst().row());
}

void FilterListDialog::addEntry() {
  const std::optional<EditFilterFields> accepted = editor_(this, EditFilterFields{});
  if (!accepted) return;
  working_.add(*accepted);
  refresh(working_.rowCount() - 1);
}

void FilterListDialog::editEntry() {
  const std::optional<FilterEntryIndex> selected = selectedRow();
  const std::optional<EditFilterFields> current = working_.fieldsToEdit(selected);
  if (!current) return;
  const std::optional<EditFilterFields> accepted = editor_(this, *current);
  if (!accepted || !working_.replace(selected, *accepted)) return;
  refresh(selected);
}

void FilterListDialog::removeEntry() {
  const std::optional<FilterEntryIndex> selected = selectedRow();
  if (!working_.remove(selected)) return;
  // The row that moved up into the place keeps the selection, so entries can
  // be removed one after another.
  std::optional<FilterEntryIndex> next;
  if (working_.rowCount() > 0) next = std::min(*selected, working_.rowCount() - 1);
  refresh(next);
}

void FilterListDialog::removeAllEntries() {
  if (!working_.removeAll()) return;
  refresh(std::nullopt);
}

void FilterListDialog::refresh(std::optional<FilterEntryIndex> select) {
  model_->reload();
  if (select && *select < working_.rowCount()) {
    const int row = static_cast<int>(*select);
    table_->selectionModel()->select(model_->index(row, 0),
                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->setCurrentIndex(model_->index(row, 0));
    table_->scrollTo(model_->index(row, 0));
  }
  updateButtons();
}

void FilterListDialog::updateButtons() {
  const bool selected = selectedRow().has_value();
  remove_->setEnabled(selected);
  edit_->setEnabled(selected);
  removeAll_->setEnabled(working_.rowCount() > 0);
}

void FilterListDialog::accept() {
  working_.applyTo(list_);
  QDialog::accept();
}

}  // namespace qv::gui
