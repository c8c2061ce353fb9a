// An order of the gravity pass's lanes for a crowd lined up on the walls: bodies
// that share one X sit together, then those that share one Y, then the rest. A
// column's straight partners then fill one run of lanes and its level partners
// nearly all of another, which take the formulas for such pairs alone; the few
// level partners left (those that share an X too) fill a few blocks, which take the
// formulas for either, and every other lane the cheaper plain ones.
#pragma once

#include <cstdint>

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

// Where the partners of a body j that are exactly level with it (the same Y) or
// straight above or below it (the same X) lie among the lanes.
struct EdgePartners {
  LaneRange straight;   // exactly the bodies that share j's X, j among them
  LaneRange level;      // the bodies that share j's Y and no X: level with j, all of them
  uint64_t blocks = 0;  // bit b where block b may hold any other level partner
};

struct EdgeLanes {
  Table<int> laneOf{};  // body -> lane
  Table<int> bodyAt{};  // lane -> body
  Table<EdgePartners> partners{};
};

// Orders the lanes of bodies 0..n-1; off bodies sit among the rest, no one's partner.
void orderEdgeLanes(const World& world, int n, EdgeLanes& lanes);

}  // namespace velmora::sim
