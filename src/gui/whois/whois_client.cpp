#include "gui/whois/whois_client.h"

#include <QTcpSocket>

#include <utility>

namespace qv::gui {

namespace {

// The most data one read takes from the socket.
constexpr qint64 kReadBlockSize = 65500;

}  // namespace

WhoisClient::WhoisClient(std::string query, whois::WhoisServers servers, whois::WhoisLimits limits, QObject* parent)
    : QObject(parent), chain_(std::move(query), std::move(servers), limits) {
  silenceTimer_.setSingleShot(true);
  silenceTimer_.setInterval(limits.silenceLimit);
  connect(&silenceTimer_, &QTimer::timeout, this, &WhoisClient::onSilence);
}

WhoisClient::~WhoisClient() { dropSocket(); }

void WhoisClient::start() { apply(chain_.start()); }

void WhoisClient::abandon() {
  abandoned_ = true;
  silenceTimer_.stop();
  dropSocket();
}

void WhoisClient::apply(whois::Step step) {
  if (abandoned_) return;
  switch (step.kind) {
    case whois::StepKind::kConnect:
      connectTo(step.address);
      emit progressed();
      return;
    case whois::StepKind::kSend: {
      silenceTimer_.start();
      const QByteArray bytes(step.bytes.data(), static_cast<qsizetype>(step.bytes.size()));
      if (socket_->write(bytes) != bytes.size()) {
        apply(chain_.sendFailed(socket_->errorString().toStdString()));
        return;
      }
      emit progressed();
      return;
    }
    case whois::StepKind::kWait:
      silenceTimer_.start();
      return;
    case whois::StepKind::kFinished:
      silenceTimer_.stop();
      dropSocket();
      emit finished();
      return;
  }
}

void WhoisClient::connectTo(const whois::ServerAddress& address) {
  dropSocket();
  connected_ = false;
  socket_ = new QTcpSocket(this);
  connect(socket_, &QTcpSocket::connected, this, &WhoisClient::onConnected);
  connect(socket_, &QTcpSocket::readyRead, this, &WhoisClient::onReadyRead);
  connect(socket_, &QTcpSocket::disconnected, this, &WhoisClient::onDisconnected);
  connect(socket_, &QTcpSocket::errorOccurred, this, &WhoisClient::onErrorOccurred);
  silenceTimer_.start();
  socket_->connectToHost(QString::fromStdString(address.host), address.port);
}

void WhoisClient::dropSocket() {
  if (!socket_) return;
  QTcpSocket* socket = socket_;
  socket_ = nullptr;
  socket->disconnect(this);
  socket->abort();
  socket->deleteLater();
}

void WhoisClient::onConnected() {
  connected_ = true;
  apply(chain_.connected());
}

void WhoisClient::onReadyRead() {
  QTcpSocket* socket = socket_;
  while (socket != nullptr && socket == socket_ && socket->bytesAvailable() > 0) {
    const QByteArray block = socket->read(kReadBlockSize);
    if (block.isEmpty()) break;
    const whois::Step step = chain_.dataReceived(std::string_view(block.constData(), static_cast<std::size_t>(block.size())));
    apply(step);
    if (step.kind != whois::StepKind::kWait) return;
  }
}

void WhoisClient::onDisconnected() {
  // Data that came with the close is part of the answer.
  QTcpSocket* socket = socket_;
  onReadyRead();
  if (socket == socket_) apply(chain_.closedByServer());
}

void WhoisClient::onErrorOccurred(QAbstractSocket::SocketError error) {
  if (!socket_) return;
  const std::string text = socket_->errorString().toStdString();
  switch (error) {
    case QAbstractSocket::RemoteHostClosedError:
      // disconnected() follows and ends the answer.
      return;
    case QAbstractSocket::SocketResourceError:
    case QAbstractSocket::UnsupportedSocketOperationError:
      apply(chain_.createFailed(text));
      return;
    default:
      if (connected_) {
        apply(chain_.receiveFailed(text));
      } else {
        apply(chain_.connectFailed(text));
      }
      return;
  }
}

void WhoisClient::onSilence() { apply(chain_.silenceExpired()); }

}  // namespace qv::gui
