// The floor of the gravity pass: the bare arithmetic of its pairs, each with the
// kernel's own operations and rounding (dx, dy, d2, the law's quotient: at exponent
// 2 one root and one division, at others the power of d2; two products, two sums),
// and nothing else: no close pairs, carried forces, keys or level formulas.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/lane_width.h"
#include "world/world.h"

namespace velmora {

// The live bodies of a world as the floor's lanes and columns, highest first. A
// body's pair with itself is swept too, as the kernel sweeps it (and drops it).
struct FloorBodies {
  Table<double> x{}, y{}, scaled{};
  int count = 0;
};

void gatherFloorBodies(const World& w, FloorBodies& bodies);

// Every column's pulls summed on every lane once, in `width` (the narrower
// processor's own where it lacks the width), on the shared pool's threads in chunks
// of its rows. Returns a checksum of the sums, which the caller must consume.
uint64_t sweepFloor(const FloorBodies& bodies, double exponent, sim::LaneWidth width,
                    Table<double>& sx, Table<double>& sy);

// The same sums with each pair's root and its product d2 r (at exponent 2), or its
// power of d2 (at others), formed once for (i, j) and (j, i), which share d2 bit for
// bit, in a table swept first: what sharing them could save, its table's traffic
// counted. `table` grows to count^2 doubles.
uint64_t sweepSharedFloor(const FloorBodies& bodies, double exponent, sim::LaneWidth width,
                          std::vector<double>& table, Table<double>& sx, Table<double>& sy);

}  // namespace velmora
