#include "sim/close_blocks.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
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

void findCloseCells(const World& w, int n, double closeBound, CloseCells& out) {
  out = CloseCells{};
  out.gridHolds = true;
  out.bound = closeBound;
  out.cellOf.assign(static_cast<size_t>(n), -1);
  // A cell at least as wide as the close range (with a margin far above the
  // rounding of dx and dy), so close partners sit in the same or a neighbouring cell.
  const double side = std::max(1.0, std::sqrt(std::max(closeBound, 0.0)) * (1 + 1e-3));
  std::vector<Cell> cells;
  cells.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    if (w.PlanetOff[i] == 1) continue;
    const double cx = std::floor(w.PlanetX[i] / side);
    const double cy = std::floor(w.PlanetY[i] / side);
    if (!(std::fabs(cx) < kMostCells && std::fabs(cy) < kMostCells)) {
      out.gridHolds = false;
      return;
    }
    cells.push_back({static_cast<int64_t>(cx), static_cast<int64_t>(cy), i});
  }
  std::sort(cells.begin(), cells.end());
  // Each occupied cell once.
  struct Occupied {
    int64_t x, y;
  };
  std::vector<Occupied> occupied;
  for (size_t k = 0; k < cells.size(); ++k) {
    const Cell& c = cells[k];
    if (occupied.empty() || occupied.back().x != c.x || occupied.back().y != c.y) {
      occupied.push_back({c.x, c.y});
      out.cellStart.push_back(static_cast<int>(k));
    }
    out.cellOf[c.body] = static_cast<int>(occupied.size()) - 1;
    out.bodies.push_back(c.body);
  }
  out.cellStart.push_back(static_cast<int>(cells.size()));
  // Sorted by x, then y: the three cells (x', y - 1 .. y + 1) are one run, and for
  // each x' = x - 1, x, x + 1 its start only moves on from one cell to the next.
  const auto before = [](const Occupied& o, int64_t x, int64_t y) {
    return o.x != x ? o.x < x : o.y < y;
  };
  size_t from[3] = {0, 0, 0};
  for (const Occupied& c : occupied) {
    out.aroundStart.push_back(static_cast<int>(out.around.size()));
    for (int d = 0; d < 3; ++d) {
      const int64_t x = c.x + d - 1;
      size_t& k = from[d];
      while (k < occupied.size() && before(occupied[k], x, c.y - 1)) ++k;
      for (size_t m = k; m < occupied.size() && occupied[m].x == x && occupied[m].y <= c.y + 1;
           ++m) {
        out.around.push_back(static_cast<int>(m));
      }
    }
  }
  out.aroundStart.push_back(static_cast<int>(out.around.size()));
}

void closeBlocksOf(const CloseCells& cells, int n, const Table<int>& laneOf,
                   Table<uint64_t>& closeBlocks) {
  const uint64_t none = cells.gridHolds ? 0 : ~uint64_t{0};
  for (int i = 0; i < n; ++i) closeBlocks[i] = none;
  if (!cells.gridHolds) return;
  const size_t count = cells.aroundStart.empty() ? 0 : cells.aroundStart.size() - 1;
  // The blocks of each cell's own bodies, then of those around it.
  std::vector<uint64_t> own(count, 0);
  for (size_t k = 0; k < count; ++k) {
    for (int b = cells.cellStart[k]; b < cells.cellStart[k + 1]; ++b) {
      own[k] |= uint64_t{1} << (laneOf[cells.bodies[b]] / kLanesABlock);
    }
  }
  for (size_t k = 0; k < count; ++k) {
    uint64_t blocks = 0;
    for (int a = cells.aroundStart[k]; a < cells.aroundStart[k + 1]; ++a) {
      blocks |= own[cells.around[a]];
    }
    for (int b = cells.cellStart[k]; b < cells.cellStart[k + 1]; ++b) {
      closeBlocks[cells.bodies[b]] = blocks;
    }
  }
}

void closePartners(const World& w, const CloseCells& cells, int i, double above,
                   std::vector<int>& out) {
  const int cell = cells.cellOf[i];
  if (cell < 0) return;
  const double xi = w.PlanetX[i];
  const double yi = w.PlanetY[i];
  const size_t first = out.size();
  for (int a = cells.aroundStart[cell]; a < cells.aroundStart[cell + 1]; ++a) {
    const int near = cells.around[a];
    for (int b = cells.cellStart[near]; b < cells.cellStart[near + 1]; ++b) {
      const int j = cells.bodies[b];
      const double dx = w.PlanetX[j] - xi;
      const double dy = w.PlanetY[j] - yi;
      const double d2 = dx * dx + dy * dy;
      if (j != i && d2 <= cells.bound && d2 > above) out.push_back(j);
    }
  }
  std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(), std::greater<>());
}

void findCloseBlocks(const World& w, int n, const Table<int>& laneOf, double closeBound,
                     Table<uint64_t>& closeBlocks) {
  CloseCells cells;
  findCloseCells(w, n, closeBound, cells);
  closeBlocksOf(cells, n, laneOf, closeBlocks);
}

}  // namespace velmora::sim
