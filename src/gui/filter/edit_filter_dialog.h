#pragma once

#include <QDialog>

#include "filter/edit_filter_model.h"

class QButtonGroup;
class QLineEdit;

namespace qv::gui {

// "Edit Filter": one filter-list entry as radio buttons and text fields. OK
// checks the addresses and ports and stays open with a message when one is
// wrong; Cancel changes nothing.
class EditFilterDialog : public QDialog {
  Q_OBJECT

 public:
  explicit EditFilterDialog(const EditFilterFields& fields, QWidget* parent = nullptr);

  // What the controls hold; the accepted fields once OK closed the dialog.
  EditFilterFields fields() const;

  void accept() override;

 private:
  QButtonGroup* action_ = nullptr;
  QButtonGroup* direction_ = nullptr;
  QButtonGroup* protocol_ = nullptr;
  QLineEdit* remoteAddress_ = nullptr;
  QLineEdit* remotePort_ = nullptr;
  QLineEdit* localAddress_ = nullptr;
  QLineEdit* localPort_ = nullptr;
  QLineEdit* applicationName_ = nullptr;
  QLineEdit* ruleName_ = nullptr;
};

}  // namespace qv::gui
