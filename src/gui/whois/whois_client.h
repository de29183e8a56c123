#pragma once

#include <QAbstractSocket>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <string>

#include "whois/whois_chain.h"
#include "whois/whois_servers.h"

class QTcpSocket;

namespace qv::gui {

// Drives a whois query chain over QTcpSocket on the user-interface thread:
// every socket signal becomes a report to the chain, and the chain's answer
// says what the socket does next. One socket per server; a referral drops
// the old socket before the next one connects.
class WhoisClient : public QObject {
  Q_OBJECT

 public:
  WhoisClient(std::string query, whois::WhoisServers servers, whois::WhoisLimits limits, QObject* parent = nullptr);
  ~WhoisClient() override;

  void start();
  // Drops the connection and ignores everything after; the chain stays as it was.
  void abandon();

  const whois::WhoisChain& chain() const { return chain_; }

 signals:
  // The status line changed (connecting to the next server, waiting).
  void progressed();
  // The chain is over: show chain().shownText() and chain().status().
  void finished();

 private:
  void apply(whois::Step step);
  void connectTo(const whois::ServerAddress& address);
  void dropSocket();

  void onConnected();
  void onReadyRead();
  void onDisconnected();
  void onErrorOccurred(QAbstractSocket::SocketError error);
  void onSilence();

  whois::WhoisChain chain_;
  QPointer<QTcpSocket> socket_;
  QTimer silenceTimer_;
  // Whether the current socket got connected: an error after that is a
  // failed read, before it a failed connection.
  bool connected_ = false;
  bool abandoned_ = false;
};

}  // namespace qv::gui
