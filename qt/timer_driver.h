// Drives the timer controls of a form with real timers: each runs while the model
// says Enabled with an Interval above 0, restarting (a fresh period) whenever it
// is enabled or its interval changes, and raises the control's tick.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>

#include "form/form.h"

namespace velmora::qt {

class TimerDriver : public QObject {
  Q_OBJECT
 public:
  // `precise` names the timer that needs millisecond accuracy (the simulation).
  TimerDriver(Form& form, const Control* precise, QObject* parent = nullptr);
  ~TimerDriver() override;

  const QTimer* timerFor(const Control& control) const;
  void stopAll();

  // Told after every tick of the precise timer how long its period took in ms: the
  // handler's own time, or how late the tick came when that is more.
  void reportPreciseTicks(std::function<void(int64_t spentMs, int periodMs)> report);

 private:
  void follow(const Control& control);
  void tick(Control& control);

  std::unordered_map<const Control*, QTimer*> timers_;
  const Control* precise_;
  std::function<void(int64_t, int)> report_;
  QElapsedTimer sincePreciseTick_;  // invalid until the precise timer's first tick
  std::shared_ptr<bool> attached_ = std::make_shared<bool>(true);
};

}  // namespace velmora::qt
