#include "sim/close_blocks.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora::sim {

namespace {

struct Cell {
  int64_t x, y;
  int body;
  bool operator<(const Cell& o) const { return x != o.x ? x < o.x : y < o.y; }
};

// Within 2^30 cells of the origin a cell number is off by less than 2^-23 of a cell,
// far inside the margin of the cell's side.
constexpr double kMostCells = 1073741824.0;

}  // namespace

void findCloseBlocks(const World& w, int n, const Table<int>& laneOf, double closeBound,
                     Table<uint64_t>& closeBlocks) {
  // A cell at least as wide as the close range (with a margin far above the
  // rounding of dx and dy), so close partners sit in the same or a neighbouring cell.
  const double side = std::max(1.0, std::sqrt(std::max(closeBound, 0.0)) * (1 + 1e-3));
  std::vector<Cell> cells;
  cells.reserve(static_cast<size_t>(n));
  bool gridHolds = true;
  for (int i = 0; i < n; ++i) {
    closeBlocks[i] = 0;
    if (w.PlanetOff[i] == 1) continue;
    const double cx = std::floor(w.PlanetX[i] / side);
    const double cy = std::floor(w.PlanetY[i] / side);
    if (!(std::fabs(cx) < kMostCells && std::fabs(cy) < kMostCells)) gridHolds = false;
    if (gridHolds) cells.push_back({static_cast<int64_t>(cx), static_cast<int64_t>(cy), i});
  }
  if (!gridHolds) {
    for (int i = 0; i < n; ++i) closeBlocks[i] = ~uint64_t{0};
    return;
  }
  std::sort(cells.begin(), cells.end());
  // Each cell once, with the blocks of the bodies in it.
  struct Occupied {
    int64_t x, y;
    uint64_t blocks;
  };
  std::vector<Occupied> occupied;
  for (const Cell& c : cells) {
    const uint64_t bit = uint64_t{1} << (laneOf[c.body] / kLanesABlock);
    if (occupied.empty() || occupied.back().x != c.x || occupied.back().y != c.y) {
      occupied.push_back({c.x, c.y, 0});
    }
    occupied.back().blocks |= bit;
  }
  // Sorted by x, then y: the three cells (x', y - 1 .. y + 1) are one run, and for
  // each x' = x - 1, x, x + 1 its start only moves on from one cell to the next.
  const auto before = [](const Occupied& o, int64_t x, int64_t y) {
    return o.x != x ? o.x < x : o.y < y;
  };
  size_t from[3] = {0, 0, 0};
  size_t body = 0;
  for (const Occupied& c : occupied) {
    uint64_t blocks = 0;
    for (int d = 0; d < 3; ++d) {
      const int64_t x = c.x + d - 1;
      size_t& k = from[d];
      while (k < occupied.size() && before(occupied[k], x, c.y - 1)) ++k;
      for (size_t m = k; m < occupied.size() && occupied[m].x == x && occupied[m].y <= c.y + 1;
           ++m) {
        blocks |= occupied[m].blocks;
      }
    }
    for (; body < cells.size() && cells[body].x == c.x && cells[body].y == c.y; ++body) {
      closeBlocks[cells[body].body] = blocks;
    }
  }
}

}  // namespace velmora::sim
