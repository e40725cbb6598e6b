// The framework's timer component.
//
// TTimer raises OnTimer every Interval milliseconds while it is enabled, but only while the event
// loop runs: ticks missed while the thread was busy or blocked come as one, as Windows timer
// messages do. A new timer is enabled and counts from its creation. Disabling it stops the count;
// enabling it again, or changing the interval, starts a new count. An interval of 0 keeps it from
// firing at all, as on Windows. The timer may be deleted by its owner at any time, also from
// inside its own OnTimer handler. An exception that escapes OnTimer is shown in the application's
// exception box, as the message loop shows it, and the timer goes on.
#pragma once

#include <memory>

#include "platform/Classes.h"

class QTimer;

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  int Interval() const { return interval_; }
  // Negative values count as 0.
  void SetInterval(int milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Called with the timer as sender.
  TNotifyEvent OnTimer;

 private:
  void Restart();
  void Tick();

  std::unique_ptr<QTimer> timer_;
  int interval_ = 1000;
  bool enabled_ = true;
};
