// The update check and the web-address link in the running program: the main window up, its
// socket pointed at a small server on 127.0.0.1, every box recorded and answered, and where the
// nesting of boxes matters, the real modal boxes pressed as a user would.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/support/CatalogRun.h"
#include "app/support/VersionServer.h"
#include "common/Loopback.h"
#include "common/WidgetTesting.h"
#include "platform/ScktComp.h"
#include "platform/Shell.h"

namespace {

constexpr int kWaitMs = 10000;

template <typename Predicate>
bool waitFor(Predicate predicate) {
  return QTest::qWaitFor(predicate, kWaitMs);
}

// HTTP/1.0 with two line feeds: no carriage return, no header lines.
const std::string kRequest = "GET /cat.ver HTTP/1.0\n\n";
const std::string kHeaders = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

struct KnownBox {
  const char* name;
  const char* text;
  const char* caption;
  unsigned flags;
};

#if CATALOG_POLISH
const KnownBox kKnownBoxes[] = {
    {"ask", "Czy chcesz sprawdzić dostępne aktualizacje bazy danych katalogu?", "Aktualizacje", 0x24},
    {"newer", "Dostępna jest nowa wersja aktualizacji. Czy chcesz przejść do strony pobierania?",
     "Nowe aktualizacje", 0x24},
    {"none", "Brak nowych aktualizacji.", "Aktualizacje", 0x40},
    {"no connection", "Nie można połączyć się z serwerem w celu sprawdzenia dostępnych aktualizacji", "BŁĄD",
     0x30},
};
const char* const kUpdatePage = "http://veldo.example/veldo2007/katalog/cat_update_pl";
#else
const KnownBox kKnownBoxes[] = {
    {"ask", "Wollen Sie verfügbare Aktualisierung der Katalogdatenbank nachsehen?", "Aktualisierung", 0x24},
    {"newer", "Neue Aktualisierung ist schon verfügbar. Wollen Sie die Aktualisierungsseite öffnen?",
     "Aktualisierung", 0x24},
    {"none", "Verfügbare Aktualisierung fehlt", "Aktualisierung", 0x40},
    {"no connection", "keine Verbindung zum Server - Aktualisierungssuche unmöglich.", "FEHLER", 0x30},
};
const char* const kUpdatePage = "http://veldo.example/veldo2007/katalog/cat_update_de";
#endif
const char* const kWebSite = "http://veldo.example";

// A short name for a box that the update check may show, or the whole box when it is none of
// them. Texts in UTF-8.
std::string nameOf(platform::BoxKind kind, const std::string& text, const std::string& caption,
                   unsigned flags) {
  if (kind == platform::BoxKind::MessageBox) {
    for (const KnownBox& box : kKnownBoxes) {
      if (text == box.text && caption == box.caption && flags == box.flags) return box.name;
    }
  }
  // getField's message for a text without the marker: Windows-1250 bytes in both programs.
  const std::string noMarker = utf8(
      "Podany ci\xB9"
      "g znak\xF3w zawiera tylko 1 rekord\xF3w!");
  if (kind == platform::BoxKind::Message && text == noMarker && caption == "VELDO - Katalog Produktów") {
    return "no marker";
  }
  return "unexpected box \"" + text + "\" / \"" + caption + "\" / " + std::to_string(flags);
}

std::string nameOf(const platform::BoxRequest& request) {
  return nameOf(request.kind, utf8(request.text.c_str()), utf8(request.caption.c_str()), request.flags);
}

// A test's name from the label of its row: the letters and digits alone.
template <typename Case>
std::string nameOfCase(const ::testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.label; *c != '\0'; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
  }
  return name;
}

