// Runs the timers of a form in virtual time: each enabled timer with a period above
// 0 ticks at its due times, in time order; timers due at the same moment tick in the
// order they were created.
#pragma once

#include <cstdint>
#include <functional>

#include "form/clock.h"
#include "form/form.h"

namespace velmora {

// Advances `clock` by `ms`, ticking every timer due up to and including the end.
// `stop` is asked after every tick; when it answers true the advance ends there.
void advanceTimers(Form& form, VirtualClock& clock, int64_t ms,
                   const std::function<bool()>& stop = {});

}  // namespace velmora
