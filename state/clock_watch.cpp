#include "state/clock_watch.h"

#include <cstdlib>

namespace velmora {

namespace {

constexpr int64_t kDayMs = 24LL * 3600 * 1000;

// `ms` brought into -half a day .. +half a day, so that passing midnight, or a
// whole day spent paused, is no change.
int64_t withinHalfADay(int64_t ms) {
  int64_t m = ms % kDayMs;
  if (m < 0) m += kDayMs;
  return m >= kDayMs / 2 ? m - kDayMs : m;
}

}  // namespace

void ClockWatch::note(int64_t monotonicMs, int secondOfDay) {
  noted_ = true;
  monotonicMs_ = monotonicMs;
  secondOfDay_ = secondOfDay;
}

bool ClockWatch::changedSince(int64_t monotonicMs, int secondOfDay) {
  const bool compared = noted_;
  const int64_t dayMovedMs = (int64_t{secondOfDay} - secondOfDay_) * 1000;
  const int64_t monotonicMovedMs = monotonicMs - monotonicMs_;
  note(monotonicMs, secondOfDay);
  if (!compared) return false;
  const int64_t gapMs = withinHalfADay(dayMovedMs - monotonicMovedMs);
  return std::llabs(gapMs) > int64_t{kToleranceSeconds} * 1000;
}

}  // namespace velmora
