#pragma once

#include <QDialog>

#include <string>

#include "whois/whois_chain.h"
#include "whois/whois_servers.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;

namespace qv::gui {

class WhoisClient;

// The modal "whois" dialog: asks ARIN about `query` (a remote address, or
// empty when no row is selected), follows the referrals and shows the last
// registry's answer as plain text, with a status line below it that says
// what the chain is doing or why it stopped. "OK" closes it at any point and
// abandons the chain.
class WhoisDialog : public QDialog {
  Q_OBJECT

 public:
  WhoisDialog(std::string query, whois::WhoisServers servers, QWidget* parent = nullptr);
  // With other bounds than the usual ones (tests).
  WhoisDialog(std::string query, whois::WhoisServers servers, whois::WhoisLimits limits, QWidget* parent = nullptr);
  ~WhoisDialog() override;

  // "&Whois Remote IP": runs the dialog modally for `query` with the whois
  // servers of the user's settings.
  static void runModal(std::string query, QWidget* parent);

  // What the answer area and the status line show.
  QString answerText() const;
  QString statusText() const;
  bool isRunning() const;

  void done(int result) override;

 signals:
  // The chain is over (answer shown, or stopped by a failure or a bound).
  void chainFinished();

 private:
  void showProgress();
  void showResult();

  QPlainTextEdit* answer_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* busy_ = nullptr;
  WhoisClient* client_ = nullptr;
};

}  // namespace qv::gui
