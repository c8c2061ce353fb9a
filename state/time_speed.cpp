#include "state/time_speed.h"

#include <algorithm>
#include <iterator>

namespace velmora {

namespace {

constexpr int64_t kBehindHoldMs = 1000;

}  // namespace

std::optional<int> TimeSpeed::parse(std::string_view text) {
  static constexpr std::string_view kNames[] = {"1/8", "1/4", "1/2", "1", "2", "4", "8"};
  static_assert(std::size(kNames) == kFastest - kSlowest + 1, "a name for every level");
  for (int i = 0; i < std::ssize(kNames); ++i) {
    if (text == kNames[i]) return kSlowest + i;
  }
  return std::nullopt;
}

void TimeSpeed::setLevel(int level) {
  level = std::clamp(level, kSlowest, kFastest);
  idlePeriods_ = 0;
  if (level == level_) return;
  level_ = level;
  changed();
}

bool TimeSpeed::isCyclePosition(int level, int idle) {
  if (level < kSlowest || level > kFastest) return false;
  return idle >= 0 && idle < (level >= 0 ? 1 : 1 << -level);
}

void TimeSpeed::restore(int level, int idlePeriods) {
  setLevel(level);
  idlePeriods_ = idlePeriods;
}

int TimeSpeed::ticksForPeriod() {
  if (level_ >= 0) return 1 << level_;
  if (++idlePeriods_ < (1 << -level_)) return 0;
  idlePeriods_ = 0;
  return 1;
}

void TimeSpeed::setRunning(bool running) {
  running_ = running;
  if (!running) setBehind(false);
}

void TimeSpeed::reportPeriod(int64_t handlerMs, int64_t periodMs, int64_t nowMs) {
  if (!running_) return;
  if (periodMs > 0 && handlerMs > periodMs) {
    lastOverrunMs_ = nowMs;
    setBehind(true);
    return;
  }
  settle(nowMs);
}

void TimeSpeed::settle(int64_t nowMs) {
  if (behind_ && nowMs - lastOverrunMs_ >= kBehindHoldMs) setBehind(false);
}

void TimeSpeed::setBehind(bool behind) {
  if (behind == behind_) return;
  behind_ = behind;
  changed();
}

std::string TimeSpeed::caption() const {
  // Appended piece by piece: GCC 12 at -O3 warns falsely on "x" + std::string.
  std::string text = level_ >= 0 ? "x" : "x1/";
  text += std::to_string(1 << (level_ >= 0 ? level_ : -level_));
  if (behind_) text += " behind";
  return text;
}

void TimeSpeed::changed() {
  if (onCaptionChange) onCaptionChange();
}

}  // namespace velmora
