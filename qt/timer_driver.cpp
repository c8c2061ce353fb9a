#include "qt/timer_driver.h"

#include <algorithm>

#include "qt/model_call.h"

namespace velmora::qt {

TimerDriver::TimerDriver(Form& form, const Control* precise, QObject* parent)
    : QObject(parent), precise_(precise) {
  for (Control* c : form.timers()) {
    auto* timer = new QTimer(this);
    timer->setTimerType(c == precise ? Qt::PreciseTimer : Qt::CoarseTimer);
    connect(timer, &QTimer::timeout, this, [this, c] { tick(*c); });
    timers_[c] = timer;
    follow(*c);
  }
  form.observe([this, attached = attached_](Control& c, Prop prop) {
    if (*attached && (prop == Prop::Enabled || prop == Prop::Interval)) follow(c);
  });
}

TimerDriver::~TimerDriver() {
  *attached_ = false;
}

const QTimer* TimerDriver::timerFor(const Control& control) const {
  const auto it = timers_.find(&control);
  return it == timers_.end() ? nullptr : it->second;
}

void TimerDriver::stopAll() {
  *attached_ = false;
  for (auto& [control, timer] : timers_) timer->stop();
}

void TimerDriver::reportPreciseTicks(std::function<void(int64_t, int)> report) {
  report_ = std::move(report);
}

void TimerDriver::follow(const Control& control) {
  const auto it = timers_.find(&control);
  if (it == timers_.end()) return;
  QTimer* timer = it->second;
  if (control.enabled() && control.interval() > 0) {
    timer->start(control.interval());  // restarting begins a fresh period
    if (&control == precise_) sincePreciseTick_.invalidate();
  } else {
    timer->stop();
  }
}

void TimerDriver::tick(Control& control) {
  // A tick due while a handler is still running (a message box waits in its own
  // event loop) is skipped: handlers run one at a time.
  if (!*attached_ || ModelCall::running()) return;
  ModelCall call;
  if (&control != precise_ || !report_) {
    Control::raise(control.onTimer);
    return;
  }
  const int period = control.interval();
  const int64_t late = sincePreciseTick_.isValid() ? sincePreciseTick_.restart() - period : 0;
  if (!sincePreciseTick_.isValid()) sincePreciseTick_.start();
  QElapsedTimer handler;
  handler.start();
  Control::raise(control.onTimer);
  report_(std::max<int64_t>(handler.elapsed(), late), period);
}

}  // namespace velmora::qt