std::vector<std::string> operator+(std::vector<std::string> first, const std::vector<std::string>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.writeCatalogue();
    folder_.writeLogo();
    ASSERT_TRUE(server_.ok());
    previousShell_ = platform::setShellExecuteHandler([this](const platform::ShellExecuteRequest& request) {
      opened_.push_back(request);
      return 42;
    });
    program_.onBox = [this](const platform::BoxRequest& request) {
      const std::string name = nameOf(request);
      program_.answer = name == "ask" ? askAnswer_ : name == "newer" ? newerAnswer_ : IDOK;
    };
  }

  void TearDown() override { platform::setShellExecuteHandler(previousShell_); }

  // Runs the program; `check` runs inside its message loop with the main window up and the socket
  // pointed at 127.0.0.1 and port_, or the server's port.
  void runProgram(const std::function<void()>& check) {
    const int result = program_.run([&] {
      mainWindow_ = Form1->Handle();
      Form1->ClientSocket1->SetHost("127.0.0.1");
      Form1->ClientSocket1->SetPort(port_ != 0 ? port_ : server_.port());
      check();
    });
    EXPECT_EQ(result, 0);
  }

  // The tick comes in a moment instead of six seconds after the window was made.
  static void tickSoon() { Form1->Timer1->SetInterval(5); }

  void askAndConnect() {
    tickSoon();
    ASSERT_TRUE(waitFor([this] { return server_.requestArrived(); }));
  }

  // Sends one piece of the reply and waits until the program has judged it.
  void sendPiece(const std::string& bytes) {
    const std::size_t before = program_.boxes.size();
    server_.send(bytes);
    ASSERT_TRUE(waitFor([&] { return program_.boxes.size() > before; }));
  }

  void endReply() {
    server_.close();
    ASSERT_TRUE(waitFor([] { return !Form1->ClientSocket1->Active(); }));
  }

  // Events that would still come, such as a second question or a late box, have time to.
  static void settle() { QTest::qWait(150); }

  std::vector<std::string> boxNames() const {
    std::vector<std::string> names;
    for (const RecordedBox& box : program_.boxes)
      names.push_back(nameOf(box.kind, box.text, box.caption, box.flags));
    return names;
  }

  void expectOpened(const platform::ShellExecuteRequest& request, const char* address) const {
    EXPECT_EQ(request.window, mainWindow_);
    EXPECT_FALSE(request.verb.has_value());
    ASSERT_TRUE(request.file.has_value());
    EXPECT_EQ(request.file->str(), address);
    EXPECT_FALSE(request.parameters.has_value());
    EXPECT_FALSE(request.directory.has_value());
    EXPECT_EQ(request.show, SW_SHOWNORMAL);
  }

  WorkingFolder folder_;
  VersionServer server_;
  StartupRun program_;
  int askAnswer_ = IDYES;
  int newerAnswer_ = IDYES;
  int port_ = 0;  // beyond the range on purpose in one test
  HWND mainWindow_ = nullptr;
  std::vector<platform::ShellExecuteRequest> opened_;
  platform::ShellExecuteHandler previousShell_;
};

// --- The reply and its boxes ---

struct ReplyCase {
  const char* label;
  std::vector<std::string> pieces;  // each sent once the program has judged the one before
  std::vector<std::string> boxes;   // the boxes after the question
};

const ReplyCase kReplies[] = {
    {"a version above the installed one is newer", {kHeaders + "rorividudov30000\r\n"}, {"newer"}},
    {"the installed version is not newer", {kHeaders + "rorividudov29999\r\n"}, {"none"}},
    {"the largest five-digit version is newer", {kHeaders + "rorividudov99999"}, {"newer"}},
    {"only five characters are read: 123456 reads 12345", {kHeaders + "rorividudov123456"}, {"none"}},
    {"a blank after the marker is one of the five: 3000", {kHeaders + "rorividudov 30000"}, {"none"}},
    {"a version cut short by the end is read as far as it goes", {kHeaders + "rorividudov3"}, {"none"}},
    {"a version that is no number counts as 0", {kHeaders + "rorividudovnew!!"}, {"none"}},
    {"the first marker counts, not a later one", {kHeaders + "rorividudov29999\nrorividudov30000"}, {"none"}},
    {"the marker counts wherever it stands", {"rorividudov30000 HTTP/1.0 200 OK\r\n\r\n"}, {"newer"}},
    {"the marker in other letter case is not found", {kHeaders + "RORIVIDUDOV30000"}, {"no marker", "none"}},
    {"an error page without the marker",
     {"HTTP/1.0 404 Not Found\r\n\r\n<h1>Not Found</h1>"},
     {"no marker", "none"}},
    {"headers and version in two pieces are judged one by one",
     {kHeaders, "rorividudov30000"},
     {"no marker", "none", "newer"}},
    {"the marker split across two pieces is found in neither",
     {kHeaders + "rorivi", "dudov30000"},
     {"no marker", "none", "no marker", "none"}},
    {"a server that closes without a reply raises nothing", {}, {}},
};

void PrintTo(const ReplyCase& reply, std::ostream* out) { *out << reply.label; }

