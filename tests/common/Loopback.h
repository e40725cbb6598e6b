// Helpers of the socket tests, which talk to servers of their own on 127.0.0.1.
#pragma once

#include <QtGlobal>

class QTcpSocket;

namespace testing_support {

// A port of 127.0.0.1 where nothing listens (0 when none could be found).
quint16 closedPort();

// Ends the server's side of a connection with a reset rather than an orderly close.
void resetConnection(QTcpSocket* peer);

// A port of 127.0.0.1 whose listening queue is full: its backlog of 0 admits one connection,
// which is never accepted, so the system drops the handshake of every further connect, and such a
// connect hangs until the client gives up. The descriptors close with the object.
class FullListener {
 public:
  FullListener();
  FullListener(const FullListener&) = delete;
  FullListener& operator=(const FullListener&) = delete;
  ~FullListener();

  // 0 when the listener could not be set up.
  quint16 port() const { return port_; }

 private:
  int listener_ = -1;
  int filler_ = -1;
  quint16 port_ = 0;
};

}  // namespace testing_support
