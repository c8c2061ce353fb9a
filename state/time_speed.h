// How much simulation one period of the simulation timer holds: 1, 2, 4 or 8
// ticks, or one tick every 2, 4 or 8 periods. The clock and every other timer keep
// real time. Also remembers whether the periods of the running game lately could
// not hold their ticks, as the window's timer reports it, so that the speed label
// can say so.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

class TimeSpeed {
 public:
  static constexpr int kSlowest = -3;  // one tick every 8 periods
  static constexpr int kFastest = 3;   // 8 ticks a period

  // "1/8", "1/4", "1/2", "1", "2", "4" or "8" as a level; nothing for any other text.
  static std::optional<int> parse(std::string_view text);

  // 2^level ticks a period; levels outside kSlowest..kFastest are clamped.
  int level() const { return level_; }
  void setLevel(int level);
  void faster() { setLevel(level_ + 1); }
  void slower() { setLevel(level_ - 1); }

  // Periods passed since the last tick at a slow speed: 0 up to 2^-level - 1, and
  // always 0 at x1 and faster. A saved system keeps it with the level, so that it
  // goes on mid-cycle.
  int idlePeriods() const { return idlePeriods_; }
  // Whether `idle` is a position within the cycle of `level` (a level within range).
  static bool isCyclePosition(int level, int idle);
  // Takes a saved level and position; both must be within range.
  void restore(int level, int idlePeriods);

  // The ticks the period that has just come due holds (0 for the idle periods of a
  // slow speed); counts the period.
  int ticksForPeriod();

  // Whether the simulation runs. "behind" describes only a running game: stopping
  // clears it, and periods reported while stopped are not counted.
  void setRunning(bool running);
  // A period's handler took `handlerMs` of a `periodMs` period, at `nowMs`. One that
  // overran sets "behind".
  void reportPeriod(int64_t handlerMs, int64_t periodMs, int64_t nowMs);
  // A second without an overrun clears "behind", also while a long period runs.
  void settle(int64_t nowMs);
  bool behind() const { return behind_; }

  // "x8", "x1/2"; " behind" follows while the periods cannot hold their ticks.
  std::string caption() const;
  // Raised whenever the caption changes.
  std::function<void()> onCaptionChange;

 private:
  void changed();
  void setBehind(bool behind);

  int level_ = 0;
  int idlePeriods_ = 0;  // periods since the last tick, at a slow speed
  bool running_ = false;
  bool behind_ = false;
  int64_t lastOverrunMs_ = 0;
};

}  // namespace velmora
