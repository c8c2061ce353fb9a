// The gravity pass's pulls computed ahead, all rows at once: positions are fixed
// during the pass and pulls depend on nothing else, so each body's sums can be
// formed before the pass draws any random number.
//
// When a row skips the pair-by-pair pass: the game's thread takes a row's sums and
// carried force from here unless `redo` is set, and makes the row's kicks listed in
// `kicks` (their random draws and the momenta they change come in literal order,
// on that thread; a kick leaves a force of 0, whatever it draws, so the sums do not
// wait for it). `redo` is set for a row that adds the force carried in from the row
// before where it is not known ahead (the row before ends on a close pair), and for
// the few the lanes cannot take.
// Every other row was summed in the literal order of j, with the literal pass's own
// operations, rounding for rounding, in one of three ways:
// - the column sweep, when all its pairs are plain (distant and neither level nor
//   straight: dx q, dy q) or close (the force carried from its previous pair, or
//   none after a kick), with positions and powers inside the lanes' range;
// - a second sweep over the rows whose other pairs are distant and exactly level or
//   straight, taking the literal pass's formulas for those (the Wall border lines
//   bodies up on one X or Y); or, where the last passes found many such rows, one
//   sweep of every row taking those pairs at once;
// - else pair by pair (settling), plain pairs from the same lane arithmetic and the
//   others through pairPull, which is pairStep without the kick (a row that kicks
//   there stays marked).
// A sum is a chain of additions in a fixed order, so where it is formed, and on
// which thread, changes no bit; the draws, the kicks and the dots stay on the game's
// thread, in order.
#pragma once

#include <cstdint>
#include <vector>

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
  // Nonzero when row i must be redone pair by pair on the game's thread: its first
  // pair is close and the force carried from the row before was not known ahead, or
  // the lanes and the settling step could not take it.
  Table<double> redo{};
  // Where redo is 0: the partners j that row i kicks, highest first.
  Table<std::vector<int>> kicks{};
  // Nonzero when row i holds a pair that may merge (squared distance below the
  // square of its range): rows without one cannot merge at all.
  Table<double> near{};
  bool anyNear = false;
  // Rows that took literal checks and were summed by the settling step this tick.
  int settledRows = 0;
  // Whether the sweep that takes level and straight pairs ran first.
  bool edgesFirst = false;

  // What the kernel found about this tick, reused by pullsOfRow.
  bool inRange = false;       // positions and powers within the lane arithmetic's range
  double farBound = 0;        // squared distances above it are certainly not close, and >= 1
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

// Which of the two sweeps comes first: the plain one, with the rows it leaves for
// level and straight pairs swept again, or the one that takes those pairs at once
// and costs more per pair. Either order gives the same bits. kGuess follows the last
// pass: a crowd lined up on a wall stays lined up from one tick to the next.
enum class EdgeSweep { kGuess, kSecond, kFirst };

// Fills `rows` for bodies 0..top (off bodies are neither pulled nor pulling).
void computePullRows(const World& world, int top, PullRows& rows,
                     EdgeSweep order = EdgeSweep::kGuess);

// Fills `out` for row i, partners 0..top, after computePullRows of this tick.
void pullsOfRow(const World& world, int i, int top, const PullRows& rows, RowPulls& out);

// a * b + c as this kernel's translation unit computes it: the product rounded
// before the sum. A test checks it against a product that a fused multiply-add
// would round differently, so a build that contracts the kernel fails.
double productThenSum(double a, double b, double c);

}  // namespace velmora::sim
