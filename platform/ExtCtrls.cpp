#include "platform/ExtCtrls.h"

#include <QTimer>

#include "platform/Controls.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { Tick(); });
  Restart();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Restart();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void TTimer::Restart() {
  // A zero-interval QTimer would fire on every pass of the loop; a Windows timer of 0 never fires.
  if (enabled_ && interval_ > 0) {
    timer_->start(interval_);
  } else {
    timer_->stop();
  }
}

void TTimer::Tick() {
  // The handler may delete this timer (with its owner); it runs on a copy so that the closure
  // outlives the call. An exception it raises must not unwind through the toolkit's loop.
  const TNotifyEvent handler = OnTimer;
  platform::dispatchEvent([&] { handler(this); });
}
