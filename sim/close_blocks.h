// Where a column's close partners lie among the gravity pass's lanes. A close pair
// adds the force carried from the pair before (or none, after a kick), which costs
// the lanes several selects; the blocks without one take the plain pull alone.
#pragma once

#include <cstdint>

#include "sim/edge_lanes.h"
#include "world/world.h"

namespace velmora::sim {

// For every live body j of 0..n-1, bit b set where block b of the lanes (lane of
// body i: laneOf[i]) may hold a body whose squared distance from j, as the lanes
// compute it, is at or below closeBound; no such body lies outside those blocks.
// Where the positions are too far apart for the grid, every block is set.
void findCloseBlocks(const World& world, int n, const Table<int>& laneOf, double closeBound,
                     Table<uint64_t>& closeBlocks);

}  // namespace velmora::sim
