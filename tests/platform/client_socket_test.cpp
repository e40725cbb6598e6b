// TClientSocket against small servers on 127.0.0.1: the events of a connection, the bytes both
// ways, the Windows Sockets numbers of its failures and how they are reported.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Loopback.h"
#include "platform/Dialogs.h"
#include "platform/ScktComp.h"
#include "platform/SysUtils.h"

namespace {

constexpr int kWaitMs = 10000;

template <typename Predicate>
bool waitFor(Predicate predicate) {
  return QTest::qWaitFor(predicate, kWaitMs);
}

struct SocketError {
  TErrorEvent event;
  int code;
};

using testing_support::closedPort;
using testing_support::resetConnection;

// Members are public so that the rows of the failure table can arrange the server and the socket.
class ClientSocketTest : public ::testing::Test {
 public:
  void SetUp() override {
    previousBoxHandler_ = platform::setBoxHandler([this](const platform::BoxRequest& request) {
      boxes_.push_back(request);
      return onBox_ ? onBox_(request) : IDOK;
    });
    ASSERT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* peer = server_.nextPendingConnection()) {
        peers_.push_back(peer);
        QObject::connect(peer, &QTcpSocket::readyRead,
                         [this, peer] { received_ += peer->readAll().toStdString(); });
      }
    });

    socket_.SetHost("127.0.0.1");
    socket_.SetPort(server_.serverPort());
    socket_.OnWrite = [this](TObject* sender, TCustomWinSocket* socket) {
      ++writes_;
      EXPECT_EQ(&socket_, sender);
      EXPECT_EQ(socket_.Socket(), socket);
      if (onWrite_) onWrite_(socket);
    };
    socket_.OnRead = [this](TObject* sender, TCustomWinSocket* socket) {
      EXPECT_EQ(&socket_, sender);
      reads_.push_back(socket->ReceiveText().str());
      if (onRead_) onRead_(socket);
    };
    socket_.OnError = [this](TObject* sender, TCustomWinSocket*, TErrorEvent event, int& code) {
      EXPECT_EQ(&socket_, sender);
      errors_.push_back({event, code});
      if (clearErrorCode_) code = 0;
    };
  }

  void TearDown() override {
    socket_.Close();
    platform::setBoxHandler(previousBoxHandler_);
  }

  QTcpSocket* peer() const { return peers_.empty() ? nullptr : peers_.front(); }

  std::string allReads() const {
    std::string all;
    for (const std::string& part : reads_) all += part;
    return all;
  }

  // Opens the socket and waits until the server holds the connection and OnWrite has come.
  void connectToServer() {
    socket_.Open();
    ASSERT_TRUE(waitFor([this] { return writes_ == 1 && peer() != nullptr; }));
  }

  QTcpServer server_;
  std::vector<QTcpSocket*> peers_;  // owned by server_
  std::string received_;

  TClientSocket socket_{nullptr};
  int writes_ = 0;
  std::vector<std::string> reads_;
  std::vector<SocketError> errors_;
  bool clearErrorCode_ = true;
  std::function<void(TCustomWinSocket*)> onWrite_;
  std::function<void(TCustomWinSocket*)> onRead_;

  std::vector<platform::BoxRequest> boxes_;
  std::function<int(const platform::BoxRequest&)> onBox_;
  platform::BoxHandler previousBoxHandler_;
};

TEST_F(ClientSocketTest, OpenReturnsAtOnceWithoutRaisingAnyEvent) {
  socket_.Open();
  EXPECT_TRUE(socket_.Active());
  EXPECT_EQ(0, writes_);
  EXPECT_TRUE(errors_.empty());
  ASSERT_TRUE(waitFor([this] { return writes_ == 1; }));

  // A refusal on loopback is known almost at once, and still comes through the event loop.
  socket_.Close();
  socket_.SetPort(closedPort());
  socket_.Open();
  EXPECT_TRUE(socket_.Active());
  EXPECT_TRUE(errors_.empty());
  ASSERT_TRUE(waitFor([this] { return !errors_.empty(); }));
}

TEST_F(ClientSocketTest, RequestSentOnWriteArrivesByteForByteAndWriteComesOnce) {
  const std::string request = "GET /cat.ver HTTP/1.0\n\n";
  std::vector<int> sent;
  onWrite_ = [&](TCustomWinSocket* socket) { sent.push_back(socket->SendText(AnsiString(request))); };
  connectToServer();
  ASSERT_TRUE(waitFor([&] { return received_.size() >= request.size(); }));
  EXPECT_EQ(request, received_);
  EXPECT_EQ(std::vector<int>{23}, sent);

  // Had the write raised OnWrite again, the handler would have sent the request twice.
  peer()->write("reply");
  ASSERT_TRUE(waitFor([this] { return !reads_.empty(); }));
  EXPECT_EQ(1, writes_);
  EXPECT_EQ(request, received_);
}

TEST_F(ClientSocketTest, ReadGivesEveryByteValueUnchanged) {
  std::string everyByte;
  for (int value = 0; value < 256; ++value) everyByte += static_cast<char>(value);
  connectToServer();
  peer()->write(everyByte.data(), static_cast<qint64>(everyByte.size()));
  ASSERT_TRUE(waitFor([&] { return allReads().size() >= everyByte.size(); }));
  EXPECT_EQ(everyByte, allReads());
}

