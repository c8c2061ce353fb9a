// Where a column's close partners lie among the lanes: every pair the lanes would
// find close (squared distance at or below the bound) lies in the marked blocks,
// and a crowd with few close pairs marks few.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

#include "sim/close_blocks.h"
#include "sim_test_world.h"
#include "world/rng.h"

namespace velmora {
namespace {

bool inBlocks(uint64_t blocks, int lane) {
  return ((blocks >> (lane / sim::kLanesABlock)) & 1) != 0;
}

// Lanes dealt out with a stride, so that neighbours in the tables sit in other
// blocks, and a missed partner is not saved by its neighbour's block.
Table<int> scatteredLanes(int n) {
  Table<int> laneOf{};
  int stride = 97;
  while (std::gcd(stride, n) != 1) ++stride;
  for (int i = 0; i < n; ++i) laneOf[i] = static_cast<int>((static_cast<int64_t>(i) * stride) % n);
  return laneOf;
}

// Every close pair of live bodies, its distance as the lanes compute it, must lie in
// the marked blocks. Returns how many close pairs there were.
int expectCloseInBlocks(const World& w, int n, const Table<int>& laneOf, double bound,
                        const Table<uint64_t>& blocks) {
  int close = 0;
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i) {
      if (w.PlanetOff[i] == 1 || w.PlanetOff[j] == 1) continue;
      const double dx = w.PlanetX[j] - w.PlanetX[i];
      const double dy = w.PlanetY[j] - w.PlanetY[i];
      if (!(dx * dx + dy * dy <= bound)) continue;
      ++close;
      EXPECT_TRUE(inBlocks(blocks[j], laneOf[i])) << "pair " << j << " " << i;
    }
  }
  return close;
}

// Bodies in clusters a little under and over the radius apart, on either side of
// the origin (cells of negative numbers), some at one point, some off.
TEST(SimCloseBlocks, CloseRangeFillsItsBlocksAndFewOthers) {
  for (double radius : {6.0, 0.0, 40.0}) {
    SCOPED_TRACE(::testing::Message() << "radius " << radius);
    Rng gen;
    gen.seed(9);
    std::vector<testing::Body> bodies{{.x = 0, .y = 0, .gravity = 50}};
    while (bodies.size() < 950) {
      const double x = 8000 * gen.next() - 4000;
      const double y = 6000 * gen.next() - 3000;
      bodies.push_back({.x = x, .y = y});
      const double step = radius * (0.9 + 0.2 * gen.next());
      bodies.push_back({.x = x + step, .y = y});
      bodies.push_back({.x = x, .y = y - step});
      bodies.push_back({.x = x - step * 0.7071, .y = y + step * 0.7071});
      if (gen.next() < 0.1) bodies.push_back({.x = x, .y = y});  // at the same point
      // Pairs just inside the radius, level or straight, wherever they fall on the
      // grid: a grid finer than the radius would part some of them by two cells.
      for (int k = 1; k <= 3; ++k) {
        const double px = x + 100 * k + 50 * gen.next();
        const double py = y + 100 * k + 50 * gen.next();
        const bool level = k % 2 == 1;
        bodies.push_back({.x = px, .y = py});
        bodies.push_back(
            {.x = level ? px + radius * 0.9999 : px, .y = level ? py : py + radius * 0.9999});
      }
      if (gen.next() < 0.1) bodies.push_back({.x = std::nan(""), .y = std::nan(""), .off = 1});
    }
    const auto w = testing::makeWorld(bodies);
    const int n = w->PlanetCount + 1;
    const Table<int> laneOf = scatteredLanes(n);
    const double bound = radius * radius;
    Table<uint64_t> blocks{};
    sim::findCloseBlocks(*w, n, laneOf, bound, blocks);
    EXPECT_GT(expectCloseInBlocks(*w, n, laneOf, bound, blocks), n);
    int marked = 0;
    for (int j = 0; j < n; ++j) marked += std::popcount(blocks[j]);
    EXPECT_LT(marked, 8 * n);  // about a block for each of a cluster's bodies, not all 57

    // Each body's partners from the grid, nearer than the bound and beyond a lesser
    // one, are those of a scan of the whole row, highest first.
    sim::CloseCells cells;
    sim::findCloseCells(*w, n, bound, cells);
    ASSERT_TRUE(cells.gridHolds);
    const double above = bound / 4;
    for (int i = 0; i < n; ++i) {
      std::vector<int> scanned;
      for (int j = n - 1; j >= 0; --j) {
        const double dx = w->PlanetX[j] - w->PlanetX[i];
        const double dy = w->PlanetY[j] - w->PlanetY[i];
        const double d2 = dx * dx + dy * dy;
        const bool live = w->PlanetOff[i] != 1 && w->PlanetOff[j] != 1;
        if (live && j != i && d2 <= bound && d2 > above) scanned.push_back(j);
      }
      std::vector<int> found;
      sim::closePartners(*w, cells, i, above, found);
      EXPECT_EQ(found, scanned) << "body " << i;
    }
  }
}

// Far from the origin the cells cannot number the plane finely enough: every block
// is marked, which costs time but no close pair.
TEST(SimCloseBlocks, PositionsBeyondTheGridMarkEveryBlock) {
  const auto w = testing::makeWorld({{.x = 0, .y = 0, .gravity = 50},
                                     {.x = 1e20, .y = 5},
                                     {.x = 1e20 + 3, .y = 5},
                                     {.x = 7, .y = 9}});
  const int n = w->PlanetCount + 1;
  const Table<int> laneOf = scatteredLanes(n);
  Table<uint64_t> blocks{};
  sim::findCloseBlocks(*w, n, laneOf, 36, blocks);
  for (int j = 0; j < n; ++j) EXPECT_EQ(blocks[j], ~uint64_t{0});
  expectCloseInBlocks(*w, n, laneOf, 36, blocks);
}

}  // namespace
}  // namespace velmora
