#include "platform/ScktComp.h"

#include <sys/socket.h>

#include <QCoreApplication>
#include <QNetworkProxy>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <functional>
#include <limits>
#include <string>
#include <utility>

#include "platform/CodePage.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"

namespace platform {
namespace {

constexpr int kDefaultConnectTimeoutMs = 20000;

int& connectTimeoutStorage() {
  static int milliseconds = kDefaultConnectTimeoutMs;
  return milliseconds;
}

// The Windows Sockets numbers that this component reports.
constexpr int kAccessDenied = 10013;         // WSAEACCES
constexpr int kNotSupported = 10045;         // WSAEOPNOTSUPP
constexpr int kAddressInUse = 10048;         // WSAEADDRINUSE
constexpr int kAddressNotAvailable = 10049;  // WSAEADDRNOTAVAIL
constexpr int kNetworkDown = 10050;          // WSAENETDOWN
constexpr int kNetworkUnreachable = 10051;   // WSAENETUNREACH
constexpr int kConnectionAborted = 10053;    // WSAECONNABORTED
constexpr int kNoBufferSpace = 10055;        // WSAENOBUFS
constexpr int kTimedOut = 10060;             // WSAETIMEDOUT
constexpr int kConnectionRefused = 10061;    // WSAECONNREFUSED
constexpr int kHostUnreachable = 10065;      // WSAEHOSTUNREACH
constexpr int kHostNotFound = 11001;         // WSAHOST_NOT_FOUND

const char* meaningOf(int code) {
  switch (code) {
    case kAccessDenied:
      return "Permission denied";
    case kNotSupported:
      return "Operation not supported";
    case kAddressInUse:
      return "Address already in use";
    case kAddressNotAvailable:
      return "Cannot assign the requested address";
    case kNetworkDown:
      return "Network is down";
    case kNetworkUnreachable:
      return "Network is unreachable";
    case kConnectionAborted:
      return "Connection aborted";
    case kNoBufferSpace:
      return "No buffer space available";
    case kTimedOut:
      return "Connection timed out";
    case kConnectionRefused:
      return "Connection refused";
    case kHostUnreachable:
      return "No route to host";
    case kHostNotFound:
      return "Host not found";
    default:
      return "Unknown error";
  }
}

// Qt reports a reset by the peer as RemoteHostClosedError, like an orderly close; this component
// sees the difference itself (see dispatchRead), so a RemoteHostClosedError that Qt reports is a
// failed send on a lost connection. Failures that Windows Sockets has no closer number for count
// as a network that is down.
int codeForQtError(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      return kConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError:
      return kConnectionAborted;
    case QAbstractSocket::HostNotFoundError:
      return kHostNotFound;
    case QAbstractSocket::SocketAccessError:
      return kAccessDenied;
    case QAbstractSocket::SocketResourceError:
      return kNoBufferSpace;
    case QAbstractSocket::SocketTimeoutError:
      return kTimedOut;
    case QAbstractSocket::NetworkError:
      return kNetworkUnreachable;
    case QAbstractSocket::AddressInUseError:
      return kAddressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError:
      return kAddressNotAvailable;
    case QAbstractSocket::UnsupportedSocketOperationError:
      return kNotSupported;
    default:
      return kNetworkDown;
  }
}

// A reset counts as an abort, the number that callers of this component handle.
int codeForErrno(int error) {
  switch (error) {
    case ETIMEDOUT:
      return kTimedOut;
    case EHOSTUNREACH:
      return kHostUnreachable;
    case ENETUNREACH:
      return kNetworkUnreachable;
    case ENETDOWN:
      return kNetworkDown;
    default:
      return kConnectionAborted;
  }
}

AnsiString errorText(int code, const char* api) {
  return AnsiString::Format("Windows socket error: %s (%d), on API '%s'", meaningOf(code), code, api);
}

}  // namespace