TEST_F(ClientSocketTest, ReplyInPartsGivesOneReadPerPart) {
  connectToServer();
  peer()->write("HTTP/1.0 200 OK\r\n\r\n");
  ASSERT_TRUE(waitFor([this] { return reads_.size() == 1; }));
  peer()->write("rorividudov30000");
  ASSERT_TRUE(waitFor([this] { return reads_.size() == 2; }));
  EXPECT_EQ("HTTP/1.0 200 OK\r\n\r\n", reads_[0]);
  EXPECT_EQ("rorividudov30000", reads_[1]);
}

TEST_F(ClientSocketTest, CloseByThePeerMakesItInactiveSilently) {
  connectToServer();
  peer()->write("last words");
  peer()->disconnectFromHost();
  ASSERT_TRUE(waitFor([this] { return !socket_.Active(); }));
  EXPECT_EQ("last words", allReads());
  EXPECT_TRUE(errors_.empty());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(ClientSocketTest, ErrorCodeLeftByTheHandlerIsReportedInOnePlainBox) {
  clearErrorCode_ = false;
  socket_.SetPort(closedPort());
  socket_.Open();
  ASSERT_TRUE(waitFor([this] { return !boxes_.empty(); }));
  QCoreApplication::processEvents();
  ASSERT_EQ(1u, errors_.size());
  ASSERT_EQ(1u, boxes_.size());
  EXPECT_EQ(platform::BoxKind::Message, boxes_[0].kind);
  EXPECT_NE(0, boxes_[0].text.Pos("10061")) << boxes_[0].text.str();
  EXPECT_NE(0, boxes_[0].text.Pos("refused")) << boxes_[0].text.str();
}

TEST_F(ClientSocketTest, ErrorWithoutHandlerIsReportedInOnePlainBox) {
  socket_.OnError = nullptr;
  socket_.SetPort(closedPort());
  socket_.Open();
  ASSERT_TRUE(waitFor([this] { return !boxes_.empty(); }));
  QCoreApplication::processEvents();
  ASSERT_EQ(1u, boxes_.size());
  EXPECT_NE(0, boxes_[0].text.Pos("10061")) << boxes_[0].text.str();
  EXPECT_FALSE(socket_.Active());
}

TEST_F(ClientSocketTest, ReadsKeepComingWhileAModalBoxIsOpen) {
  // Like the real box, this one runs a nested event loop until it is answered; it is answered
  // once the second read has come, or after a bound.
  std::size_t readsWhileBoxOpen = 0;
  onBox_ = [&](const platform::BoxRequest&) {
    peer()->write("second");
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (reads_.size() >= 2) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
    readsWhileBoxOpen = reads_.size();
    return IDOK;
  };
  onRead_ = [this](TCustomWinSocket*) {
    if (reads_.size() == 1) ShowMessage("first read");
  };
  connectToServer();
  peer()->write("first");
  ASSERT_TRUE(waitFor([this] { return !boxes_.empty() && reads_.size() >= 2; }));
  EXPECT_EQ(2u, readsWhileBoxOpen);
  EXPECT_EQ((std::vector<std::string>{"first", "second"}), reads_);
}

TEST_F(ClientSocketTest, CloseDropsTheEventsOfThatConnection) {
  socket_.Open();
  socket_.Close();
  EXPECT_FALSE(socket_.Active());
  connectToServer();
  peer()->write("x");
  ASSERT_TRUE(waitFor([this] { return !reads_.empty(); }));
  EXPECT_EQ(1, writes_);
  EXPECT_EQ(1u, peers_.size());
}

TEST_F(ClientSocketTest, DeletingTheComponentWhileConnectedIsSafe) {
  auto* owner = new TComponent(nullptr);
  auto* socket = new TClientSocket(owner);
  socket->SetHost("127.0.0.1");
  socket->SetPort(server_.serverPort());
  int events = 0;
  socket->OnWrite = [&events](TObject*, TCustomWinSocket*) { ++events; };
  socket->OnRead = [&events](TObject*, TCustomWinSocket*) { ++events; };
  socket->Open();
  ASSERT_TRUE(waitFor([&] { return events == 1 && peer() != nullptr; }));

  // Bytes arrive, and their read event may still be pending, when the owner goes.
  peer()->write("pending");
  peer()->flush();
  QCoreApplication::processEvents();
  delete owner;
  const int eventsWhenDeleted = events;
  ASSERT_TRUE(waitFor([this] { return peer()->state() == QAbstractSocket::UnconnectedState; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(eventsWhenDeleted, events);
}

TEST_F(ClientSocketTest, HandlerMayDeleteTheComponent) {
  auto* socket = new TClientSocket(nullptr);
  socket->SetHost("127.0.0.1");
  socket->SetPort(server_.serverPort());
  int reads = 0;
  socket->OnRead = [&](TObject*, TCustomWinSocket* eventSocket) {
    ++reads;
    eventSocket->ReceiveText();
    delete socket;
  };
  socket->Open();
  ASSERT_TRUE(waitFor([this] { return peer() != nullptr; }));
  peer()->write("one");
  ASSERT_TRUE(waitFor([&] { return reads == 1; }));
  ASSERT_TRUE(waitFor([this] { return peer()->state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(1, reads);
}

// A handler that raises an exception, put in place by the row, and whether the event needs the
// connection to the server (and a reply on it) to come.
struct RaisingHandler {
  const char* label;
  std::function<void(ClientSocketTest&)> arrange;
  bool connects;
};

class RaisingHandlerTest : public ClientSocketTest, public ::testing::WithParamInterface<RaisingHandler> {};

TEST_P(RaisingHandlerTest, ExceptionIsShownInTheExceptionBoxAlone) {
  GetParam().arrange(*this);
  socket_.Open();
  if (GetParam().connects) {
    ASSERT_TRUE(waitFor([this] { return peer() != nullptr; }));
    peer()->write("reply");
  }
  ASSERT_TRUE(waitFor([this] { return !boxes_.empty(); }));
  QCoreApplication::processEvents();

  ASSERT_EQ(1u, boxes_.size());
  EXPECT_EQ(platform::BoxKind::Exception, boxes_[0].kind);
  EXPECT_EQ(AnsiString("Update check failed."), boxes_[0].text);
}

void raiseFailure(TObject*, TCustomWinSocket*) { throw Exception("Update check failed"); }

const RaisingHandler kRaisingHandlers[] = {
    {"OnWrite", [](ClientSocketTest& test) { test.socket_.OnWrite = raiseFailure; }, true},
    {"OnRead", [](ClientSocketTest& test) { test.socket_.OnRead = raiseFailure; }, true},
    // Raised before the handler could clear the number: the component's own box must not follow.
    {"OnError",
     [](ClientSocketTest& test) {
       test.socket_.SetPort(closedPort());
       test.socket_.OnError = [](TObject*, TCustomWinSocket*, TErrorEvent, int&) {
         throw Exception("Update check failed");
       };
     },
     false},
};

INSTANTIATE_TEST_SUITE_P(Handlers, RaisingHandlerTest, ::testing::ValuesIn(kRaisingHandlers),
                         [](const auto& info) { return std::string(info.param.label); });

// One failure of a connection: how the server is arranged before Open, what happens after it,
// and the report that the failure must give.
struct FailureCase {
  const char* label;
  std::function<void(ClientSocketTest&)> arrange;
  std::function<void(ClientSocketTest&)> act;
  TErrorEvent event;
  int code;
};

class ClientSocketFailureTest : public ClientSocketTest, public ::testing::WithParamInterface<FailureCase> {
 protected:
  void TearDown() override {
    ClientSocketTest::TearDown();
    platform::setSocketConnectTimeout(previousTimeout_);
  }

 public:
  quint16 listenerWithFullQueue() {
    fullListener_ = std::make_unique<testing_support::FullListener>();
    return fullListener_->port();
  }

  void shortenConnectTimeout() { previousTimeout_ = platform::setSocketConnectTimeout(300); }

  int previousTimeout_ = 0;
  std::unique_ptr<testing_support::FullListener> fullListener_;
};

TEST_P(ClientSocketFailureTest, ReportsItsWindowsSocketsNumberOnce) {
  const FailureCase& failure = GetParam();
  failure.arrange(*this);
  if (HasFatalFailure()) return;
  socket_.Open();
  if (failure.act) failure.act(*this);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(waitFor([this] { return !errors_.empty(); }));
  QCoreApplication::processEvents();

  ASSERT_EQ(1u, errors_.size());
  EXPECT_EQ(failure.event, errors_[0].event);
  EXPECT_EQ(failure.code, errors_[0].code);
  EXPECT_FALSE(socket_.Active());
  EXPECT_TRUE(boxes_.empty()) << "the handler cleared the code";
}

const FailureCase kFailures[] = {
    {"Refused", [](ClientSocketTest& test) { test.socket_.SetPort(closedPort()); }, nullptr, eeConnect,
     10061},
    {"UnknownHost", [](ClientSocketTest& test) { test.socket_.SetHost("catalog-update.invalid"); }, nullptr,
     eeLookup, 11001},
    {"TimedOut",
     [](ClientSocketTest& test) {
       auto& self = static_cast<ClientSocketFailureTest&>(test);
       const quint16 port = self.listenerWithFullQueue();
       ASSERT_NE(0, port);
       self.shortenConnectTimeout();
       test.socket_.SetPort(port);
     },
     nullptr, eeConnect, 10060},
    {"ResetByThePeer", [](ClientSocketTest&) {},
     [](ClientSocketTest& test) {
       ASSERT_TRUE(waitFor([&test] { return test.writes_ == 1 && test.peer() != nullptr; }));
       resetConnection(test.peer());
     },
     eeReceive, 10053},
};

INSTANTIATE_TEST_SUITE_P(Failures, ClientSocketFailureTest, ::testing::ValuesIn(kFailures),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                           return std::string(info.param.label);
                         });

}  // namespace
