#pragma once

#include <QAbstractSpinBox>

namespace qv::gui {

// One colour component field: a text field with up and down arrows over
// 0 to 255 that, unlike QSpinBox, takes any text the user types, so that a
// wrong entry can be reported on OK rather than silently refused.
class ColorComponentBox : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit ColorComponentBox(QWidget* parent = nullptr);

  QString value() const;
  // Shows a value without it counting as the user's edit.
  void setValue(const QString& text);

  void stepBy(int steps) override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  QValidator::State validate(QString& input, int& position) const override;

 signals:
  // The user changed the text, by typing or with the arrows.
  void edited(const QString& text);

 protected:
  StepEnabled stepEnabled() const override;
};

}  // namespace qv::gui
