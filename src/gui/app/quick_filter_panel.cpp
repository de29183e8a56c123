#include "gui/app/quick_filter_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/views/ansi_text.h"

namespace qv::gui {
namespace {

QLineEdit* makeField(QWidget* parent, const char* name, int maxLength, int widthInChars) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setMaxLength(maxLength);
  edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * widthInChars);
  return edit;
}

QGroupBox* makeGroup(const QString& title, std::initializer_list<QCheckBox*> boxes, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* row = new QHBoxLayout(group);
  row->setContentsMargins(8, 2, 8, 4);
  row->setSpacing(12);
  for (QCheckBox* box : boxes) row->addWidget(box);
  return group;
}

}  // namespace

QuickFilterPanel::QuickFilterPanel(QWidget* parent) : QWidget(parent) {
  time_ = makeField(this, "timeField", static_cast<int>(FilterFieldLimit::kTime), 9);
  remoteIp_ = makeField(this, "remoteIpField", static_cast<int>(FilterFieldLimit::kIp), 14);
  remotePort_ = makeField(this, "remotePortField", static_cast<int>(FilterFieldLimit::kPort), 11);
  localIp_ = makeField(this, "localIpField", static_cast<int>(FilterFieldLimit::kIp), 14);
  localPort_ = makeField(this, "localPortField", static_cast<int>(FilterFieldLimit::kPort), 11);
  applicationName_ = makeField(this, "applicationNameField", kNameFieldLimit, 18);
  ruleName_ = makeField(this, "ruleNameField", kNameFieldLimit, 18);

  const char* const boxTexts[] = {"Allow", "Block", "In", "Out", "TCP", "UDP", "ICMP"};
  for (int i = 0; i < 7; ++i) {
    boxes_[i] = new QCheckBox(QString::fromLatin1(boxTexts[i]), this);
    boxes_[i]->setChecked(true);
    const auto box = static_cast<CheckBox>(i);
    connect(boxes_[i], &QCheckBox::clicked, this, [this, box] { onCheckBoxClicked(box); });
  }
  readButton_ = new QPushButton(tr("Read"), this);
  filterButton_ = new QPushButton(tr("Filter"), this);
  for (QPushButton* button : {readButton_, filterButton_}) {
    button->setAutoDefault(false);
    button->setMinimumWidth(button->fontMetrics().averageCharWidth() * 11);
  }
  connect(readButton_, &QPushButton::clicked, this, &QuickFilterPanel::readRequested);
  connect(filterButton_, &QPushButton::clicked, this, &QuickFilterPanel::filterRequested);

  auto* timeColumn = new QVBoxLayout;
  timeColumn->setSpacing(2);
  timeColumn->addStretch();
  timeColumn->addWidget(new QLabel(tr("Time (Hour)"), this));
  timeColumn->addWidget(time_);

  auto* top = new QHBoxLayout;
  top->addLayout(timeColumn);
  top->addWidget(makeGroup(tr("Action"), {boxes_[0], boxes_[1]}, this));
  top->addWidget(makeGroup(tr("Direction"), {boxes_[2], boxes_[3]}, this));
  top->addWidget(makeGroup(tr("Protocol"), {boxes_[4], boxes_[5], boxes_[6]}, this));
  top->addStretch(1);
  top->addWidget(readButton_, 0, Qt::AlignBottom);
  top->addWidget(filterButton_, 0, Qt::AlignBottom);

  auto* fields = new QGridLayout;
  fields->setVerticalSpacing(2);
  const std::pair<const char*, QLineEdit*> captioned[] = {
      {"Remote IP", remoteIp_},   {"Remote Port", remotePort_},           {"Local IP", localIp_},
      {"Local Port", localPort_}, {"Application Name", applicationName_}, {"Rule Name", ruleName_}};
  const int proportions[] = {65, 55, 65, 55, 96, 96};
  for (int column = 0; column < 6; ++column) {
    auto* caption = new QLabel(tr(captioned[column].first), this);
    caption->setBuddy(captioned[column].second);
    fields->addWidget(caption, 0, column);
    fields->addWidget(captioned[column].second, 1, column);
    fields->setColumnStretch(column, proportions[column]);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(6);
  layout->addLayout(top);
  layout->addLayout(fields);
}

QLineEdit* QuickFilterPanel::field(FilterField field) const {
  switch (field) {
    case FilterField::kRemoteIp: return remoteIp_;
    case FilterField::kRemotePort: return remotePort_;
    case FilterField::kLocalIp: return localIp_;
    case FilterField::kLocalPort: return localPort_;
    case FilterField::kApplicationName: return applicationName_;
    case FilterField::kRuleName: return ruleName_;
  }
  return nullptr;
}

QCheckBox* QuickFilterPanel::checkBox(CheckBox box) const { return boxes_[static_cast<int>(box)]; }

FilterCriteria QuickFilterPanel::criteria() const {
  FilterCriteria criteria;
  criteria.allow = boxes_[0]->isChecked();
  criteria.block = boxes_[1]->isChecked();
  criteria.in = boxes_[2]->isChecked();
  criteria.out = boxes_[3]->isChecked();
  criteria.tcp = boxes_[4]->isChecked();
  criteria.udp = boxes_[5]->isChecked();
  criteria.icmp = boxes_[6]->isChecked();
  criteria.time = encodeAnsi(time_->text());
  criteria.remoteIp = encodeAnsi(remoteIp_->text());
  criteria.remotePort = encodeAnsi(remotePort_->text());
  criteria.localIp = encodeAnsi(localIp_->text());
  criteria.localPort = encodeAnsi(localPort_->text());
  criteria.applicationName = encodeAnsi(applicationName_->text());
  criteria.ruleName = encodeAnsi(ruleName_->text());
  return criteria;
}

void QuickFilterPanel::setCriteria(const FilterCriteria& criteria) {
  const bool checks[] = {criteria.allow, criteria.block, criteria.in,  criteria.out,
                         criteria.tcp,   criteria.udp,   criteria.icmp};
  for (int i = 0; i < 7; ++i) boxes_[i]->setChecked(checks[i]);
  time_->setText(decodeAnsi(criteria.time));
  remoteIp_->setText(decodeAnsi(criteria.remoteIp));
  remotePort_->setText(decodeAnsi(criteria.remotePort));
  localIp_->setText(decodeAnsi(criteria.localIp));
  localPort_->setText(decodeAnsi(criteria.localPort));
  applicationName_->setText(decodeAnsi(criteria.applicationName));
  ruleName_->setText(decodeAnsi(criteria.ruleName));
}

void QuickFilterPanel::setRuleNameEnabled(bool enabled) { ruleName_->setEnabled(enabled); }

void QuickFilterPanel::onCheckBoxClicked(CheckBox box) {
  FilterCriteria current = criteria();
  applyCheckBoxClick(current, box);
  setCriteria(current);
}

}  // namespace qv::gui