class UpdateReplyTest : public UpdateCheckTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(UpdateReplyTest, GivesTheBoxesOfItsVersionAndYesOpensTheUpdatePage) {
  const ReplyCase& reply = GetParam();
  runProgram([&] {
    askAndConnect();
    for (const std::string& piece : reply.pieces) {
      if (!HasFatalFailure()) sendPiece(piece);
    }
    if (!HasFatalFailure()) endReply();
    settle();
  });

  EXPECT_EQ(server_.received(), kRequest);
  EXPECT_EQ(boxNames(), std::vector<std::string>{"ask"} + reply.boxes);
  const auto newer = std::count(reply.boxes.begin(), reply.boxes.end(), "newer");
  ASSERT_EQ(opened_.size(), static_cast<std::size_t>(newer));
  for (const platform::ShellExecuteRequest& request : opened_) expectOpened(request, kUpdatePage);
}

INSTANTIATE_TEST_SUITE_P(Replies, UpdateReplyTest, ::testing::ValuesIn(kReplies), nameOfCase<ReplyCase>);

TEST_F(UpdateCheckTest, NoOnTheNewerBoxOpensNothing) {
  newerAnswer_ = IDNO;
  runProgram([&] {
    askAndConnect();
    sendPiece(kHeaders + "rorividudov30000");
    endReply();
  });
  EXPECT_EQ(boxNames(), (std::vector<std::string>{"ask", "newer"}));
  EXPECT_TRUE(opened_.empty());
}

// The request goes out at every write event, not once per check.
TEST_F(UpdateCheckTest, EveryWriteEventSendsTheRequest) {
  runProgram([&] {
    askAndConnect();
    Form1->ClientSocket1Write(Form1->ClientSocket1, Form1->ClientSocket1->Socket());
    ASSERT_TRUE(waitFor([this] { return server_.received().size() >= 2 * kRequest.size(); }));
  });
  EXPECT_EQ(server_.received(), kRequest + kRequest);
}

// --- The question ---

TEST_F(UpdateCheckTest, TimerAsksOnceAndNoMakesNoConnection) {
  askAnswer_ = IDNO;
  runProgram([&] {
    EXPECT_TRUE(program_.boxes.empty()) << "no question before the tick";
    tickSoon();
    ASSERT_TRUE(waitFor([this] { return !program_.boxes.empty(); }));
    // Forty more intervals: the timer is off for the rest of the run.
    QTest::qWait(200);
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_FALSE(Form1->ClientSocket1->Active());
    EXPECT_FALSE(Form1->ClientSocket1->OnError);
  });
  EXPECT_EQ(boxNames(), std::vector<std::string>{"ask"});
  EXPECT_EQ(server_.connections(), 0);
}

TEST_F(UpdateCheckTest, ClosedPortGivesTheNoConnectionBoxOnceAndNoSecondQuestion) {
  port_ = testing_support::closedPort();
  ASSERT_NE(port_, 0);
  runProgram([&] {
    tickSoon();
    ASSERT_TRUE(waitFor([this] { return program_.boxes.size() >= 2; }));
    QTest::qWait(200);
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_FALSE(Form1->ClientSocket1->Active());
  });
  EXPECT_EQ(boxNames(), (std::vector<std::string>{"ask", "no connection"}));
}

TEST_F(UpdateCheckTest, ConnectThatNeverCompletesGivesTheNoConnectionBox) {
  const testing_support::FullListener listener;
  ASSERT_NE(listener.port(), 0);
  port_ = listener.port();
  const int previousTimeout = platform::setSocketConnectTimeout(300);
  runProgram([&] {
    tickSoon();
    ASSERT_TRUE(waitFor([this] { return program_.boxes.size() >= 2; }));
    settle();
  });
  platform::setSocketConnectTimeout(previousTimeout);
  EXPECT_EQ(boxNames(), (std::vector<std::string>{"ask", "no connection"}));
}

// --- Socket errors ---

struct ErrorCase {
  const char* label;
  int code;
  bool unreachable;  // one of the four that mean the server cannot be reached
};

// Numbers the socket reports. A reset by the server comes as 10053, like an abort (see
// ResetAfterThePiecesGivesTheNoConnectionBoxLast); 10050 stands for every failure that has no
// closer number.
const ErrorCase kErrors[] = {
    {"connection aborted or reset", 10053, true}, {"connect timed out", 10060, true},
    {"connection refused", 10061, true},          {"host not found", 11001, true},
    {"no route to host", 10065, false},           {"network down", 10050, false},
    {"network unreachable", 10051, false},        {"address not available", 10049, false},
};

