// The game's clock: a monotonic millisecond count for the timers and the local
// time of day. The window face reads the system clock; the script face and the
// tests run a virtual one, so that midnight can be crossed without waiting.
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t nowMs() const = 0;
  // Seconds since local midnight, 0..86399.
  virtual int secondOfDay() const = 0;
  // "hh:mm:ss", 24-hour, two digits each.
  std::string timeOfDay() const;
};

std::string formatTimeOfDay(int secondOfDay);

class VirtualClock final : public Clock {
 public:
  int64_t nowMs() const override { return nowMs_; }
  int secondOfDay() const override;
  void advanceTo(int64_t ms) { nowMs_ = ms; }
  // Sets the time of day; it then advances with the virtual milliseconds.
  void setTimeOfDay(int hour, int minute, int second);

 private:
  int64_t nowMs_ = 0;
  int64_t dayOffsetMs_ = 12LL * 3600 * 1000;  // the run starts at 12:00:00
};

class SystemClock final : public Clock {
 public:
  int64_t nowMs() const override;
  int secondOfDay() const override;
};

}  // namespace velmora
