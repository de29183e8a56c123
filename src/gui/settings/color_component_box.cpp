#include "gui/settings/color_component_box.h"

#include <QLineEdit>

#include <algorithm>

#include "settings/options_model.h"

namespace qv::gui {

namespace {

constexpr std::int64_t kLowest = 0;
constexpr std::int64_t kHighest = 255;

std::optional<std::int64_t> numberOf(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return settings::parseWholeNumber(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace

ColorComponentBox::ColorComponentBox(QWidget* parent) : QAbstractSpinBox(parent) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setAccelerated(true);
  lineEdit()->setMaxLength(16);
  connect(lineEdit(), &QLineEdit::textEdited, this, &ColorComponentBox::edited);
}

QString ColorComponentBox::value() const { return lineEdit()->text(); }

void ColorComponentBox::setValue(const QString& text) {
  if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void ColorComponentBox::stepBy(int steps) {
  // The arrows keep to the up-down range; a field without a number starts at 0.
  const std::int64_t current = std::clamp(numberOf(value()).value_or(kLowest), kLowest, kHighest);
  const std::int64_t next = std::clamp(current + steps, kLowest, kHighest);
  const QString text = QString::number(next);
  if (text == value()) return;
  lineEdit()->setText(text);
  emit edited(text);
}

// The base class measures no value at all; make room for three digits.
QSize ColorComponentBox::sizeHint() const {
  const QSize base = QAbstractSpinBox::sizeHint();
  return {base.width() + fontMetrics().horizontalAdvance(QStringLiteral("0000")), base.height()};
}

QSize ColorComponentBox::minimumSizeHint() const {
  const QSize base = QAbstractSpinBox::minimumSizeHint();
  return {base.width() + fontMetrics().horizontalAdvance(QStringLiteral("000")), base.height()};
}

QValidator::State ColorComponentBox::validate(QString& /*input*/, int& /*position*/) const {
  return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled ColorComponentBox::stepEnabled() const {
  const std::optional<std::int64_t> number = numberOf(value());
  if (!number) return StepUpEnabled;
  StepEnabled enabled = StepNone;
  if (*number < kHighest) enabled |= StepUpEnabled;
  if (*number > kLowest) enabled |= StepDownEnabled;
  return enabled;
}

}  // namespace qv::gui
