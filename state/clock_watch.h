// Tells a changed clock from time passing. Between two readings the time of day
// should move as far as the monotonic clock; when the two disagree by more than a
// couple of seconds, somebody (the player, a time server, the end of summer time)
// set the clock, and the elapsed time read from it is no measure of stability.
#pragma once

#include <cstdint>

namespace velmora {

class ClockWatch {
 public:
  // How far the two clocks may disagree before the time of day counts as changed:
  // the time of day moves in whole seconds, so a second is lost at each reading.
  static constexpr int kToleranceSeconds = 2;

  // Takes this reading as the one the next is compared with.
  void note(int64_t monotonicMs, int secondOfDay);
  // Takes this reading and says whether the time of day was changed since the last
  // one; the first reading after construction has nothing to compare with.
  bool changedSince(int64_t monotonicMs, int secondOfDay);

 private:
  bool noted_ = false;
  int64_t monotonicMs_ = 0;
  int secondOfDay_ = 0;
};

}  // namespace velmora
