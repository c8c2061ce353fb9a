// Drives the timer controls of a form with real timers: each runs while the model
// says Enabled with an Interval above 0, restarting (a fresh period) whenever it
// is enabled or its interval changes, and raises the control's tick.
#pragma once

#include <QObject>
#include <QTimer>
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

 private:
  void follow(const Control& control);
  void tick(Control& control);

  std::unordered_map<const Control*, QTimer*> timers_;
  std::shared_ptr<bool> attached_ = std::make_shared<bool>(true);
};

}  // namespace velmora::qt
