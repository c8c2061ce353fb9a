// The axial sweep's order of the gravity pass's lanes, for a crowd lined up on the
// walls: bodies that share one X sit together, then those that share one Y, then the
// rest. A column's axial partners, straight (same X) and level (same Y), then fill one
// run of lanes and a few runs, which take the formulas for such pairs alone; any level
// partners left fill blocks, which take the formulas for either, and every other lane
// the cheaper plain ones. The words are those of the map in pull_rows.h.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "world/world.h"

namespace velmora::sim {

// Lanes a block holds: 64 blocks cover every body, one bit each.
inline constexpr int kLanesABlock = 16;
static_assert(64 * kLanesABlock >= kMaxBodies);

// Lanes from..to-1; empty where from == to.
struct LaneRange {
  int from = 0;
  int to = 0;
  bool holds(int lane) const { return lane >= from && lane < to; }
};

// Runs of lanes that a body's level partners fill: those placed by their Y, then
// those among the bodies placed by their X, one run for each X.
inline constexpr int kLevelRuns = 3;

// Where the partners of a body j that are exactly level with it (the same Y) or
// straight above or below it (the same X) lie among the lanes.
struct AxialPartners {
  LaneRange straight;                         // exactly the bodies that share j's X, j among them
  std::array<LaneRange, kLevelRuns> level{};  // runs of bodies that share j's Y, nothing else
  uint64_t blocks = 0;  // bit b where block b may hold a level partner in none of the runs
};

struct AxialLanes {
  Table<int> laneOf{};  // body (not off) -> lane
  Table<int> bodyAt{};  // lane (below count) -> body
  Table<AxialPartners> partners{};
  int count = 0;    // the lanes: one for each body not off
  int sharing = 0;  // the bodies that share an X or a Y with another, in the first lanes
  // Runs of kMinOnePoint or more lanes on one point (the same X and Y, bit for bit),
  // in order: a pile in a crowd's corner.
  std::vector<LaneRange> onePoint;
};

inline constexpr int kMinOnePoint = 24;

// Orders the lanes of the bodies of 0..n-1 that are not off; an off body has none.
void orderAxialLanes(const World& world, int n, AxialLanes& lanes);

}  // namespace velmora::sim
