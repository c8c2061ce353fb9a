// The order of the lanes for a crowd on the walls: a permutation of the bodies in
// which each body's level and straight partners fill few blocks, none outside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "sim/edge_lanes.h"
#include "sim_test_world.h"

namespace velmora {
namespace {

enum class Place { kSun, kLeftWall, kTopWall, kCorner, kInside, kOff };

// Bodies on the left wall (one X), on the top wall (one Y), in the corner of both,
// and inside, dealt out in turn as a crowd's are; an off body has no position at all.
struct Crowd {
  std::unique_ptr<World> world;
  std::vector<Place> place;
};

Crowd crowd() {
  std::vector<testing::Body> bodies{{.x = 5000, .y = 4000, .gravity = 50}};
  std::vector<Place> place{Place::kSun};
  for (int k = 0; k < 150; ++k) {
    bodies.push_back({.x = 930, .y = 100 + 37.0 * k});
    place.push_back(Place::kLeftWall);
    bodies.push_back({.x = 1000 + 53.0 * k, .y = 30});
    place.push_back(Place::kTopWall);
    bodies.push_back({.x = 2000.25 + 7.5 * k, .y = 1000.25 + 11.5 * k});
    place.push_back(Place::kInside);
    if (k % 15 == 0) {
      bodies.push_back({.x = 930, .y = 30});
      place.push_back(Place::kCorner);
      bodies.push_back({.x = std::nan(""), .y = std::nan(""), .off = 1});
      place.push_back(Place::kOff);
    }
  }
  return {testing::makeWorld(bodies), place};
}

bool inBlocks(uint64_t blocks, int lane) {
  return ((blocks >> (lane / sim::kLanesABlock)) & 1) != 0;
}

TEST(SimEdgeLanes, LevelAndStraightPartnersFillFewBlocks) {
  const Crowd c = crowd();
  const World& w = *c.world;
  const int n = w.PlanetCount + 1;
  sim::EdgeLanes lanes;
  sim::orderEdgeLanes(w, n, lanes);

  std::vector<int> seen(n, 0);
  for (int i = 0; i < n; ++i) {
    ASSERT_GE(lanes.laneOf[i], 0);
    ASSERT_LT(lanes.laneOf[i], n);
    EXPECT_EQ(lanes.bodyAt[lanes.laneOf[i]], i);
    ++seen[lanes.laneOf[i]];
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), n);

  for (int j = 0; j < n; ++j) {
    if (w.PlanetOff[j] == 1) continue;
    for (int i = 0; i < n; ++i) {
      const bool edge = i != j && w.PlanetOff[i] != 1 &&
                        (w.PlanetX[i] == w.PlanetX[j] || w.PlanetY[i] == w.PlanetY[j]);
      if (edge) {
        EXPECT_TRUE(inBlocks(lanes.edgeBlocks[j], lanes.laneOf[i])) << j << " " << i;
      }
    }
  }

  // 160 bodies share X = 930 (the corner ones first, with the least Y) and 160 share
  // Y = 30: each stretch takes ten blocks, or eleven where it starts mid-block, and
  // the top wall's reaches the corner's block too.
  for (int j = 0; j < n; ++j) {
    const int blocks = std::popcount(lanes.edgeBlocks[j]);
    switch (c.place[j]) {
      case Place::kSun:
      case Place::kInside:
      case Place::kOff:
        EXPECT_EQ(blocks, 0) << j;
        break;
      case Place::kLeftWall:
        EXPECT_LE(blocks, 11) << j;
        break;
      case Place::kTopWall:
        EXPECT_LE(blocks, 12) << j;
        break;
      case Place::kCorner:
        EXPECT_LE(blocks, 23) << j;
        break;
    }
  }
}

}  // namespace
}  // namespace velmora
