// Event closures: a method bound to an object runs that method on that object, tells which
// method of which object it is bound to, and keeps both through copies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Classes.h"

namespace {

class Window : public TObject {
 public:
  void First(TObject* sender) { calls.push_back("first " + nameOf(sender)); }
  void Second(TObject* sender) { calls.push_back("second " + nameOf(sender)); }
  void Swallow(TObject*, char& key) { key = 0; }
  virtual void Painted(TObject*) { calls.push_back("window painted"); }

  std::string nameOf(TObject* sender) const { return sender == this ? "self" : "other"; }

  std::vector<std::string> calls;
};

class MainWindow : public Window {
 public:
  void Painted(TObject*) override { calls.push_back("main window painted"); }
  void Own(TObject*) { calls.push_back("own"); }
};

class Unrelated : public TObject {
 public:
  void First(TObject*) {}
};

TEST(ClosureTest, TellsTheMethodAndTheObjectItIsBoundTo) {
  Window window;
  Window otherWindow;
  Unrelated unrelated;
  MainWindow mainWindow;
  const TNotifyEvent first(&window, &Window::First);
  const TNotifyEvent inherited(&mainWindow, &Window::First);
  const TNotifyEvent own(&mainWindow, &MainWindow::Own);

  const struct {
    const char* label;
    bool actual;
    bool expected;
  } kCases[] = {
      {"the bound method of the bound object", first.Is(&window, &Window::First), true},
      {"another method of the same signature", first.Is(&window, &Window::Second), false},
      {"the same method of another object", first.Is(&otherWindow, &Window::First), false},
      {"a method of the same name in another class", first.Is(&unrelated, &Unrelated::First), false},
      {"an inherited method bound on the derived window", inherited.Is(&mainWindow, &Window::First), true},
      {"the inherited method asked of the base part",
       inherited.Is(static_cast<Window*>(&mainWindow), &Window::First), true},
      {"the derived window's own method", own.Is(&mainWindow, &MainWindow::Own), true},
      {"the derived window's own method is not the inherited one", own.Is(&mainWindow, &Window::First),
       false},
  };
  for (const auto& c : kCases) EXPECT_EQ(c.actual, c.expected) << c.label;
  EXPECT_EQ(first.Data(), &window);
}

TEST(ClosureTest, FreeCallableAndEmptyClosureAreBoundToNoMethod) {
  Window window;
  bool called = false;
  const TNotifyEvent callable = [&](TObject*) { called = true; };
  const TNotifyEvent empty;
  const TNotifyEvent cleared = nullptr;
  EXPECT_TRUE(callable);
  EXPECT_FALSE(empty);
  EXPECT_FALSE(cleared);
  for (const TNotifyEvent* closure : {&callable, &empty, &cleared}) {
    EXPECT_FALSE(closure->Is(&window, &Window::First));
    EXPECT_EQ(closure->Data(), nullptr);
  }
  empty(&window);  // nothing bound: nothing runs
  callable(&window);
  EXPECT_TRUE(called);
}

TEST(ClosureTest, CopyRunsTheSameMethodOnTheSameObject) {
  Window window;
  Window sender;
  TNotifyEvent event(&window, &Window::Second);
  const TNotifyEvent copy = event;
  event = TNotifyEvent(&window, &Window::First);  // rebinding the original leaves the copy as it was

  copy(&window);
  copy(&sender);
  event(&window);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"second self", "second other", "first self"}));
  EXPECT_TRUE(copy.Is(&window, &Window::Second));
  EXPECT_FALSE(copy.Is(&window, &Window::First));
  EXPECT_TRUE(sender.calls.empty());
}

TEST(ClosureTest, ReferenceArgumentReachesTheCaller) {
  Window window;
  const TKeyPressEvent event(&window, &Window::Swallow);
  char key = 'a';
  event(&window, key);
  EXPECT_EQ(key, 0);
}

TEST(ClosureTest, VirtualMethodRunsTheObjectsOverride) {
  MainWindow mainWindow;
  const TNotifyEvent event(&mainWindow, &Window::Painted);
  event(&mainWindow);
  EXPECT_EQ(mainWindow.calls, std::vector<std::string>{"main window painted"});
  EXPECT_TRUE(event.Is(&mainWindow, &Window::Painted));
}

}  // namespace
