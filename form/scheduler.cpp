#include "form/scheduler.h"

namespace velmora {

void advanceTimers(Form& form, VirtualClock& clock, int64_t ms, const std::function<bool()>& stop) {
  const int64_t end = clock.nowMs() + (ms > 0 ? ms : 0);
  const std::vector<Control*> timers = form.timers();
  for (;;) {
    // The earliest due timer; the first created wins a tie.
    Control* next = nullptr;
    for (Control* t : timers) {
      if (!t->enabled() || t->interval() <= 0 || t->dueMs() > end) continue;
      if (next == nullptr || t->dueMs() < next->dueMs()) next = t;
    }
    if (next == nullptr) break;
    clock.advanceTo(next->dueMs());
    next->setDueMs(next->dueMs() + next->interval());
    Control::raise(next->onTimer);
    if (stop && stop()) return;
  }
  clock.advanceTo(end);
}

}  // namespace velmora
