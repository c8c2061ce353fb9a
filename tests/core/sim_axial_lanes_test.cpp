// The order of the lanes for a crowd on the walls: a permutation of the bodies in
// which each body's straight partners fill one run of lanes, its level partners
// another and a few blocks, and none lies outside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "sim/axial_lanes.h"
#include "sim_test_world.h"

namespace velmora {
namespace {

enum class Place { kSun, kLeftWall, kTopWall, kCorner, kPostFoot, kPost, kInside, kOff };

// Bodies on the left wall (one X), on the top wall (one Y), in the corner of both,
// and inside, dealt out in turn as a crowd's are; an off body has no position at all.
// Three posts of four bodies stand on the top wall, each of its own X, their feet
// on the wall and the others level with those of the other posts.
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
    if (k < 12) {
      bodies.push_back({.x = 4000 + 100.0 * (k % 3), .y = 30 + 500.0 * (k / 3)});
      place.push_back(k < 3 ? Place::kPostFoot : Place::kPost);
    }
  }
  return {testing::makeWorld(bodies), place};
}

bool inBlocks(uint64_t blocks, int lane) {
  return ((blocks >> (lane / sim::kLanesABlock)) & 1) != 0;
}

TEST(SimAxialLanes, LevelAndStraightPartnersFillFewRunsAndBlocks) {
  const Crowd c = crowd();
  const World& w = *c.world;
  const int n = w.PlanetCount + 1;
  sim::AxialLanes lanes;
  sim::orderAxialLanes(w, n, lanes);

  // A lane for every body not off, and none for an off one.
  const int off = static_cast<int>(std::count(c.place.begin(), c.place.end(), Place::kOff));
  ASSERT_GT(off, 0);
  ASSERT_EQ(lanes.count, n - off);
  std::vector<int> seen(n, 0);
  for (int i = 0; i < n; ++i) {
    if (w.PlanetOff[i] == 1) continue;
    ASSERT_GE(lanes.laneOf[i], 0);
    ASSERT_LT(lanes.laneOf[i], lanes.count);
    EXPECT_EQ(lanes.bodyAt[lanes.laneOf[i]], i);
    ++seen[lanes.laneOf[i]];
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), lanes.count);

  for (int j = 0; j < n; ++j) {
    if (w.PlanetOff[j] == 1) continue;
    const sim::AxialPartners& p = lanes.partners[j];
    // The runs hold nothing but such partners, whatever their place in the lanes...
    for (int lane = p.straight.from; lane < p.straight.to; ++lane) {
      EXPECT_EQ(w.PlanetX[lanes.bodyAt[lane]], w.PlanetX[j]) << j << " " << lane;
    }
    for (const sim::LaneRange& run : p.level) {
      for (int lane = run.from; lane < run.to; ++lane) {
        EXPECT_EQ(w.PlanetY[lanes.bodyAt[lane]], w.PlanetY[j]) << j << " " << lane;
      }
    }
    // ...and every partner lies in one of them, or in the blocks.
    for (int i = 0; i < n; ++i) {
      if (i == j || w.PlanetOff[i] == 1) continue;
      const int lane = lanes.laneOf[i];
      if (w.PlanetX[i] == w.PlanetX[j]) {
        EXPECT_TRUE(p.straight.holds(lane)) << j << " " << i;
      }
      if (w.PlanetY[i] == w.PlanetY[j]) {
        const bool inRun = std::any_of(p.level.begin(), p.level.end(),
                                       [lane](sim::LaneRange run) { return run.holds(lane); });
        EXPECT_TRUE(inRun || inBlocks(p.blocks, lane)) << j << " " << i;
      }
    }
  }

  // 160 bodies share X = 930 (the corner ones first, with the least Y) and 163
  // share Y = 30: the 150 placed by Y in one run, the ten in the corner in one among
  // the bodies of X = 930, and each post's foot in one among its post's. That makes
  // five runs: the last two feet take their blocks instead.
  struct Expected {
    int straight, level, leastBlocks, mostBlocks;
  };
  const auto expected = [](Place place) -> Expected {
    switch (place) {
      case Place::kLeftWall:
        return {160, 0, 0, 0};
      case Place::kTopWall:
        return {0, 161, 1, 64};
      case Place::kCorner:
        return {160, 161, 1, 64};
      case Place::kPostFoot:
        return {4, 161, 1, 64};
      case Place::kPost:
        return {4, 3, 0, 0};
      default:  // the sun, the bodies inside and the off ones
        return {0, 0, 0, 0};
    }
  };
  for (int j = 0; j < n; ++j) {
    const sim::AxialPartners& p = lanes.partners[j];
    const int straight = p.straight.to - p.straight.from;
    int level = 0;
    for (const sim::LaneRange& run : p.level) level += run.to - run.from;
    const int blocks = std::popcount(p.blocks);
    const Expected e = expected(c.place[j]);
    EXPECT_EQ(straight, e.straight) << j;
    EXPECT_EQ(level, e.level) << j;
    EXPECT_GE(blocks, e.leastBlocks) << j;
    EXPECT_LE(blocks, e.mostBlocks) << j;
  }
}

// A pile of 30 bodies on one point of the left wall lies in one run of lanes; one of
// ten is too few to pay for a run, and bodies on one X and Y but for a zero's sign
// are not on one point, bit for bit.
TEST(SimAxialLanes, BodiesOnOnePointFillOneRun) {
  std::vector<testing::Body> bodies{{.x = 5000, .y = 4000, .gravity = 50}};
  for (int k = 0; k < 100; ++k) bodies.push_back({.x = 930, .y = 100 + 37.0 * k});
  for (int k = 0; k < 30; ++k) bodies.push_back({.x = 930, .y = 1960});
  for (int k = 0; k < 10; ++k) bodies.push_back({.x = 930, .y = 2500});
  for (int k = 0; k < 30; ++k) bodies.push_back({.x = 3000, .y = k % 2 == 0 ? 0.0 : -0.0});
  const auto w = testing::makeWorld(bodies);
  const int n = w->PlanetCount + 1;
  sim::AxialLanes lanes;
  sim::orderAxialLanes(*w, n, lanes);
  ASSERT_EQ(lanes.onePoint.size(), 1u);
  const sim::LaneRange run = lanes.onePoint[0];
  EXPECT_EQ(run.to - run.from, 30);
  for (int lane = run.from; lane < run.to; ++lane) {
    EXPECT_EQ(w->PlanetX[lanes.bodyAt[lane]], 930);
    EXPECT_EQ(w->PlanetY[lanes.bodyAt[lane]], 1960);
  }
}

}  // namespace
}  // namespace velmora
