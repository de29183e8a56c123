#include "gui/filter/edit_filter_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

#include "gui/views/ansi_text.h"

namespace qv::gui {

namespace {

// Radio buttons in a group box, their ids the positions of the choice enum.
QGroupBox* radioGroup(const QString& title, QButtonGroup* group, std::initializer_list<const char*> labels) {
  auto* box = new QGroupBox(title);
  auto* layout = new QVBoxLayout(box);
  int id = 0;
  for (const char* label : labels) {
    auto* button = new QRadioButton(QString::fromLatin1(label));
    group->addButton(button, id++);
    layout->addWidget(button);
  }
  layout->addStretch();
  return box;
}

QLineEdit* limitedEdit(const std::string& text, std::size_t limit) {
  auto* edit = new QLineEdit(decodeAnsi(text));
  edit->setMaxLength(static_cast<int>(limit));
  return edit;
}

void setMinimumCharacters(QLineEdit* edit, int characters) {
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters +
                        edit->fontMetrics().height());
}

}  // namespace

EditFilterDialog::EditFilterDialog(const EditFilterFields& fields, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Edit Filter"));

  action_ = new QButtonGroup(this);
  direction_ = new QButtonGroup(this);
  protocol_ = new QButtonGroup(this);
  auto* choices = new QHBoxLayout;
  choices->addWidget(radioGroup(QStringLiteral("Action"), action_, {"Allow", "Block", "Both"}));
  choices->addWidget(radioGroup(QStringLiteral("Direction"), direction_, {"In", "Out", "Both"}));
  choices->addWidget(radioGroup(QStringLiteral("Protocol"), protocol_, {"TCP", "UDP", "ICMP", "All"}));
  action_->button(static_cast<int>(fields.action))->setChecked(true);
  direction_->button(static_cast<int>(fields.direction))->setChecked(true);
  protocol_->button(static_cast<int>(fields.protocol))->setChecked(true);

  remoteAddress_ = limitedEdit(fields.remoteAddress, kEditFilterAddressLimit);
  remotePort_ = limitedEdit(fields.remotePort, kEditFilterPortLimit);
  localAddress_ = limitedEdit(fields.localAddress, kEditFilterAddressLimit);
  localPort_ = limitedEdit(fields.localPort, kEditFilterPortLimit);
  applicationName_ = limitedEdit(fields.applicationName, kEditFilterNameLimit);
  ruleName_ = limitedEdit(fields.ruleName, kEditFilterNameLimit);
  for (QLineEdit* address : {remoteAddress_, localAddress_}) setMinimumCharacters(address, 15);
  for (QLineEdit* port : {remotePort_, localPort_}) setMinimumCharacters(port, 5);

  auto* endpoints = new QHBoxLayout;
  const auto endpointGroup = [](const QString& title, QLineEdit* address, QLineEdit* port) {
    auto* box = new QGroupBox(title);
    auto* layout = new QFormLayout(box);
    layout->addRow(QStringLiteral("IP"), address);
    layout->addRow(QStringLiteral("Port"), port);
    address->setAccessibleName(title + QStringLiteral(" IP"));
    port->setAccessibleName(title + QStringLiteral(" Port"));
    return box;
  };
  endpoints->addWidget(endpointGroup(QStringLiteral("Remote"), remoteAddress_, remotePort_));
  endpoints->addWidget(endpointGroup(QStringLiteral("Local"), localAddress_, localPort_));

  auto* names = new QFormLayout;
  names->addRow(QStringLiteral("Application Name"), applicationName_);
  names->addRow(QStringLiteral("Rule Name"), ruleName_);
  applicationName_->setMinimumWidth(applicationName_->fontMetrics().averageCharWidth() * 40);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &EditFilterDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &EditFilterDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addLayout(endpoints);
  layout->addLayout(names);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

EditFilterFields EditFilterDialog::fields() const {
  EditFilterFields fields;
  fields.action = static_cast<ActionChoice>(action_->checkedId());
  fields.direction = static_cast<DirectionChoice>(direction_->checkedId());
  fields.protocol = static_cast<ProtocolChoice>(protocol_->checkedId());
  fields.remoteAddress = encodeAnsi(remoteAddress_->text());
  fields.remotePort = encodeAnsi(remotePort_->text());
  fields.localAddress = encodeAnsi(localAddress_->text());
  fields.localPort = encodeAnsi(localPort_->text());
  fields.applicationName = encodeAnsi(applicationName_->text());
  fields.ruleName = encodeAnsi(ruleName_->text());
  return fields;
}

void EditFilterDialog::accept() {
  if (const std::optional<std::string_view> failure = checkEditFilterFields(fields())) {
    QMessageBox::warning(this, QStringLiteral("Quorvex Log Viewer"),
                         QString::fromLatin1(failure->data(), static_cast<qsizetype>(failure->size())),
                         QMessageBox::Ok);
    // The field that failed first gets the focus, so the user can mend it at once.
    const EditFilterFields typed = fields();
    const std::pair<QLineEdit*, bool> checks[] = {{remoteAddress_, isValidFilterAddress(typed.remoteAddress)},
                                                  {localAddress_, isValidFilterAddress(typed.localAddress)},
                                                  {remotePort_, isValidFilterPortText(typed.remotePort)},
                                                  {localPort_, isValidFilterPortText(typed.localPort)}};
    for (const auto& [edit, valid] : checks) {
      if (valid) continue;
      edit->setFocus(Qt::OtherFocusReason);
      edit->selectAll();
      break;
    }
    return;
  }
  QDialog::accept();
}

}  // namespace qv::gui
