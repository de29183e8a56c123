#pragma once

#include <QWidget>

#include "filter/criteria_commands.h"
#include "filter/filter_criteria.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qv::gui {

// The quick-filter row at the top of the main window: the Time field, the
// seven check boxes in their Action, Direction and Protocol groups, the six
// address, port and name fields, "Read" and "Filter".
class QuickFilterPanel : public QWidget {
  Q_OBJECT

 public:
  // The name fields take one byte less than a stored text may hold, so that
  // everything typed there is read back at the next start.
  static constexpr int kNameFieldLimit = 259;

  explicit QuickFilterPanel(QWidget* parent = nullptr);

  // The fields as bytes (ANSI code page), as the filter compares them.
  FilterCriteria criteria() const;
  void setCriteria(const FilterCriteria& criteria);

  void setRuleNameEnabled(bool enabled);

  QPushButton* readButton() const { return readButton_; }
  QPushButton* filterButton() const { return filterButton_; }
  QLineEdit* field(FilterField field) const;
  QLineEdit* timeField() const { return time_; }
  QCheckBox* checkBox(CheckBox box) const;

 signals:
  void readRequested();
  void filterRequested();

 private:
  void onCheckBoxClicked(CheckBox box);

  QLineEdit* time_ = nullptr;
  QLineEdit* remoteIp_ = nullptr;
  QLineEdit* remotePort_ = nullptr;
  QLineEdit* localIp_ = nullptr;
  QLineEdit* localPort_ = nullptr;
  QLineEdit* applicationName_ = nullptr;
  QLineEdit* ruleName_ = nullptr;
  QCheckBox* boxes_[7] = {};
  QPushButton* readButton_ = nullptr;
  QPushButton* filterButton_ = nullptr;
};

}  // namespace qv::gui