// The connection behind one TClientSocket. Qt's signals only record what happened and post the
// matching event; the handlers run later from the event loop, never inside a Qt signal, so that a
// handler may open a modal box, close the socket or delete the component. Every posted event
// carries the generation of the connection it belongs to and is dropped when the connection has
// ended since, or when the component is gone.
class ClientSocketConnection {
 public:
  explicit ClientSocketConnection(TClientSocket& owner) : owner_(owner), eventSocket_(*this) {
    // Windows Sockets knows no proxies; neither does this component.
    socket_.setProxy(QNetworkProxy::NoProxy);
    connectTimer_.setSingleShot(true);
    QObject::connect(&connectTimer_, &QTimer::timeout, [this] { onConnectTimeout(); });
    QObject::connect(&socket_, &QTcpSocket::connected, [this] { onConnected(); });
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { onReadyRead(); });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred,
                     [this](QAbstractSocket::SocketError error) { onQtError(error); });
  }

  ClientSocketConnection(const ClientSocketConnection&) = delete;
  ClientSocketConnection& operator=(const ClientSocketConnection&) = delete;

  ~ClientSocketConnection() {
    alive_.reset();
    QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
    QObject::disconnect(&connectTimer_, nullptr, nullptr, nullptr);
    socket_.abort();
  }

  bool active() const { return stage_ != Stage::Idle; }
  TCustomWinSocket* eventSocket() { return &eventSocket_; }

  void open(const AnsiString& host, int port) {
    if (stage_ != Stage::Idle) return;
    ++generation_;
    stage_ = Stage::Connecting;
    readPosted_ = false;
    carried_.clear();
    const QString hostName = QString::fromStdString(ansiToUtf8(host.str()));
    post([this, hostName, port] { startConnecting(hostName, port); });
  }

  void close() {
    if (stage_ != Stage::Idle) endConnection();
  }

  int send(const AnsiString& text) {
    if (stage_ != Stage::Connected || text.IsEmpty()) return 0;
    const qint64 written = socket_.write(text.c_str(), text.Length());
    if (written < 0) {
      fail(eeSend, codeForQtError(socket_.error()), "send");
      return 0;
    }
    return static_cast<int>(written);
  }

  AnsiString receive() {
    if (stage_ != Stage::Connected) return AnsiString();
    std::string bytes = std::move(carried_);
    carried_.clear();
    // Reads no more than the system holds, so that the read never runs into the end of the
    // connection; the peer's close or reset is seen by the next dispatchRead.
    const qint64 available = socket_.bytesAvailable();
    const qint64 room =
        static_cast<qint64>(std::numeric_limits<int>::max()) - static_cast<qint64>(bytes.size());
    const qint64 wanted = std::min(available, room);
    if (wanted > 0) {
      const std::size_t start = bytes.size();
      bytes.resize(start + static_cast<std::size_t>(wanted));
      const qint64 got = socket_.read(bytes.data() + start, wanted);
      bytes.resize(start + static_cast<std::size_t>(std::max<qint64>(got, 0)));
      if (got < 0) {
        fail(eeReceive, kConnectionAborted, "recv");
        return AnsiString();
      }
    }
    return AnsiString(std::move(bytes));
  }

 private:
  enum class Stage { Idle, Connecting, Connected };

  // Runs step later from the event loop, unless by then the connection has changed or the
  // component is gone.
  void post(std::function<void()> step) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) return;  // no event loop can ever deliver it
    QMetaObject::invokeMethod(
        application,
        [alive = std::weak_ptr<char>(alive_), this, generation = generation_, step = std::move(step)] {
          if (alive.expired() || generation != generation_) return;
          step();
        },
        Qt::QueuedConnection);
  }

  void startConnecting(const QString& host, int port) {
    if (port < 0 || port > 65535) {
      fail(eeConnect, kAddressNotAvailable, "connect");
      return;
    }
    // Unbuffered, so that this component reads the connection itself and can tell a reset by the
    // peer from its orderly close (Qt reports both alike).
    socket_.abort();
    connectTimer_.start(connectTimeoutStorage());
    socket_.connectToHost(host, static_cast<quint16>(port), QIODevice::ReadWrite | QIODevice::Unbuffered);
  }

  void onConnected() {
    if (stage_ != Stage::Connecting) return;
    connectTimer_.stop();
    stage_ = Stage::Connected;
    post([this] { deliverWrite(); });
  }

  void onReadyRead() {
    if (stage_ != Stage::Connected || readPosted_) return;
    readPosted_ = true;
    post([this] { dispatchRead(); });
  }

  // The connection is readable: bytes have arrived, the peer has closed it, or it was reset. A
  // peek at the descriptor tells which, leaving the bytes for ReceiveText.
  void dispatchRead() {
    readPosted_ = false;
    const qintptr descriptor = socket_.socketDescriptor();
    if (descriptor < 0) {
      endConnection();
      return;
    }
    char byte = 0;
    ssize_t peeked = 0;
    do {
      peeked = ::recv(static_cast<int>(descriptor), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    } while (peeked < 0 && errno == EINTR);
    if (peeked > 0 || !carried_.empty()) {
      deliverRead();
    } else if (peeked == 0) {
      endConnection();
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      rearmReadNotification();
    } else {
      fail(eeReceive, codeForErrno(errno), "recv");
    }
  }

  // Qt raised readyRead with nothing to read (the bytes were taken meanwhile, or the notice was
  // spurious). An unbuffered QTcpSocket notifies again only after a read through it; that read
  // also takes whatever has arrived since the peek, which is then carried to ReceiveText.
  void rearmReadNotification() {
    char bytes[256];
    const qint64 got = socket_.read(bytes, sizeof bytes);
    if (got < 0) {
      // The connection ended between the peek and the read; too late to tell a reset.
      endConnection();
    } else if (got > 0) {
      carried_.append(bytes, static_cast<std::size_t>(got));
      deliverRead();
    }
  }

  // The handlers run on copies of the events: a handler may delete the component, and with it
  // the closure that is running. Like every handler that the loop runs, an exception that
  // escapes one is shown in the exception box and goes no further.
  void deliverWrite() {
    const TSocketNotifyEvent handler = owner_.OnWrite;
    TClientSocket* sender = &owner_;
    TCustomWinSocket* socket = &eventSocket_;
    dispatchEvent([&] { handler(sender, socket); });
  }

  void deliverRead() {
    const TSocketNotifyEvent handler = owner_.OnRead;
    TClientSocket* sender = &owner_;
    TCustomWinSocket* socket = &eventSocket_;
    dispatchEvent([&] { handler(sender, socket); });
  }

  void onQtError(QAbstractSocket::SocketError error) {
    if (stage_ == Stage::Idle) return;
    if (error == QAbstractSocket::HostNotFoundError) {
      fail(eeLookup, kHostNotFound, "gethostbyname");
    } else if (stage_ == Stage::Connecting) {
      fail(eeConnect, codeForQtError(error), "connect");
    } else {
      fail(eeGeneral, codeForQtError(error), "send");
    }
  }

  void onConnectTimeout() {
    if (stage_ == Stage::Connecting) fail(eeConnect, kTimedOut, "connect");
  }

  // Ends the connection at once and drops its pending events.
  void endConnection() {
    ++generation_;
    stage_ = Stage::Idle;
    readPosted_ = false;
    carried_.clear();
    connectTimer_.stop();
    socket_.abort();
  }

  // Ends the connection, then reports the error from the event loop: to OnError, and in a box
  // unless the handler cleared the number. A handler that raises an exception has that shown
  // instead.
  void fail(TErrorEvent event, int code, const char* api) {
    endConnection();
    post([this, event, code, api] {
      int errorCode = code;
      const TSocketErrorEvent handler = owner_.OnError;
      TClientSocket* sender = &owner_;
      TCustomWinSocket* socket = &eventSocket_;
      dispatchEvent([&] {
        handler(sender, socket, event, errorCode);
        if (errorCode != 0) ShowMessage(errorText(errorCode, api));
      });
    });
  }

  TClientSocket& owner_;
  TCustomWinSocket eventSocket_;
  QTcpSocket socket_;
  QTimer connectTimer_;
  Stage stage_ = Stage::Idle;
  unsigned generation_ = 0;
  bool readPosted_ = false;
  std::string carried_;  // bytes read to re-arm Qt's notice, not yet taken by ReceiveText
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};

int setSocketConnectTimeout(int milliseconds) {
  const int previous = connectTimeoutStorage();
  connectTimeoutStorage() = milliseconds > 0 ? milliseconds : kDefaultConnectTimeoutMs;
  return previous;
}

}  // namespace platform

int TCustomWinSocket::SendText(const AnsiString& text) { return connection_.send(text); }

AnsiString TCustomWinSocket::ReceiveText() { return connection_.receive(); }

TClientSocket::TClientSocket(TComponent* owner)
    : TComponent(owner), connection_(std::make_unique<platform::ClientSocketConnection>(*this)) {}

TClientSocket::~TClientSocket() = default;

void TClientSocket::SetClientType(TClientType type) {
  if (type == ctNonBlocking) clientType_ = type;
}

bool TClientSocket::Active() const { return connection_->active(); }

void TClientSocket::SetActive(bool active) {
  if (active) {
    Open();
  } else {
    Close();
  }
}

void TClientSocket::Open() { connection_->open(host_, port_); }

void TClientSocket::Close() { connection_->close(); }

TCustomWinSocket* TClientSocket::Socket() { return connection_->eventSocket(); }
