#include "pair_floor.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

#include "sim/lane_pool.h"
#include "sim/power.h"
#include "sim/pull.h"

namespace velmora {
namespace {

#define VELMORA_FLOOR_INLINE inline __attribute__((always_inline))
#if defined(__clang__)
#define VELMORA_IVDEP
#else
#define VELMORA_IVDEP _Pragma("GCC ivdep")
#endif

struct FloorColumn {
  double x, y, scaled;
};

// One pair, as the kernel's plain far pair computes it.
template <sim::Law kLaw>
VELMORA_FLOOR_INLINE void addPair(const FloorColumn& c, double e, double half, double x, double y,
                                  double& sx, double& sy) {
  const double dx = c.x - x;
  const double dy = c.y - y;
  const double d2 = dx * dx + dy * dy;
  const double r = __builtin_sqrt(d2);  // unused, so dropped, where the law needs no root
  const double q = sim::pullQuotient<kLaw, true>(c.scaled, d2, r, e, half);
  sx = sx + dx * q;
  sy = sy + dy * q;
}

// Lanes lo..hi-1 through every column, two columns at a time as the kernel sweeps.
template <sim::Law kLaw>
VELMORA_FLOOR_INLINE void sweepChunk(const FloorBodies& b, double e, double* __restrict sx,
                                     double* __restrict sy, int lo, int hi) {
  const double half = sim::halfExponent(e);
  const double* __restrict x = b.x.data();
  const double* __restrict y = b.y.data();
  int k = 0;
  for (; k + 1 < b.count; k += 2) {
    const FloorColumn c0{b.x[k], b.y[k], b.scaled[k]};
    const FloorColumn c1{b.x[k + 1], b.y[k + 1], b.scaled[k + 1]};
    VELMORA_IVDEP
    for (int i = lo; i < hi; ++i) {
      double ax = sx[i];
      double ay = sy[i];
      addPair<kLaw>(c0, e, half, x[i], y[i], ax, ay);
      addPair<kLaw>(c1, e, half, x[i], y[i], ax, ay);
      sx[i] = ax;
      sy[i] = ay;
    }
  }
  for (; k < b.count; ++k) {
    const FloorColumn c{b.x[k], b.y[k], b.scaled[k]};
    VELMORA_IVDEP
    for (int i = lo; i < hi; ++i) addPair<kLaw>(c, e, half, x[i], y[i], sx[i], sy[i]);
  }
}

// What (i, j) and (j, i) share: d2 r at exponent 2, the power of d2 at others.
template <sim::Law kLaw>
VELMORA_FLOOR_INLINE double sharedPart(double xj, double yj, double xi, double yi, double half) {
  const double dx = xj - xi;
  const double dy = yj - yi;
  const double d2 = dx * dx + dy * dy;
  if constexpr (kLaw == sim::Law::kSquare) return d2 * __builtin_sqrt(d2);
  return sim::powerInRange(d2, half);
}

// The quotient from the shared part, as pullQuotient forms it.
template <sim::Law kLaw>
VELMORA_FLOOR_INLINE double quotientOf(double scaled, double shared) {
  if constexpr (kLaw == sim::Law::kSquare) return scaled / shared;
  return scaled * shared;
}

constexpr int kTile = 128;

// The table's tile of columns from tileK and lanes from tileC, tileK <= tileC, and
// its mirror.
template <sim::Law kLaw>
VELMORA_FLOOR_INLINE void fillTile(const FloorBodies& b, double half, double* __restrict t,
                                   int tileK, int tileC) {
  const size_t n = b.count;
  const int k1 = std::min(b.count, tileK + kTile);
  const int c1 = std::min(b.count, tileC + kTile);
  for (int k = tileK; k < k1; ++k) {
    double* __restrict row = t + k * n;
    for (int i = tileC; i < c1; ++i) {
      row[i] = sharedPart<kLaw>(b.x[k], b.y[k], b.x[i], b.y[i], half);
    }
  }
  if (tileK == tileC) return;
  for (int i = tileC; i < c1; ++i) {
    for (int k = tileK; k < k1; ++k) t[i * n + k] = t[k * n + i];
  }
}

template <sim::Law kLaw>
VELMORA_FLOOR_INLINE void sweepSharedChunk(const FloorBodies& b, const double* __restrict t,
                                           double* __restrict sx, double* __restrict sy, int lo,
                                           int hi) {
  const double* __restrict x = b.x.data();
  const double* __restrict y = b.y.data();
  const size_t n = b.count;
  for (int k = 0; k < b.count; ++k) {
    const double xk = x[k];
    const double yk = y[k];
    const double sk = b.scaled[k];
    const double* __restrict row = t + k * n;
    VELMORA_IVDEP
    for (int i = lo; i < hi; ++i) {
      const double q = quotientOf<kLaw>(sk, row[i]);
      sx[i] = sx[i] + (xk - x[i]) * q;
      sy[i] = sy[i] + (yk - y[i]) * q;
    }
  }
}

// A checksum of the lanes' sums, which a caller consumes: its own pair leaves every
// lane NaN, and a sum of them would tell nothing.
uint64_t checksum(const Table<double>& sx, const Table<double>& sy, int count) {
  uint64_t sum = 0;
  for (int i = 0; i < count; ++i) {
    sum = sum * 31 + (std::bit_cast<uint64_t>(sx[i]) ^ std::bit_cast<uint64_t>(sy[i]));
  }
  return sum;
}

}  // namespace

void gatherFloorBodies(const World& w, FloorBodies& bodies) {
  bodies.count = 0;
  for (int j = w.PlanetCount; j >= 0; --j) {
    if (w.PlanetOff[j] == 1) continue;
    const int k = bodies.count++;
    bodies.x[k] = w.PlanetX[j];
    bodies.y[k] = w.PlanetY[j];
    bodies.scaled[k] = sim::kGravityScale * w.PlanetGravity[j];
  }
}

uint64_t sweepFloor(const FloorBodies& bodies, double exponent, sim::LaneWidth width,
                    Table<double>& sx, Table<double>& sy) {
  std::fill_n(sx.begin(), bodies.count, 0.0);
  std::fill_n(sy.begin(), bodies.count, 0.0);
  sim::LanePool& pool = sim::LanePool::shared();
  const int size = pool.chunkRows();
  const int chunks = (bodies.count + size - 1) / size;
  sim::withLaw(exponent, [&](auto law) {
    constexpr sim::Law kLaw = decltype(law)::value;
    pool.run(chunks, pool.worthSharing(bodies.count), [&](int c) {
      sim::inLanes(
          width, [&]() __attribute__((always_inline)) {
            sweepChunk<kLaw>(bodies, exponent, sx.data(), sy.data(), c * size,
                             std::min(bodies.count, (c + 1) * size));
          });
    });
  });
  return checksum(sx, sy, bodies.count);
}

uint64_t sweepSharedFloor(const FloorBodies& bodies, double exponent, sim::LaneWidth width,
                          std::vector<double>& table, Table<double>& sx, Table<double>& sy) {
  const int n = bodies.count;
  table.resize(static_cast<size_t>(n) * n);
  std::fill_n(sx.begin(), n, 0.0);
  std::fill_n(sy.begin(), n, 0.0);
  sim::LanePool& pool = sim::LanePool::shared();
  const int tiles = (n + kTile - 1) / kTile;
  std::vector<std::pair<int, int>> tilePairs;
  for (int k = 0; k < tiles; ++k) {
    for (int c = k; c < tiles; ++c) tilePairs.emplace_back(k * kTile, c * kTile);
  }
  const bool share = pool.worthSharing(n);
  const double half = sim::halfExponent(exponent);
  double* t = table.data();
  sim::withLaw(exponent, [&](auto law) {
    constexpr sim::Law kLaw = decltype(law)::value;
    pool.run(static_cast<int>(tilePairs.size()), share, [&](int p) {
      sim::inLanes(
          width, [&]() __attribute__((always_inline)) {
            fillTile<kLaw>(bodies, half, t, tilePairs[p].first, tilePairs[p].second);
          });
    });
    pool.run(tiles, share, [&](int c) {
      sim::inLanes(
          width, [&]() __attribute__((always_inline)) {
            sweepSharedChunk<kLaw>(bodies, t, sx.data(), sy.data(), c * kTile,
                                   std::min(n, (c + 1) * kTile));
          });
    });
  });
  return checksum(sx, sy, n);
}

}  // namespace velmora
