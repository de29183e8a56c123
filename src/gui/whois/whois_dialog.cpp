#include "gui/whois/whois_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>
#include <utility>

#include "gui/whois/whois_client.h"
#include "settings/settings_store.h"
#include "settings/whois_settings.h"
#include "whois/answer_display.h"

namespace qv::gui {

WhoisDialog::WhoisDialog(std::string query, whois::WhoisServers servers, QWidget* parent)
    : WhoisDialog(std::move(query), std::move(servers), whois::WhoisLimits(), parent) {}

WhoisDialog::WhoisDialog(std::string query, whois::WhoisServers servers, whois::WhoisLimits limits, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("whois"));
  setModal(true);

  answer_ = new QPlainTextEdit(this);
  answer_->setReadOnly(true);
  answer_->setLineWrapMode(QPlainTextEdit::NoWrap);
  answer_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  answer_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Registries align their fields in columns.
  answer_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  busy_ = new QProgressBar(this);
  busy_->setRange(0, 0);
  busy_->setTextVisible(false);
  busy_->setMaximumWidth(fontMetrics().averageCharWidth() * 10);

  status_ = new QLabel(this);
  status_->setTextFormat(Qt::PlainText);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(busy_);
  statusRow->addWidget(status_, 1);
  statusRow->addWidget(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(answer_, 1);
  layout->addLayout(statusRow);

  // Room for an 80-column answer and about 20 of its lines.
  const QFontMetrics answerMetrics(answer_->font());
  resize(answerMetrics.horizontalAdvance(QString(84, u'M')), answerMetrics.lineSpacing() * 26);

  client_ = new WhoisClient(std::move(query), std::move(servers), limits, this);
  connect(client_, &WhoisClient::progressed, this, &WhoisDialog::showProgress);
  connect(client_, &WhoisClient::finished, this, &WhoisDialog::showResult);
  setCursor(Qt::BusyCursor);
  client_->start();
}

WhoisDialog::~WhoisDialog() = default;

void WhoisDialog::runModal(std::string query, QWidget* parent) {
  const std::unique_ptr<settings::SettingsStore> store = settings::openUserSettingsStore();
  WhoisDialog dialog(std::move(query), settings::readWhoisServers(*store), parent);
  dialog.exec();
}

QString WhoisDialog::answerText() const { return answer_->toPlainText(); }

QString WhoisDialog::statusText() const { return status_->text(); }

bool WhoisDialog::isRunning() const { return !client_->chain().finished(); }

void WhoisDialog::done(int result) {
  client_->abandon();
  QDialog::done(result);
}

void WhoisDialog::showProgress() { status_->setText(QString::fromStdString(client_->chain().status())); }

void WhoisDialog::showResult() {
  const whois::WhoisChain& chain = client_->chain();
  QString text = QString::fromStdString(whois::answerDisplayText(chain.shownText(), chain.centralEuropean()));
  // Every answer line ends in CR LF; the text area wants bare line feeds.
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  answer_->setPlainText(text);
  status_->setText(QString::fromStdString(chain.status()));
  busy_->hide();
  // Give the status line the busy bar's room now, not at the next layout pass.
  layout()->activate();
  unsetCursor();
  emit chainFinished();
}

}  // namespace qv::gui
