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
  for (const Cell& c : cells) {
    uint64_t blocks = 0;
    // Sorted by x, then y: the three cells (x', y - 1 .. y + 1) are one run.
    for (int64_t x = c.x - 1; x <= c.x + 1; ++x) {
      auto k = std::lower_bound(cells.begin(), cells.end(), Cell{x, c.y - 1, 0});
      for (; k != cells.end() && k->x == x && k->y <= c.y + 1; ++k) {
        blocks |= uint64_t{1} << (laneOf[k->body] / kLanesABlock);
      }
    }
    closeBlocks[c.body] = blocks;
  }
}

}  // namespace velmora::sim
