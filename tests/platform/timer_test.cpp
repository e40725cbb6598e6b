// TTimer: ticks only while the event loop runs, stops when disabled, reports itself, and shows
// what its handler raises.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <QtTest/QTest>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/ExtCtrls.h"
#include "platform/SysUtils.h"
#include "common/WidgetTesting.h"

namespace {

constexpr int kWaitMs = 10000;
constexpr int kTickMs = 20;

// Runs the event loop until a timer of the same interval as the timers under test has ticked
// the given number of times: long enough for any of them to have ticked, without a fixed wait.
void runForTicks(int ticks) {
  QTimer reference;
  int count = 0;
  QObject::connect(&reference, &QTimer::timeout, [&count] { ++count; });
  reference.start(kTickMs);
  ASSERT_TRUE(QTest::qWaitFor([&count, ticks] { return count >= ticks; }, kWaitMs));
}

TEST(TimerTest, NewTimerIsEnabledAndTicksWithItselfAsSender) {
  TTimer timer(nullptr);
  EXPECT_EQ(1000, timer.Interval());
  EXPECT_TRUE(timer.Enabled());
  std::vector<TObject*> senders;
  timer.OnTimer = [&senders](TObject* sender) { senders.push_back(sender); };
  timer.SetInterval(kTickMs);

  ASSERT_TRUE(QTest::qWaitFor([&senders] { return senders.size() >= 3; }, kWaitMs));
  for (TObject* sender : senders) EXPECT_EQ(&timer, sender);
}

TEST(TimerTest, TicksOnlyWhileTheEventLoopRunsAndMissedTicksComeAsOne) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&ticks](TObject*) { ++ticks; };
  timer.SetInterval(kTickMs);

  std::this_thread::sleep_for(std::chrono::milliseconds(8 * kTickMs));
  EXPECT_EQ(0, ticks);
  QCoreApplication::processEvents();
  EXPECT_EQ(1, ticks);
}

TEST(TimerTest, DisablingStopsTheTicks) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&ticks](TObject*) { ++ticks; };
  timer.SetInterval(kTickMs);
  ASSERT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 1; }, kWaitMs));

  timer.SetEnabled(false);
  const int ticksWhenDisabled = ticks;
  runForTicks(5);
  EXPECT_EQ(ticksWhenDisabled, ticks);
  EXPECT_FALSE(timer.Enabled());
}

TEST(TimerTest, DisabledInItsOwnHandlerTicksOnceUntilEnabledAgain) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&ticks, &timer](TObject*) {
    ++ticks;
    timer.SetEnabled(false);
  };
  timer.SetInterval(kTickMs);
  ASSERT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 1; }, kWaitMs));
  runForTicks(5);
  EXPECT_EQ(1, ticks);

  timer.SetEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 2; }, kWaitMs));
}

TEST(TimerTest, ShorterIntervalTakesEffectAtOnce) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&ticks](TObject*) { ++ticks; };
  timer.SetInterval(600000);
  runForTicks(2);
  EXPECT_EQ(0, ticks);

  timer.SetInterval(kTickMs);
  ASSERT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 1; }, kWaitMs));
}

TEST(TimerTest, ZeroIntervalNeverTicks) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&ticks](TObject*) { ++ticks; };
  timer.SetInterval(0);
  runForTicks(5);
  EXPECT_EQ(0, ticks);
}

TEST(TimerTest, ExceptionFromTheHandlerIsShownAndTheTimerTicksOn) {
  testing_support::RecordedBoxes boxes;
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&ticks](TObject*) {
    ++ticks;
    throw Exception("Cannot open file data\\data_p\\1.dat");
  };
  timer.SetInterval(kTickMs);
  ASSERT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 2; }, kWaitMs));
  timer.SetEnabled(false);

  ASSERT_EQ(static_cast<std::size_t>(ticks), boxes.requests().size());
  EXPECT_EQ(platform::BoxKind::Exception, boxes.requests()[0].kind);
  EXPECT_EQ(AnsiString("Cannot open file data\\data_p\\1.dat."), boxes.requests()[0].text);
}

TEST(TimerTest, HandlerMayDeleteTheTimerWithItsOwner) {
  auto* owner = new TComponent(nullptr);
  auto* timer = new TTimer(owner);
  int ticks = 0;
  timer->OnTimer = [&ticks, &owner](TObject*) {
    ++ticks;
    delete owner;
    owner = nullptr;
  };
  timer->SetInterval(kTickMs);
  ASSERT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 1; }, kWaitMs));
  runForTicks(5);
  EXPECT_EQ(1, ticks);
  EXPECT_EQ(nullptr, owner);
}

}  // namespace