TEST_F(UpdateCheckTest, OnlyTheFourUnreachableCodesGiveTheBoxAndAreCleared) {
  runProgram([] {
    for (const ErrorCase& error : kErrors) {
      SCOPED_TRACE(error.label);
      int code = error.code;
      testing_support::RecordedBoxes boxes;
      Form1->ClientSocketError(Form1->ClientSocket1, Form1->ClientSocket1->Socket(), eeConnect, code);
      EXPECT_EQ(code, error.unreachable ? 0 : error.code);
      std::vector<std::string> names;
      for (const platform::BoxRequest& box : boxes.requests()) names.push_back(nameOf(box));
      EXPECT_EQ(names,
                error.unreachable ? std::vector<std::string>{"no connection"} : std::vector<std::string>{});
    }
  });
}

// A port beyond 65535 fails with 10049, which the handler leaves to the socket's own box.
TEST_F(UpdateCheckTest, OtherSocketErrorIsLeftToTheSocketsOwnBox) {
  port_ = 70000;
  runProgram([&] {
    tickSoon();
    ASSERT_TRUE(waitFor([this] { return program_.boxes.size() >= 2; }));
    settle();
  });
  ASSERT_EQ(program_.boxes.size(), 2u);
  EXPECT_EQ(nameOf(program_.boxes[0].kind, program_.boxes[0].text, program_.boxes[0].caption,
                   program_.boxes[0].flags),
            "ask");
  EXPECT_EQ(program_.boxes[1].kind, platform::BoxKind::Message);
  EXPECT_NE(program_.boxes[1].text.find("10049"), std::string::npos) << program_.boxes[1].text;
}

// --- A broken or hostile server ---

TEST_F(UpdateCheckTest, ServerThatNeverAnswersLeavesTheProgramQuietlyWaiting) {
  runProgram([&] {
    askAndConnect();
    QTest::qWait(300);
    EXPECT_TRUE(Form1->ClientSocket1->Active());
  });
  EXPECT_EQ(boxNames(), std::vector<std::string>{"ask"});
}

TEST_F(UpdateCheckTest, ResetAfterThePiecesGivesTheNoConnectionBoxLast) {
  runProgram([&] {
    askAndConnect();
    sendPiece(kHeaders);
    server_.reset();
    ASSERT_TRUE(waitFor([this] { return program_.boxes.size() >= 4; }));
    settle();
  });
  EXPECT_EQ(boxNames(), (std::vector<std::string>{"ask", "no marker", "none", "no connection"}));
}

TEST_F(UpdateCheckTest, TenMegabyteReplyIsJudgedOneReadAtATime) {
  newerAnswer_ = IDNO;
  runProgram([&] {
    askAndConnect();
    sendPiece(kHeaders + "rorividudov30000");
    server_.send(std::string(10 * 1024 * 1024, 'x'));
    endReply();
    settle();
  });
  const std::vector<std::string> names = boxNames();
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(names[0], "ask");
  EXPECT_EQ(names[1], "newer");
  // Every later read holds filler alone: the marker's message, then the none box.
  for (std::size_t i = 2; i < names.size(); ++i) {
    EXPECT_EQ(names[i], (i % 2 == 0) ? "no marker" : "none") << "box " << i;
  }
  EXPECT_EQ(names.size() % 2, 0u);
}

// Every byte is a read event of its own and judged alone, so the version is never found.
TEST_F(UpdateCheckTest, ReplyTrickledAByteAtATimeGivesEveryByteTwoBoxes) {
  const std::string reply = "rorividudov30000";
  runProgram([&] {
    askAndConnect();
    for (char byte : reply) {
      if (!HasFatalFailure()) sendPiece(std::string(1, byte));
    }
    endReply();
  });
  std::vector<std::string> expected = {"ask"};
  for (std::size_t i = 0; i < reply.size(); ++i)
    expected = expected + std::vector<std::string>{"no marker", "none"};
  EXPECT_EQ(boxNames(), expected);
  EXPECT_TRUE(opened_.empty());
}

// --- Real modal boxes: reads nest in the boxes of earlier reads ---

