// The lane loops in AVX2's instructions, for the processors that run them.
#include "sim/lane_loops.h"

namespace velmora::sim::lane_loops {

#if VELMORA_LANE_COPIES
const LaneLoops& avx2Loops() {
  return LoopsIn<LaneWidth::kAvx2>::kLoops;
}
#endif

}  // namespace velmora::sim::lane_loops
