// The lane loops in the baseline's instructions: every processor runs them.
#include "sim/lane_loops.h"

namespace velmora::sim::lane_loops {

const LaneLoops& baselineLoops() {
  return LoopsIn<LaneWidth::kBaseline>::kLoops;
}

}  // namespace velmora::sim::lane_loops