// While it lives, the program's boxes are the real modal ones. A timer looks at the screen every
// few milliseconds, as a user would, and hands the box on top to `onTop`, which may press one of
// its buttons or leave it open.
//
// A box left open waits for something the program should do while it is open, and nothing but
// this object would ever close it: a test would hang in the box's loop. So a box that stays on
// top for kWaitMs fails the test with the boxes seen so far, and from then on every box is
// answered at once (No, or OK), so that the program and the test run to their end.
class ScreenBoxes {
 public:
  using OnTop = std::function<void(QMessageBox* box, const std::string& name)>;

  explicit ScreenBoxes(OnTop onTop) : onTop_(std::move(onTop)), previous_(platform::setBoxHandler({})) {
    QObject::connect(&look_, &QTimer::timeout, [this] { look(); });
    look_.start(5);
  }
  ScreenBoxes(const ScreenBoxes&) = delete;
  ScreenBoxes& operator=(const ScreenBoxes&) = delete;
  ~ScreenBoxes() { platform::setBoxHandler(previous_); }

  // The names of the boxes in the order they came up.
  const std::vector<std::string>& shown() const { return names_; }
  int open() const {
    return static_cast<int>(std::count_if(seen_.begin(), seen_.end(),
                                          [](const QPointer<QMessageBox>& box) { return isOpen(box); }));
  }

  static void press(QMessageBox* box, QMessageBox::StandardButton button) { box->button(button)->click(); }

 private:
  static bool isOpen(const QPointer<QMessageBox>& box) { return !box.isNull() && box->isVisible(); }

  static std::string nameOfBox(QMessageBox* box) {
    unsigned flags = box->standardButtons() == (QMessageBox::Yes | QMessageBox::No) ? MB_YESNO : MB_OK;
    switch (box->icon()) {
      case QMessageBox::Question:
        flags |= MB_ICONQUESTION;
        break;
      case QMessageBox::Information:
        flags |= MB_ICONINFORMATION;
        break;
      case QMessageBox::Warning:
        flags |= MB_ICONEXCLAMATION;
        break;
      case QMessageBox::Critical:
        flags |= MB_ICONSTOP;
        break;
      default:
        break;
    }
    const platform::BoxKind kind =
        box->icon() == QMessageBox::NoIcon ? platform::BoxKind::Message : platform::BoxKind::MessageBox;
    return nameOf(kind, box->text().toStdString(), box->windowTitle().toStdString(), flags);
  }

  static void dismiss(QMessageBox* box) {
    press(box, box->button(QMessageBox::No) != nullptr ? QMessageBox::No : QMessageBox::Ok);
  }

  void look() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (box == nullptr || !box->isVisible()) continue;
      const bool known = std::any_of(seen_.begin(), seen_.end(),
                                     [box](const QPointer<QMessageBox>& seen) { return seen == box; });
      if (known) continue;
      seen_.emplace_back(box);
      names_.push_back(nameOfBox(box));
    }
    // The box on top is the newest one still open.
    for (std::size_t i = seen_.size(); i-- > 0;) {
      if (!isOpen(seen_[i])) continue;
      if (seen_[i].data() != top_.data()) {
        top_ = seen_[i];
        onTopSince_.start();
      }
      if (!gaveUp_ && onTopSince_.hasExpired(kWaitMs)) giveUp(names_[i]);
      if (gaveUp_) {
        dismiss(seen_[i]);
      } else {
        onTop_(seen_[i], names_[i]);
      }
      return;
    }
  }

  void giveUp(const std::string& held) {
    gaveUp_ = true;
    std::string seen;
    for (const std::string& name : names_) seen += (seen.empty() ? "" : ", ") + name;
    ADD_FAILURE() << "the box \"" << held << "\" stayed on top for " << kWaitMs
                  << " ms and what it waits for never came; boxes so far: " << seen;
  }

  OnTop onTop_;
  platform::BoxHandler previous_;
  QTimer look_;
  std::vector<QPointer<QMessageBox>> seen_;
  std::vector<std::string> names_;
  QPointer<QMessageBox> top_;
  QElapsedTimer onTopSince_;
  bool gaveUp_ = false;
};

