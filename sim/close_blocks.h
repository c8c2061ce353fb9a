// Where a column's close partners lie among the gravity pass's lanes. A close pair
// adds the force carried from the pair before (or none, after a kick), which costs
// the lanes several selects; the blocks without one take the plain pull alone. The
// words are those of the map in pull_rows.h.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/axial_lanes.h"
#include "world/world.h"

namespace velmora::sim {

// The close range's grid for one tick, whatever order the lanes take: the live
// bodies by cell, and for each occupied cell the occupied cells around it (itself
// too), where its bodies' close partners lie.
struct CloseCells {
  bool gridHolds = false;   // false until found, or when the positions are too far apart
  double bound = 0;         // close: a squared distance, as the lanes compute it, at or below it
  std::vector<int> bodies;  // cell k holds bodies[cellStart[k] .. cellStart[k + 1])
  std::vector<int> cellStart;
  std::vector<int> cellOf;  // body -> its cell; -1 for an off one
  std::vector<int> around;  // cell k's: around[aroundStart[k] .. aroundStart[k + 1])
  std::vector<int> aroundStart;
};

// The grid of bodies 0..n-1 for pairs whose squared distance, as the lanes compute
// it, is at or below closeBound.
void findCloseCells(const World& world, int n, double closeBound, CloseCells& cells);

// For every live body j of 0..n-1, bit b set where block b of the lanes (lane of
// body i: laneOf[i]) may hold a body whose squared distance from j, as the lanes
// compute it, is at or below the grid's bound; no such body lies outside those
// blocks. Where the grid does not hold, every block is set.
void closeBlocksOf(const CloseCells& cells, int n, const Table<int>& laneOf,
                   Table<uint64_t>& closeBlocks);

// Body i's live partners j (not i) whose squared distance, as the lanes compute it,
// is at or below the grid's bound and above `above`, highest first.
void closePartners(const World& world, const CloseCells& cells, int i, double above,
                   std::vector<int>& out);

// Both at once.
void findCloseBlocks(const World& world, int n, const Table<int>& laneOf, double closeBound,
                     Table<uint64_t>& closeBlocks);

}  // namespace velmora::sim
