// The lane loops in AVX-512's instructions, for the processors that run them.
#include "sim/lane_loops.h"

namespace velmora::sim::lane_loops {

#if VELMORA_LANE_COPIES
const LaneLoops& avx512Loops() {
  return LoopsIn<LaneWidth::kAvx512>::kLoops;
}
#endif

}  // namespace velmora::sim::lane_loops
