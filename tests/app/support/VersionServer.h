// A stand-in for the maker's web server in the update check's tests: a TCP server on 127.0.0.1
// that keeps what each connection sends and writes, closes or resets as the test says.
//
// It runs on the test's thread through the event loop, like the program's socket, so a test
// waits for it with QTest::qWaitFor (or inside a modal box's loop). The server owns its
// connections; they close with it.
#pragma once

#include <QTcpServer>
#include <string>
#include <vector>

class QTcpSocket;

class VersionServer {
 public:
  // Listens on a free port; ok() tells whether it could.
  VersionServer();
  VersionServer(const VersionServer&) = delete;
  VersionServer& operator=(const VersionServer&) = delete;
  ~VersionServer();

  bool ok() const { return server_.isListening(); }
  quint16 port() const { return server_.serverPort(); }

  int connections() const { return static_cast<int>(peers_.size()); }
  // Every byte that the first connection has sent so far.
  const std::string& received() const { return received_; }
  // The first connection has sent a blank line, the end of an HTTP request.
  bool requestArrived() const { return received_.find("\n\n") != std::string::npos; }
  // The program has ended the first connection (or it was never made).
  bool clientGone() const;

  // On the first connection: writes the bytes, ends it in order, or ends it with a reset.
  void send(const std::string& bytes);
  void close();
  void reset();

 private:
  QTcpServer server_;
  std::vector<QTcpSocket*> peers_;  // children of server_
  std::string received_;
};