TEST_F(UpdateCheckTest, ReadIsJudgedWhileTheBoxOfAnEarlierReadIsStillOpen) {
  bool versionSent = false;
  bool newerSeen = false;
  int openWhenNewer = 0;
  runProgram([&] {
    ScreenBoxes screen([&](QMessageBox* box, const std::string& name) {
      if (name == "ask") {
        ScreenBoxes::press(box, QMessageBox::Yes);
      } else if (name == "no marker" && !newerSeen) {
        // Left open: the version's read must come while it is.
        if (!versionSent) server_.send("rorividudov30000");
        versionSent = true;
      } else if (name == "newer") {
        newerSeen = true;
        openWhenNewer = screen.open();
        ScreenBoxes::press(box, QMessageBox::No);
      } else {
        ScreenBoxes::press(box, QMessageBox::Ok);
      }
    });
    tickSoon();
    ASSERT_TRUE(waitFor([this] { return server_.requestArrived(); }));
    server_.send(kHeaders);
    ASSERT_TRUE(waitFor([&] { return screen.shown().size() >= 4 && screen.open() == 0; }));
    EXPECT_EQ(screen.shown(), (std::vector<std::string>{"ask", "no marker", "newer", "none"}));
  });
  EXPECT_EQ(openWhenNewer, 2) << "the marker's message stays open beneath the newer box";
  EXPECT_TRUE(opened_.empty());
}

// Each byte's read comes while the boxes of the bytes before are still open. Once four reads wait
// in their boxes, the fifth closes the connection: the boxes stop piling up at five.
TEST_F(UpdateCheckTest, TrickledReplyStopsOnceFourReadsWaitInTheirBoxes) {
  const std::string reply = kHeaders + "rorividudov30000";
  std::size_t dripped = 0;
  runProgram([&] {
    ScreenBoxes screen([&](QMessageBox* box, const std::string& name) {
      if (name == "ask") {
        ScreenBoxes::press(box, QMessageBox::Yes);
        return;
      }
      const auto markerMessages = std::count(screen.shown().begin(), screen.shown().end(), "no marker");
      // A user who has walked away: every box stays open while the connection stands. The bound
      // on the bytes keeps the test from hanging when the connection is never closed.
      if (!server_.clientGone() && dripped < reply.size()) {
        if (static_cast<std::size_t>(markerMessages) == dripped)
          server_.send(std::string(1, reply[dripped++]));
        return;
      }
      ScreenBoxes::press(box, QMessageBox::Ok);
    });
    tickSoon();
    ASSERT_TRUE(waitFor([this] { return server_.requestArrived(); }));
    server_.send(std::string(1, reply[dripped++]));
    ASSERT_TRUE(waitFor([&] { return screen.shown().size() > 1 && screen.open() == 0; }));
    EXPECT_FALSE(Form1->ClientSocket1->Active());
    std::vector<std::string> expected = {"ask"};
    for (int i = 0; i < 5; ++i) expected.push_back("no marker");
    for (int i = 0; i < 5; ++i) expected.push_back("none");
    EXPECT_EQ(screen.shown(), expected);
  });
  EXPECT_TRUE(server_.clientGone());
}

// Reads stack up while their boxes wait: the fifth still gets its boxes and ends the connection,
// so a marker in the fifth read is judged and a marker that comes after it is not.
struct StackedMarkerCase {
  const char* label;
  int readsBefore;  // reads of filler, each left waiting in its box, before the marker is sent
  std::vector<std::string> boxes;
};

const StackedMarkerCase kStackedMarkers[] = {
    {"marker in the fifth stacked read is judged",
     4,
     {"ask", "no marker", "no marker", "no marker", "no marker", "newer", "none", "none", "none", "none"}},
    {"marker after the fifth stacked read is not judged",
     5,
     {"ask", "no marker", "no marker", "no marker", "no marker", "no marker", "none", "none", "none", "none",
      "none"}},
};

void PrintTo(const StackedMarkerCase& stacked, std::ostream* out) { *out << stacked.label; }

class StackedMarkerTest : public UpdateCheckTest, public ::testing::WithParamInterface<StackedMarkerCase> {};

