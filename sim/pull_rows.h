// The gravity pass's pulls computed ahead, all rows at once: positions are fixed
// during the pass and pulls depend on nothing else, so each body's sum over its
// distant partners can be formed before the pass draws any random number.
#pragma once

#include <cstdint>

#include "world/world.h"

namespace velmora::sim {

struct PullRows {
  // Body i's pull sums in the literal order of j (highest index first).
  Table<double> sumX{};
  Table<double> sumY{};
  // The force row i leaves carried on: its last pair's, after the sign correction.
  // NaN when the row has no pair.
  Table<double> carryX{};
  Table<double> carryY{};
  // Nonzero when row i holds a pair the sums cannot stand for: a kick, a close pair
  // first in its row (adding the force carried from the row before), an exactly
  // level or straight distant pair, or values near the ends of the range. Such rows
  // are redone pair by pair in literal order.
  Table<double> redo{};
  // Nonzero when row i holds a pair that may merge (squared distance below the
  // square of its range): rows without one cannot merge at all.
  Table<double> near{};
  bool anyNear = false;

  // What the kernel found about this tick, reused by pullsOfRow.
  bool inRange = false;       // positions and powers within the lane arithmetic's range
  double closeLimit = 0;      // squared distances above it are certainly not close
  Table<double> scaled{};     // 10000 G per body; 0 where the lanes cannot take it
  Table<double> plainBody{};  // nonzero where they can
};

// The pulls of every body j on body i, each as the lanes compute it, and whether
// the literal pass would compute just that (plain[j] nonzero) for the pair.
struct RowPulls {
  Table<double> fx{};
  Table<double> fy{};
  Table<double> plain{};
};

// Fills `rows` for bodies 0..top (off bodies are neither pulled nor pulling).
void computePullRows(const World& world, int top, PullRows& rows);

// Fills `out` for row i, partners 0..top, after computePullRows of this tick.
void pullsOfRow(const World& world, int i, int top, const PullRows& rows, RowPulls& out);

// a * b + c as this kernel's translation unit computes it: the product rounded
// before the sum. A test checks it against a product that a fused multiply-add
// would round differently, so a build that contracts the kernel fails.
double productThenSum(double a, double b, double c);

}  // namespace velmora::sim
