// The framework's non-blocking TCP client socket, TClientSocket, over QTcpSocket.
//
// Everything happens on the GUI thread and every event arrives through the event loop, one at a
// time, as window messages do on Windows: Open returns at once and raises nothing inside the call;
// the host look-up and the connect run in the loop. Events keep coming while a modal box is open,
// since the box runs a nested loop.
//
// - OnWrite comes once when the connection stands. On Windows it comes again only after a send
//   that could not go out at once; SendText here always takes every byte (what the system does not
//   take at once is kept and sent as the connection allows), so OnWrite comes once per connection.
// - OnRead comes whenever bytes have arrived; ReceiveText on the event's socket takes all bytes
//   available at that moment, unconverted. Bytes that no handler takes raise nothing further until
//   taken, as on Windows.
// - OnError comes with a Windows Sockets error number: 10061 refused, 11001 host not found, 10060
//   when look-up and connect together take longer than the connect time-out (20 s), 10053 when an
//   open connection is aborted or reset by the peer. The handler may set the number to 0; any
//   other number the component reports itself in a plain ShowMessage box. After an error the
//   socket is inactive.
// - A close by the peer makes the socket inactive without any event.
// - An exception that escapes a handler is shown in the application's exception box, as the
//   message loop shows it; after an OnError that raised one, the plain box does not come.
//
// The component owns its connection and its event socket; deleting it (with its owner, or from
// one of its own handlers) closes the connection and drops every event still pending.
#pragma once

#include <memory>

#include "platform/AnsiString.h"
#include "platform/Classes.h"

enum TClientType { ctNonBlocking, ctBlocking };
enum TErrorEvent { eeGeneral, eeSend, eeReceive, eeConnect, eeDisconnect, eeAccept, eeLookup };

namespace platform {

class ClientSocketConnection;

// Sets the longest time that the host look-up and the connect may take together before OnError
// reports 10060, for sockets opened afterwards, and returns the previous value. 0 or less
// restores the default of 20000 ms, about what Windows allows a connect. Tests shorten it.
int setSocketConnectTimeout(int milliseconds);

}  // namespace platform

// The connection as the events pass it. It belongs to its TClientSocket.
class TCustomWinSocket : public TObject {
 public:
  // Returns the number of bytes taken for sending: the whole text while connected, else 0.
  int SendText(const AnsiString& text);
  // All bytes that have arrived and were not yet taken; empty when none or not connected.
  AnsiString ReceiveText();

 private:
  friend class platform::ClientSocketConnection;
  explicit TCustomWinSocket(platform::ClientSocketConnection& connection) : connection_(connection) {}

  platform::ClientSocketConnection& connection_;
};

using TSocketNotifyEvent = TClosure<TObject*, TCustomWinSocket*>;
using TSocketErrorEvent = TClosure<TObject*, TCustomWinSocket*, TErrorEvent, int&>;

class TClientSocket : public TComponent {
 public:
  explicit TClientSocket(TComponent* owner);
  ~TClientSocket() override;

  // Host and port are read when the socket opens; changing them later affects the next Open.
  const AnsiString& Host() const { return host_; }
  void SetHost(const AnsiString& host) { host_ = host; }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }

  // Only ctNonBlocking is supported; setting ctBlocking is ignored.
  TClientType ClientType() const { return clientType_; }
  void SetClientType(TClientType type);

  // True from Open until Close, an error or the peer's close.
  bool Active() const;
  void SetActive(bool active);
  // Does nothing while active.
  void Open();
  // Ends the connection at once; events still pending for it are dropped.
  void Close();

  TCustomWinSocket* Socket();

  TSocketNotifyEvent OnWrite;
  TSocketNotifyEvent OnRead;
  TSocketErrorEvent OnError;

 private:
  AnsiString host_;
  int port_ = 0;
  TClientType clientType_ = ctNonBlocking;
  std::unique_ptr<platform::ClientSocketConnection> connection_;
};
