#include "sim/lane_width.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace velmora::sim {

namespace {

LaneWidth processorsWidest() {
#if defined(__GNUC__) && defined(__x86_64__)
  __builtin_cpu_init();  // may run before the constructors that would call it
  const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
                      __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw");
  if (avx512) return LaneWidth::kAvx512;
  if (__builtin_cpu_supports("avx2")) return LaneWidth::kAvx2;
#endif
  return LaneWidth::kBaseline;
}

LaneWidth asked() {
  const LaneWidth widest = widestLaneWidth();
  const char* env = std::getenv("VELMORA_LANES");
  if (env == nullptr) return widest;
  const auto named = std::find(kLaneWidthNames.begin(), kLaneWidthNames.end(), env);
  if (named == kLaneWidthNames.end()) return widest;
  return std::min(static_cast<LaneWidth>(named - kLaneWidthNames.begin()), widest);
}

std::atomic<LaneWidth>& chosen() {
  static std::atomic<LaneWidth> width{asked()};
  return width;
}

}  // namespace

LaneWidth widestLaneWidth() {
  static const LaneWidth widest = processorsWidest();
  return widest;
}

LaneWidth laneWidth() {
  return chosen().load(std::memory_order_relaxed);
}

void setLaneWidth(LaneWidth width) {
  chosen().store(std::min(width, widestLaneWidth()), std::memory_order_relaxed);
}

}  // namespace velmora::sim
