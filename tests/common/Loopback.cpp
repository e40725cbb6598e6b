#include "common/Loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTcpServer>
#include <QTcpSocket>

namespace testing_support {

quint16 closedPort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}

void resetConnection(QTcpSocket* peer) {
  // A linger time of 0 makes the close send a reset.
  linger immediately{1, 0};
  setsockopt(static_cast<int>(peer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &immediately,
             sizeof immediately);
  peer->abort();
}

FullListener::FullListener() {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 0) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return;
  }
  filler_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (filler_ < 0 || ::connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return;
  port_ = ntohs(address.sin_port);
}

FullListener::~FullListener() {
  if (filler_ >= 0) ::close(filler_);
  if (listener_ >= 0) ::close(listener_);
}

}  // namespace testing_support
