// The vector width the gravity kernel's lane loops run in, chosen at run time: the
// widest the processor runs, unless VELMORA_LANES in the environment names a
// narrower one (to compare widths on one machine). Every lane computes the same
// scalar operations with contraction off, and square roots and divisions round
// alike in every width, so the choice changes no bit.
#pragma once

#include <array>
#include <string_view>

namespace velmora::sim {

enum class LaneWidth { kBaseline, kAvx2, kAvx512 };

// What VELMORA_LANES takes and the benchmark prints, in the order of LaneWidth.
inline constexpr std::array<std::string_view, 3> kLaneWidthNames{"baseline", "avx2", "avx512"};

inline std::string_view nameOf(LaneWidth width) {
  return kLaneWidthNames[static_cast<size_t>(width)];
}

// The widest the processor runs (and its system saves the registers of).
LaneWidth widestLaneWidth();

// The width the lanes run in: VELMORA_LANES's, no wider than the widest, else the
// widest. An unknown name falls back to the widest.
LaneWidth laneWidth();

// Sets it, no wider than the widest (tests and the benchmark compare widths).
void setLaneWidth(LaneWidth width);

// GCC on x86-64 compiles a loop once for each width, the others once for the build's.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && \
    !defined(VELMORA_NO_LANE_CLONES)
#define VELMORA_LANE_COPIES 1
#define VELMORA_AVX2_LANES __attribute__((target("avx2"), noinline))
#define VELMORA_AVX512_LANES __attribute__((target("avx512f,avx512dq,avx512vl,avx512bw"), noinline))
#else
#define VELMORA_LANE_COPIES 0
#endif

template <class Body>
__attribute__((noinline)) void inBaselineLanes(const Body& body) {
  body();
}

#if VELMORA_LANE_COPIES
template <class Body>
VELMORA_AVX2_LANES void inAvx2Lanes(const Body& body) {
  body();
}

template <class Body>
VELMORA_AVX512_LANES void inAvx512Lanes(const Body& body) {
  body();
}
#endif

// Runs body() compiled for kWidth: body must be inlined (always_inline, with all it
// calls in its loops), so that its loops take the width's instructions. Without the
// copies (another compiler or processor, or a build held to the baseline) every
// width runs the baseline's.
template <LaneWidth kWidth, class Body>
void inLanesOf(const Body& body) {
#if VELMORA_LANE_COPIES
  if constexpr (kWidth == LaneWidth::kAvx512) {
    inAvx512Lanes(body);
  } else if constexpr (kWidth == LaneWidth::kAvx2) {
    inAvx2Lanes(body);
  } else {
    inBaselineLanes(body);
  }
#else
  inBaselineLanes(body);
#endif
}

// The same with the width chosen at run time.
template <class Body>
void inLanes(LaneWidth width, const Body& body) {
  if (width == LaneWidth::kAvx512) return inLanesOf<LaneWidth::kAvx512>(body);
  if (width == LaneWidth::kAvx2) return inLanesOf<LaneWidth::kAvx2>(body);
  inLanesOf<LaneWidth::kBaseline>(body);
}

}  // namespace velmora::sim
