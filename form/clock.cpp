#include "form/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace velmora {

std::string formatTimeOfDay(int secondOfDay) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", secondOfDay / 3600, secondOfDay / 60 % 60,
                secondOfDay % 60);
  return buf;
}

std::string Clock::timeOfDay() const {
  return formatTimeOfDay(secondOfDay());
}

int VirtualClock::secondOfDay() const {
  constexpr int64_t kDayMs = 24LL * 3600 * 1000;
  int64_t ms = (dayOffsetMs_ + nowMs_) % kDayMs;
  if (ms < 0) ms += kDayMs;
  return static_cast<int>(ms / 1000);
}

void VirtualClock::setTimeOfDay(int hour, int minute, int second) {
  dayOffsetMs_ = ((hour * 60LL + minute) * 60 + second) * 1000 - nowMs_;
}

int64_t SystemClock::nowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int SystemClock::secondOfDay() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

}  // namespace velmora
