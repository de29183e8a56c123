#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <ostream>
#include <vector>

// Readable QStrings in test failure messages.
#ifndef QV_GUI_TEST_PRINTS_QSTRING
#define QV_GUI_TEST_PRINTS_QSTRING
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
#endif
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{' << texts.join(QStringLiteral("\", \"")).prepend(QLatin1Char('"')).append(QLatin1Char('"')).toStdString()
       << '}';
}

namespace qv::gui::test {

// Deals with the modal windows a command opens while the test waits in the
// command: each new modal window is handed to the handler once, which must
// close it (or open another that the watcher then sees).
class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<void(QWidget*)> handler) : handler_(std::move(handler)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }

  int handled() const { return handled_; }

 private:
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    // A window comes back on top when a box it opened closes; it was handed
    // over already.
    for (const QPointer<QWidget>& seen : seen_) {
      if (seen == modal) return;
    }
    seen_.push_back(modal);
    ++handled_;
    // Run outside this timer's own slot: a timer does not fire again while its
    // slot runs, and the handler may open the next modal window.
    QTimer::singleShot(0, modal, [this, modal] { handler_(modal); });
  }

  std::function<void(QWidget*)> handler_;
  QTimer timer_;
  std::vector<QPointer<QWidget>> seen_;
  int handled_ = 0;
};

struct ShownMessage {
  QString title;
  QString text;
};

// Answers every message box with its OK button and keeps what it said. Any
// other modal window goes to `other`.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(std::function<void(QWidget*)> other = {})
      : watcher_([this, other = std::move(other)](QWidget* modal) {
          if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages.push_back({box->windowTitle(), box->text()});
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            if (ok != nullptr) {
              ok->click();
            } else {
              box->reject();
            }
          } else if (other) {
            other(modal);
          }
        }) {}

  std::vector<ShownMessage> messages;

 private:
  ModalWatcher watcher_;
};

// Texts of labels and buttons that do not fit their widgets, for the layout checks.
inline QStringList clippedTexts(const QWidget& window) {
  QStringList clipped;
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (!label->isVisible() || label->wordWrap()) continue;
    if (label->sizeHint().width() > label->width() || label->sizeHint().height() > label->height()) {
      clipped << label->text();
    }
  }
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (!button->isVisible()) continue;
    if (button->sizeHint().width() > button->width() || button->sizeHint().height() > button->height()) {
      clipped << button->text();
    }
  }
  return clipped;
}

// Saves the window as name.png into QV_SCREENSHOT_DIR when that is set.
inline void saveScreenshot(QWidget& window, const QString& name) {
  const QByteArray folder = qgetenv("QV_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  window.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Whether the focus within the window is on widget (or on the editor inside it),
// whether or not the window is active at the moment.
inline bool holdsFocus(const QWidget& window, const QWidget& widget) {
  const QWidget* focused = window.focusWidget();
  return focused != nullptr && (focused == &widget || widget.isAncestorOf(focused));
}

template <typename T>
T* childWithText(const QWidget& parent, const QString& text) {
  for (T* child : parent.findChildren<T*>()) {
    if (child->text() == text) return child;
  }
  return nullptr;
}

template <typename T>
T* childNamed(const QWidget& parent, const QString& accessibleName) {
  for (T* child : parent.findChildren<T*>()) {
    if (child->accessibleName() == accessibleName) return child;
  }
  return nullptr;
}

}  // namespace qv::gui::test
