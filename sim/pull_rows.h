// The gravity kernel: every body's pull sums for one tick, formed before the tick's
// literal pass in vector lanes and on several threads, with the very bits the literal
// pass would give. Positions are fixed during the pass and a pull depends on nothing
// else, so the sums can be formed before the pass draws any random number.
//
// Words (here, in pull_rows.cpp, lane_loops.h and their neighbours)
//   row      body i as the one pulled: its pairs (i, j), j from the highest live body
//            down (the literal order), summed pair by pair.
//   column   body j as the one pulling: its pull on every row, swept down the lanes.
//   lane     one row's slot in a sweep's tables; a vector register holds several
//            lanes, and a lane's sums never meet another's.
//   block    16 lanes (kLanesABlock): a column's masks hold a bit a block, 64 in all.
//   width    the vector width a sweep's loops run in (lane_width.h): baseline, AVX2
//            or AVX-512, the widest the processor runs unless VELMORA_LANES says.
//            Each width's copy of the loops (lane_loops.h) has a file of its own.
//   chunk    128 lanes (LanePool::chunkRows): what a thread takes through every column.
//   close    a pair within the planet radius (or on one point). It adds the force
//            carried from the pair before instead of its own pull, or, beyond the
//            bond range, kicks the two apart (random draws) and adds 0.
//   carried  that force: every pair leaves its own on, from row to row too (carried in).
//   far      a pair beyond the radius: its pull alone. A "far formula" serves the
//            blocks where a column has no close partner.
//   plain    a far pair that is not axial: fx = dx q, fy = dy q. A plain body has a
//            gravity the lanes can take.
//   axial    a pair exactly level (same Y) or straight (same X), for which the
//            literal pass has formulas of its own; also the sweep, lanes and runs made
//            for such pairs (axial_lanes.h). ("Edge" is a side of the field, border.h.)
//   key      a lane's `closest`: the least squared distance it met, or below every
//            distance a key for a pair that needs more (a kick; the literal checks).
//   mark     `redo`: the lanes' sums cannot stand for the row.
//   settle   sum a marked row pair by pair on any thread, when it draws nothing.
//
// Lanes, blocks and chunks, as a sweep cuts them:
//
//   lane   0      15 16     31        112    127 128            255 256 ...
//          [block 0 ][block 1 ] ... [block 7  ][block 8 .. 15    ][ ...
//          [------------- chunk 0 ------------][---- chunk 1 ----][ ...
//   columns j = top .. 0, two at a time, each down every lane of the chunk; within
//   the chunk a column takes, block by block (or run by run of axial lanes), the
//   cheapest formula its masks allow: far, close, axial.
//
// The pipeline (computePullRows; pull_rows.cpp has a section for each, in order, and
// lane_loops.h the loops that the sweeps, the shared powers and the settling run):
//   1. classify   caller  clears the rows; which bodies' gravity the lanes take;
//                         whether this tick's positions and powers are in range.
//   2. sweeps     pool    the forces carried in and the close grid (close_blocks.h),
//                         two tasks at once; at exponents other than 0, 1 and 2 each
//                         pair's power of d2, once for its two rows, the threads taking
//                         tiles of a table; then every column over the lanes, the
//                         threads taking chunks. The plain sweep leaves the rows with
//                         axial partners marked; or, when the last pass found many
//                         such rows, the axial sweep runs first, its lanes ordered so
//                         that those partners fill few runs (axial_lanes.h).
//   3. mark       caller  the rows the lanes' sums cannot stand for (redo), and the
//                         rows that may merge (near). Rows marked only for their axial
//                         pairs are swept again in lanes of their own (pool).
//   4. settle     pool    marked rows that draw nothing, pair by pair, 4 rows a task.
//   5. kicks      caller  each summed row's kicks, listed from the close grid (pool
//                         where the grid does not hold).
// The game's thread then walks the rows in the literal order (EngineStages): a row
// not marked takes its sums and the force it carries on from here and makes its
// listed kicks, with their draws, in order; a marked row is done pair by pair there.
//
// Why no bit changes: a row's sums are one chain of additions in the literal order
// of j, each pair's pull formed with the literal pass's own operations, rounding for
// rounding, in one lane, with no contraction and no reassociation (-ffp-contract=off,
// no fast math). Where a row is summed, in which vector width, on which thread and in
// which chunk therefore change nothing. A kick leaves a force of 0 whatever it
// draws, so a kicking row is summed too; its draws and momenta wait for the game's
// thread. A row that opens on a close pair adds the force carried in from the row
// before: it is known ahead where that row ends on a far pair (the sun's pull, nearly
// always), else the row is marked and redone on the game's thread. A pair the lanes
// cannot take (out of range, underflow, a gravity too large or small) keys its row
// for the literal checks, and a wrong guess of the close grid costs time, never bits.
// The golden hashes and the kernel's bit-for-bit tests check this on 1, 2, 3, 4 and 8
// threads (tests/replay).
#pragma once

#include <cstdint>
#include <vector>

#include "sim/lane_width.h"
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
  // Whether the axial sweep ran first.
  bool axialFirst = false;

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
// their axial pairs swept again, or the axial one, which takes those pairs at once
// and costs more per pair. Either order gives the same bits. kGuess follows the last
// pass: a crowd lined up on a wall stays lined up from one tick to the next.
enum class AxialSweep { kGuess, kSecond, kFirst };

// Fills `rows` for bodies 0..top (off bodies are neither pulled nor pulling).
void computePullRows(const World& world, int top, PullRows& rows,
                     AxialSweep order = AxialSweep::kGuess);

// Fills `out` for row i, partners 0..top, after computePullRows of this tick.
void pullsOfRow(const World& world, int i, int top, const PullRows& rows, RowPulls& out);

// a * b + c as this kernel's translation unit computes it: the product rounded
// before the sum. A test checks it against a product that a fused multiply-add
// would round differently, so a build that contracts the kernel fails.
double productThenSum(double a, double b, double c);

// The width the kernel's lane loops run in now: laneWidth(), or the baseline where
// this build holds no wider copies of them.
LaneWidth kernelLaneWidth();

}  // namespace velmora::sim