TEST_P(StackedMarkerTest, IsJudgedOnlyUpToTheReadThatEndsTheConnection) {
  const StackedMarkerCase& stacked = GetParam();
  int sent = 0;
  bool markerSent = false;
  QElapsedTimer sinceMarker;
  runProgram([&] {
    ScreenBoxes screen([&](QMessageBox* box, const std::string& name) {
      if (name == "ask") {
        ScreenBoxes::press(box, QMessageBox::Yes);
        return;
      }
      if (name == "newer") {
        ScreenBoxes::press(box, QMessageBox::No);
        return;
      }
      // A user who has walked away: each read waits in its box until a marker sent after the
      // last one has had time to arrive.
      if (!markerSent) {
        const auto waiting = std::count(screen.shown().begin(), screen.shown().end(), "no marker");
        if (waiting < sent) return;
        if (sent < stacked.readsBefore) {
          server_.send(std::string(1, 'x'));
          ++sent;
        } else {
          server_.send("rorividudov30000");
          markerSent = true;
          sinceMarker.start();
        }
        return;
      }
      if (sinceMarker.hasExpired(200)) ScreenBoxes::press(box, QMessageBox::Ok);
    });
    tickSoon();
    ASSERT_TRUE(waitFor([this] { return server_.requestArrived(); }));
    server_.send("x");
    sent = 1;
    ASSERT_TRUE(waitFor([&] { return markerSent && screen.open() == 0; }));
    EXPECT_EQ(screen.shown(), stacked.boxes);
    EXPECT_FALSE(Form1->ClientSocket1->Active());
  });
  EXPECT_TRUE(server_.clientGone());
  EXPECT_TRUE(opened_.empty());
}

INSTANTIATE_TEST_SUITE_P(Reads, StackedMarkerTest, ::testing::ValuesIn(kStackedMarkers),
                         nameOfCase<StackedMarkerCase>);

// A user who answers every box at once leaves no read waiting in a box: however many pieces the
// reply comes in, the connection stands and the marker in the last piece is judged.
TEST_F(UpdateCheckTest, UserWhoAnswersEachBoxAtOnceNeverEndsTheConnection) {
  const std::vector<std::string> pieces = {
      "HTTP/1.0 200 OK\r\n", "Content-Type: text/plain\r\n", "\r\n", "x", "y", "z", "rorividudov30000"};
  runProgram([&] {
    ScreenBoxes screen([](QMessageBox* box, const std::string& name) {
      if (name == "ask") {
        ScreenBoxes::press(box, QMessageBox::Yes);
      } else if (name == "newer") {
        ScreenBoxes::press(box, QMessageBox::No);
      } else {
        ScreenBoxes::press(box, QMessageBox::Ok);
      }
    });
    tickSoon();
    ASSERT_TRUE(waitFor([this] { return server_.requestArrived(); }));
    std::vector<std::string> expected = {"ask"};
    for (const std::string& piece : pieces) {
      if (piece == pieces.back()) {
        expected.push_back("newer");
      } else {
        expected = expected + std::vector<std::string>{"no marker", "none"};
      }
      server_.send(piece);
      ASSERT_TRUE(waitFor([&] { return screen.shown().size() >= expected.size() && screen.open() == 0; }))
          << "after \"" << piece << "\"";
      ASSERT_EQ(screen.shown(), expected);
      ASSERT_TRUE(Form1->ClientSocket1->Active()) << "ended after \"" << piece << "\"";
    }
  });
  EXPECT_FALSE(server_.clientGone());
}

// --- The web address ---

TEST_F(UpdateCheckTest, ClickOnTheWebAddressOpensTheSiteAtAnyTime) {
  runProgram([] {
    TLabel* label = Form1->Label9;
    QTest::mouseClick(Form1->ClientWidget(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(label->Left() + 4, label->Top() + label->Height() / 2));
    QApplication::processEvents();
  });
  ASSERT_EQ(opened_.size(), 1u);
  expectOpened(opened_[0], kWebSite);
  EXPECT_TRUE(program_.boxes.empty());
  EXPECT_EQ(server_.connections(), 0);
}

// The label sizes itself to its caption; the caption must stay inside its designed 102 pixels,
// well clear of the catalogue date beside it.
TEST_F(UpdateCheckTest, WebAddressFitsItsDesignedPlace) {
  runProgram([] {
    TLabel* label = Form1->Label9;
    EXPECT_LE(label->Width(), 102);
    const QImage window = testing_support::grabClient(*Form1);
    int inked = 0;
    int beyond = 0;
    for (int y = label->Top(); y < label->Top() + 13; ++y) {
      for (int x = label->Left(); x < Form1->Label8->Left(); ++x) {
        const QColor colour = testing_support::pixelAt(window, x, y);
        if (colour.blue() > colour.red() + 40) (x < label->Left() + 102 ? inked : beyond)++;
      }
    }
    EXPECT_GT(inked, 50) << "the caption is painted in navy";
    EXPECT_EQ(beyond, 0);
  });
}

}  // namespace
