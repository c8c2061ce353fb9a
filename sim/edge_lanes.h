// An order of the gravity pass's lanes for a crowd lined up on the walls: bodies
// that share one X sit together, then those that share one Y, then the rest. A
// column's level and straight partners then fill a few blocks of lanes, which take
// the pair formulas for those, and every other block the cheaper plain ones.
#pragma once

#include <cstdint>

#include "world/world.h"

namespace velmora::sim {

// Lanes a block holds: 64 blocks cover every body, one bit each.
inline constexpr int kLanesABlock = 16;
static_assert(64 * kLanesABlock >= kMaxBodies);

struct EdgeLanes {
  Table<int> laneOf{};  // body -> lane
  Table<int> bodyAt{};  // lane -> body
  // Bit b set where block b may hold a partner of body j exactly level with it or
  // straight above or below (the same Y or X); no partner outside it does.
  Table<uint64_t> edgeBlocks{};
};

// Orders the lanes of bodies 0..n-1; off bodies sit among the rest, no one's partner.
void orderEdgeLanes(const World& world, int n, EdgeLanes& lanes);

}  // namespace velmora::sim
