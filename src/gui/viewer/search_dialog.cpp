#include "gui/viewer/search_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/views/ansi_text.h"

namespace qv::gui {

namespace {

const QString kApplicationTitle = QStringLiteral("Quorvex Log Viewer");

}  // namespace

SearchDialog::SearchDialog(const SearchRequest& initial, QWidget* parent)
    : QDialog(parent),
      textEdit_(new QLineEdit(this)),
      stringButton_(new QRadioButton(tr("String"), this)),
      hexButton_(new QRadioButton(tr("Hex"), this)) {
  setWindowTitle(tr("Search in Packets"));
  setObjectName(QStringLiteral("searchDialog"));
  textEdit_->setObjectName(QStringLiteral("searchText"));
  stringButton_->setObjectName(QStringLiteral("stringMode"));
  hexButton_->setObjectName(QStringLiteral("hexMode"));
  textEdit_->setMaxLength(kMaxTextLength);
  textEdit_->setText(initial.text.left(kMaxTextLength));
  textEdit_->selectAll();
  textEdit_->setMinimumWidth(textEdit_->fontMetrics().averageCharWidth() * 40);

  auto* modes = new QButtonGroup(this);
  modes->addButton(stringButton_);
  modes->addButton(hexButton_);
  (initial.mode == SearchMode::kHex ? hexButton_ : stringButton_)->setChecked(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* modeRow = new QHBoxLayout;
  modeRow->addWidget(stringButton_);
  modeRow->addWidget(hexButton_);
  modeRow->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(textEdit_);
  layout->addLayout(modeRow);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

SearchRequest SearchDialog::request() const {
  return {textEdit_->text(), hexButton_->isChecked() ? SearchMode::kHex : SearchMode::kString};
}

std::optional<std::vector<std::uint8_t>> askSearchPattern(QWidget* parent, SearchRequest& last) {
  SearchDialog dialog(last, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  last = dialog.request();
  auto pattern = searchPatternBytes(encodeAnsi(last.text), last.mode);
  if (!pattern) {
    QMessageBox box(QMessageBox::Warning, kApplicationTitle, QString::fromLatin1(kInvalidHexMessage.data(), static_cast<qsizetype>(kInvalidHexMessage.size())),
                    QMessageBox::Ok, parent);
    box.exec();
    return std::nullopt;
  }
  if (pattern->empty()) return std::nullopt;
  return pattern;
}

}  // namespace qv::gui
