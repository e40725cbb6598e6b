// ShellExecuteA, Sleep and the current date: replaceable handlers that default to the real
// services.
#include "platform/Shell.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cstdint>
#include <vector>

namespace {

std::intptr_t resultOf(HINSTANCE result) { return reinterpret_cast<std::intptr_t>(result); }

// Receives what the desktop services open for the test's own address scheme, so that the real
// ShellExecuteA runs without starting a browser.
class UrlReceiver : public QObject {
  Q_OBJECT

 public:
  std::vector<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

class ShellExecuteTest : public ::testing::Test {
 protected:
  void SetUp() override { QDesktopServices::setUrlHandler("catalogtest", &receiver_, "open"); }
  void TearDown() override {
    QDesktopServices::unsetUrlHandler("catalogtest");
    platform::setShellExecuteHandler(nullptr);
  }

  UrlReceiver receiver_;
};

TEST_F(ShellExecuteTest, ReplacedHandlerReceivesEveryArgument) {
  std::vector<platform::ShellExecuteRequest> calls;
  platform::setShellExecuteHandler([&calls](const platform::ShellExecuteRequest& request) {
    calls.push_back(request);
    return 33;
  });
  const HWND window = reinterpret_cast<HWND>(std::intptr_t{0x1234});

  EXPECT_EQ(33, resultOf(ShellExecuteA(window, nullptr, "http://www.example.invalid/veldo2007", nullptr,
                                       nullptr, SW_SHOWNORMAL)));
  EXPECT_EQ(33, resultOf(ShellExecuteA(nullptr, "open", "page.html", "-x", "/tmp", 0)));

  ASSERT_EQ(2u, calls.size());
  EXPECT_EQ(window, calls[0].window);
  EXPECT_FALSE(calls[0].verb);
  ASSERT_TRUE(calls[0].file);
  EXPECT_EQ("http://www.example.invalid/veldo2007", calls[0].file->str());
  EXPECT_FALSE(calls[0].parameters);
  EXPECT_FALSE(calls[0].directory);
  EXPECT_EQ(SW_SHOWNORMAL, calls[0].show);
  EXPECT_EQ("open", calls[1].verb.value_or("").str());
  EXPECT_EQ("-x", calls[1].parameters.value_or("").str());
  EXPECT_EQ("/tmp", calls[1].directory.value_or("").str());
  EXPECT_TRUE(receiver_.opened.empty());
}

TEST_F(ShellExecuteTest, EmptyHandlerRestoresTheDesktopsDefaultHandler) {
  int recorded = 0;
  platform::setShellExecuteHandler(
      [&recorded](const platform::ShellExecuteRequest&) { return ++recorded, 33; });
  const platform::ShellExecuteHandler previous = platform::setShellExecuteHandler(nullptr);
  ASSERT_TRUE(previous);

  const HINSTANCE result = ShellExecuteA(nullptr, nullptr, "catalogtest://www.example.invalid/cat_update_pl",
                                         nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_GT(resultOf(result), 32);
  EXPECT_EQ(0, recorded);
  ASSERT_EQ(1u, receiver_.opened.size());
  EXPECT_EQ(QUrl("catalogtest://www.example.invalid/cat_update_pl"), receiver_.opened[0]);
}

TEST_F(ShellExecuteTest, RealHandlerFailsWithAWindowsCodeAndOpensNothing) {
  struct Case {
    const char* label;
    const char* verb;
    const char* file;
    std::intptr_t result;
  };
  const Case cases[] = {
      {"unknown verb", "print", "catalogtest://host/page", 31},
      {"no address", nullptr, nullptr, 2},
      {"blank address", nullptr, "  ", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.result, resultOf(ShellExecuteA(nullptr, c.verb, c.file, nullptr, nullptr, SW_SHOWNORMAL)));
  }
  EXPECT_TRUE(receiver_.opened.empty());
}

class SleepTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::setSleepHandler(nullptr); }
};

TEST_F(SleepTest, ReplacedHandlerRecordsTheWaitInsteadOfBlocking) {
  std::vector<unsigned> waits;
  platform::setSleepHandler([&waits](unsigned milliseconds) { waits.push_back(milliseconds); });
  Sleep(1500);
  EXPECT_EQ(std::vector<unsigned>{1500}, waits);
}

TEST_F(SleepTest, EmptyHandlerRestoresABlockingSleepThatHandlesNoEvent) {
  std::vector<unsigned> waits;
  platform::setSleepHandler([&waits](unsigned milliseconds) { waits.push_back(milliseconds); });
  ASSERT_TRUE(platform::setSleepHandler(nullptr));

  bool timerRan = false;
  QTimer::singleShot(0, [&timerRan] { timerRan = true; });
  const auto start = std::chrono::steady_clock::now();
  Sleep(30);
  const auto slept = std::chrono::steady_clock::now() - start;

  EXPECT_GE(slept, std::chrono::milliseconds(30));
  EXPECT_FALSE(timerRan);
  EXPECT_TRUE(waits.empty());
  QCoreApplication::processEvents();
  EXPECT_TRUE(timerRan);
}

class TodayTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::setTodayHandler(nullptr); }
};

TEST_F(TodayTest, ReplacedHandlerFixesTheDate) {
  platform::setTodayHandler([] { return platform::Date{2031, 2, 28}; });
  const platform::Date date = platform::today();
  EXPECT_EQ(2031, date.year);
  EXPECT_EQ(2, date.month);
  EXPECT_EQ(28, date.day);
}

TEST_F(TodayTest, EmptyHandlerRestoresTheLocalDateOfTheClock) {
  platform::setTodayHandler([] { return platform::Date{2031, 2, 28}; });
  ASSERT_TRUE(platform::setTodayHandler(nullptr));

  const QDate before = QDate::currentDate();
  const platform::Date date = platform::today();
  const QDate after = QDate::currentDate();
  const QDate got(date.year, date.month, date.day);
  EXPECT_TRUE(got == before || got == after) << got.toString(Qt::ISODate).toStdString();
}

}  // namespace

#include "shell_test.moc"
