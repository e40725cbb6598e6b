#include "app/support/VersionServer.h"

#include <QTcpSocket>

#include "common/Loopback.h"

VersionServer::VersionServer() {
  server_.listen(QHostAddress::LocalHost, 0);
  QObject::connect(&server_, &QTcpServer::newConnection, [this] {
    while (QTcpSocket* peer = server_.nextPendingConnection()) {
      const bool first = peers_.empty();
      peers_.push_back(peer);
      if (first) {
        QObject::connect(peer, &QTcpSocket::readyRead,
                         [this, peer] { received_ += peer->readAll().toStdString(); });
      }
    }
  });
}

VersionServer::~VersionServer() {
  for (QTcpSocket* peer : peers_) peer->abort();
}

bool VersionServer::clientGone() const {
  return peers_.empty() || peers_.front()->state() == QAbstractSocket::UnconnectedState;
}

void VersionServer::send(const std::string& bytes) {
  if (peers_.empty()) return;
  peers_.front()->write(bytes.data(), static_cast<qint64>(bytes.size()));
  peers_.front()->flush();
}

void VersionServer::close() {
  if (!peers_.empty()) peers_.front()->disconnectFromHost();
}

void VersionServer::reset() {
  if (!peers_.empty()) testing_support::resetConnection(peers_.front());
}
