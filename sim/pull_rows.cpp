// The gravity kernel, in the order of its pipeline (pull_rows.h has the map and the
// words): the entry point, then a section for each stage it runs.
#include "sim/pull_rows.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "sim/axial_lanes.h"
#include "sim/close_blocks.h"
#include "sim/gravity.h"
#include "sim/lane_loops.h"
#include "sim/lane_pool.h"
#include "sim/lane_width.h"
#include "sim/power.h"
#include "sim/pull.h"

namespace velmora::sim {
namespace {

// The lane loops' own words (lane_loops.h).
using lane_loops::axialAwarePull;
using lane_loops::AxialAwarePull;
using lane_loops::Column;
using lane_loops::kKickKey;
using lane_loops::kLiteralKey;
using lane_loops::kNoLane;
using lane_loops::kPowerTile;
using lane_loops::lanePull;
using lane_loops::LanePull;
using lane_loops::Lanes;
using lane_loops::loopsOf;

// ===== The stages, in the order the entry point runs them =====

// The bodies that pull (not off), highest first, and how far out they lie.
struct Gathered {
  std::vector<int> columns;
  double extent = 0;  // the largest |X| or |Y| among them
};

// The force each row takes carried in from the live row above; NaN where it is not
// known before the sweep.
struct CarriedIn {
  Table<double> fx, fy;
};

// 1. Classify
Gathered gather(const World& w, int top);
void classify(const World& w, int n, double extent, PullRows& rows);
bool axialFormulasHold(const World& w, const std::vector<int>& columns, const PullRows& rows);
// 2. Sweeps
bool guessAxialFirst();
void noteAxialRows(int axialRows, int live);
int axialSweep(const World& w, int n, const std::vector<int>& columns, CarriedIn& in,
               CloseCells& cells, Table<double>& closest, PullRows& rows);
void plainSweep(const World& w, int n, const std::vector<int>& columns, bool axial, CarriedIn& in,
                CloseCells& cells, Table<double>& closest, PullRows& rows);
// 3. Mark, and sweep again
void mark(const World& w, int n, const std::vector<int>& columns, const Table<double>& closest,
          PullRows& rows);
int sweepAxial(const World& w, int n, const std::vector<int>& columns, const CarriedIn& in,
               Table<double>& closest, PullRows& rows);
// 4. Settle
void settle(const World& w, int n, const std::vector<int>& columns, const Table<double>& closest,
            PullRows& rows);
// 5. Kicks
void listKicks(const World& w, int n, int live, const Table<double>& closest,
               const CloseCells& cells, PullRows& rows);

}  // namespace

// ===== Entry point =====

void computePullRows(const World& w, int top, PullRows& rows, AxialSweep order) {
  rows.anyNear = false;
  rows.settledRows = 0;
  rows.axialFirst = false;
  if (top < 0) return;
  const int n = top + 1;
  // 1. Classify.
  const Gathered pulling = gather(w, top);
  const int live = static_cast<int>(pulling.columns.size());
  classify(w, n, pulling.extent, rows);
  Table<double> closest;
  closest.fill(1e300);
  const bool axial = axialFormulasHold(w, pulling.columns, rows);
  // 2. Sweep. The axial formulas hold only in range: either sweep fills `in`, as
  // sweepAxial needs.
  const bool guessed = order == AxialSweep::kGuess && guessAxialFirst();
  rows.axialFirst = axial && (order == AxialSweep::kFirst || guessed);
  CarriedIn in;
  CloseCells cells;
  if (rows.axialFirst) {
    const int axialRows = axialSweep(w, n, pulling.columns, in, cells, closest, rows);
    if (order == AxialSweep::kGuess) noteAxialRows(axialRows, live);
  } else if (rows.inRange) {
    plainSweep(w, n, pulling.columns, axial, in, cells, closest, rows);
  }
  // 3. Mark, and sweep again the rows the plain sweep left for their axial pairs.
  mark(w, n, pulling.columns, closest, rows);
  if (axial && !rows.axialFirst) {
    const int axialRows = sweepAxial(w, n, pulling.columns, in, closest, rows);
    if (order == AxialSweep::kGuess) noteAxialRows(axialRows, live);
  }
  // 4. Settle.
  settle(w, n, pulling.columns, closest, rows);
  // 5. Kicks.
  listKicks(w, n, live, closest, cells, rows);
}

double productThenSum(double a, double b, double c) {
  return a * b + c;
}

LaneWidth kernelLaneWidth() {
  return VELMORA_LANE_COPIES ? laneWidth() : LaneWidth::kBaseline;
}

namespace {

// ===== 1. Classify: what the lanes can take this tick =====

// Within these ranges the lane arithmetic stays normal and finite: no overflow of
// power * r, no underflow of the quotient. |position| <= 1e49 keeps r <= 3e49.
constexpr double kMaxPosition = 1e49;
constexpr double kMinPower = 1e-80;
constexpr double kMaxPower = 1e80;
constexpr double kMinGravity = 1e-50;
constexpr double kMaxGravity = 1e200;

// The largest squared distance whose root is at most `range` (0 for a negative one):
// sqrt is monotonic, so d2 <= it exactly when sqrt(d2) <= range.
double rootLimit(double range) {
  if (!(range > 0)) return 0;
  double t = range * range;
  while (std::sqrt(t) > range) t = std::nextafter(t, 0.0);
  while (std::sqrt(std::nextafter(t, 1.0 / 0.0)) <= range) t = std::nextafter(t, 1.0 / 0.0);
  return t;
}

Gathered gather(const World& w, int top) {
  Gathered g;
  for (int j = top; j >= 0; --j) {
    if (w.PlanetOff[j] == 1) continue;
    g.columns.push_back(j);
    g.extent = std::max({g.extent, std::fabs(w.PlanetX[j]), std::fabs(w.PlanetY[j])});
  }
  return g;
}

// Clears the rows and sorts the bodies: those whose gravity the lanes can take, and
// whether the lane arithmetic holds for this tick's positions and exponent at all.
void classify(const World& w, int n, double extent, PullRows& rows) {
  for (int i = 0; i < n; ++i) {
    rows.sumX[i] = rows.sumY[i] = rows.redo[i] = rows.near[i] = 0;
    rows.kicks[i].clear();
    const double scaled = kGravityScale * w.PlanetGravity[i];
    const double size = std::fabs(scaled);
    const bool plain = scaled == 0 || (size >= kMinGravity && size <= kMaxGravity);
    rows.plainBody[i] = plain ? 1.0 : 0.0;
    rows.scaled[i] = plain ? scaled : 0.0;
  }
  const double e = w.GravityExponent;
  const double farthest = 3 * extent;
  const double p1 = otherPower(1, e);
  const double p2 = otherPower(farthest < 1 ? 1 : farthest, e);
  // d2^-(x+1)/2 directly: 1 at d2 = 1, and its other end within 1 / (kMaxPower * r).
  const double far2 = farthest < 1 ? 1 : farthest * farthest;
  const double f2 = powerOf(far2, halfExponent(e));
  const bool quotientInRange = lawOf(e) != Law::kOther || (f2 >= 1e-130 && f2 <= kMaxPower);
  rows.inRange = extent <= kMaxPosition && quotientInRange &&
                 (e == 2 || (std::min(p1, p2) >= kMinPower && std::max(p1, p2) <= kMaxPower));
  // sqrt(d2) <= R needs d2 <= R^2 (1 + 2^-52): the margin makes the test safe.
  const double radius = w.PlanetRadius;
  rows.farBound = std::max(1.0, radius >= 0 ? radius * radius * (1 + 1e-12) : 0.0);
}

// Whether the literal pass's formulas for level and straight pairs hold in the lanes
// this tick: positions and powers within range, no distant pair nearer than 1, and
// every pulling body's gravity one the lanes take.
bool axialFormulasHold(const World& w, const std::vector<int>& columns, const PullRows& rows) {
  if (!rows.inRange || rootLimit(w.PlanetRadius) < 1) return false;
  for (const int j : columns) {
    if (rows.plainBody[j] == 0) return false;
  }
  return true;
}

// ===== 2. Sweeps: every row's sums in lanes =====
//
// What a chunk of lanes does with each column, and the vector widths it runs in,
// are the lane loops' (lane_loops.h); here are the sweeps that feed them.
//
// --- 2.1 The columns of a sweep, and its chunks on the threads ---

// The lanes from the first of p's runs to the end of the last; empty without any.
LaneRange knownLanes(const AxialPartners& p) {
  LaneRange hull{kMaxBodies, 0};
  const auto take = [&hull](LaneRange run) {
    if (run.from != run.to) hull = {std::min(hull.from, run.from), std::max(hull.to, run.to)};
  };
  take(p.straight);
  for (const LaneRange run : p.level) take(run);
  return hull.from < hull.to ? hull : LaneRange{};
}

// The columns of a sweep, in its order. selfLane(j) is the lane of body j, which its
// own column skips, or kNoLane; with kAxial, axialPartners(j) where its level and
// straight partners lie (the other lanes give the same bits through the plain
// formulas); closeBlocks(j) the blocks that may hold its close partners (the others
// take the plain pull alone).
template <bool kAxial, class SelfLane, class AxialPartnersOf, class CloseBlocks>
std::vector<Column> columnsOf(const World& w, const std::vector<int>& bodies, const PullRows& rows,
                              const SelfLane& selfLane, const AxialPartnersOf& axialPartners,
                              const CloseBlocks& closeBlocks) {
  const double bondBound = rootLimit(w.BondRange);
  const double closeBound = rootLimit(w.PlanetRadius);
  // Filled field by field in place: built whole on the stack and copied, a column
  // had cost several times as much, its copy waiting on the stores it reads.
  std::vector<Column> columns(bodies.size());
  for (size_t k = 0; k < bodies.size(); ++k) {
    const int j = bodies[k];
    Column& c = columns[k];
    c.x = w.PlanetX[j];
    c.y = w.PlanetY[j];
    c.scaled = rows.scaled[j];
    c.closeBound = closeBound;
    c.bondBound = j == 0 ? 1.0 / 0.0 : bondBound;
    c.closeBlocks = closeBlocks(j);
    c.lane = selfLane(j);
    if constexpr (kAxial) {
      const AxialPartners& partners = axialPartners(j);
      c.axialBlocks = partners.blocks;
      c.straight = partners.straight;
      c.level = partners.level;
      c.known = knownLanes(partners);
    }
  }
  return columns;
}

// Lanes are swept in chunks: a chunk's lanes stay in the first-level cache through
// every column, and the threads take chunks as they come free, so one woken late
// still finds work. Any split gives the same bits: a lane's sums never leave it.
// With `powers` (the plain sweep, Law::kOther: sharedPowers), column k takes its
// plain pairs' powers from row k of that table.
template <bool kAxial, class SelfLane, class AxialPartnersOf, class CloseBlocks>
void allColumnsInBlocks(const World& w, int lanes, const std::vector<int>& columns, const Lanes& l,
                        const PullRows& rows, const SelfLane& selfLane,
                        const AxialPartnersOf& axialPartners, const CloseBlocks& closeBlocks,
                        const std::vector<LaneRange>& onePoint, bool share,
                        const double* powers = nullptr) {
  std::vector<Column> sweep =
      columnsOf<kAxial>(w, columns, rows, selfLane, axialPartners, closeBlocks);
  const int count = static_cast<int>(sweep.size());
  if (powers != nullptr) {
    for (int k = 0; k < count; ++k) sweep[k].powers = powers + static_cast<size_t>(k) * lanes;
  }
  LanePool& pool = LanePool::forThisThread();
  const int size = pool.chunkRows();
  const int chunks = (lanes + size - 1) / size;
  const lane_loops::SweepKind kind = kAxial              ? lane_loops::SweepKind::kAxial
                                     : powers != nullptr ? lane_loops::SweepKind::kSharedPowers
                                                         : lane_loops::SweepKind::kPlain;
  const lane_loops::LaneLoops& loops = loopsOf(kernelLaneWidth());
  pool.run(chunks, share, [&](int c) {
    const int lo = c * size;
    const int hi = std::min(lanes, lo + size);
    const lane_loops::OnePointRuns points{onePoint.data(), onePoint.data() + onePoint.size()};
    loops.sweep(kind, {sweep.data(), count, w.GravityExponent, l, lo, hi, points});
  });
}

// --- 2.2 The powers a pair's two rows share ---

// At exponents other than 0, 1 and 2 a plain pair's power of d2 costs most of its
// pull, and (i, j) and (j, i) have the same d2, bit for bit. So the plain sweep
// forms each pair's power once, in a table of the lanes (row k: lane k's column,
// by lane), tile by tile with its mirror, the threads taking tiles; the lanes then
// read it. From two chunks of lanes on (below, the table saves too little).
constexpr int kSharedPowersFrom = 2 * kPowerTile;

// Fills `table` (lanes^2) with every pair's pairPower, for the plain sweep.
void sharedPowers(const Lanes& l, int lanes, double exponent, bool share,
                  std::vector<double>& table) {
  table.resize(static_cast<size_t>(lanes) * lanes);
  const int tiles = (lanes + kPowerTile - 1) / kPowerTile;
  std::vector<std::pair<int, int>> tilePairs;
  for (int k = 0; k < tiles; ++k) {
    for (int i = k; i < tiles; ++i) tilePairs.emplace_back(k * kPowerTile, i * kPowerTile);
  }
  const double half = halfExponent(exponent);
  double* out = table.data();
  const lane_loops::LaneLoops& loops = loopsOf(kernelLaneWidth());
  LanePool::forThisThread().run(static_cast<int>(tilePairs.size()), share, [&](int p) {
    loops.powers({l, lanes, half, out, tilePairs[p].first, tilePairs[p].second});
  });
}

// --- 2.3 The forces carried in from the row above ---

// Row i's last partner when the force the row leaves carried on is known before
// any sweep: that pair's own, a distant one with a pulling body the lanes take,
// neither level nor straight (or either, where `axial`: the literal formulas hold
// in the lanes). Else -1.
int lastKnownPartner(const World& w, int i, const std::vector<int>& columns, bool axial,
                     const PullRows& rows) {
  if (!rows.inRange || columns.empty()) return -1;
  const int j = columns.back() != i ? columns.back() : columns.size() > 1 ? columns.end()[-2] : i;
  const double dx = w.PlanetX[j] - w.PlanetX[i];
  const double dy = w.PlanetY[j] - w.PlanetY[i];
  const double d2 = dx * dx + dy * dy;
  const bool taken = dx * dy != 0 || (axial && (dx == 0 || dy == 0));
  return j != i && rows.plainBody[j] != 0 && taken && d2 > rows.farBound ? j : -1;
}

// The force each row takes carried in from the live row above, where it is known
// before any sweep: 0 into the top row, else the force of the last pair of the row
// above when lastKnownPartner finds it (the sun's pull, nearly always), else NaN.
// A row whose first pair is close then sums in its own lane like any other.
template <Law kLaw>
void carriedInAhead(const World& w, int n, const std::vector<int>& columns, bool axial,
                    const PullRows& rows, Table<double>& inX, Table<double>& inY) {
  const double e = w.GravityExponent;
  CarriedForce before{0, 0};
  for (int i = n - 1; i >= 0; --i) {
    inX[i] = before.fx;
    inY[i] = before.fy;
    if (w.PlanetOff[i] == 1) continue;
    const int j = lastKnownPartner(w, i, columns, axial, rows);
    before = {std::nan(""), std::nan("")};
    if (j < 0) continue;
    const double xj = w.PlanetX[j];
    const double yj = w.PlanetY[j];
    const double xi = w.PlanetX[i];
    const double yi = w.PlanetY[i];
    if (axial) {
      const AxialAwarePull p = axialAwarePull<kLaw>(xj, yj, xi, yi, rows.scaled[j], e);
      before = {p.fx, p.fy};
    } else {
      const LanePull p = lanePull<kLaw>(xj, yj, xi, yi, rows.scaled[j], e);
      before = {p.fx, p.fy};
    }
  }
}

void carriedInAhead(const World& w, int n, const std::vector<int>& columns, bool axial,
                    const PullRows& rows, CarriedIn& in) {
  withLaw(w.GravityExponent, [&](auto law) {
    carriedInAhead<decltype(law)::value>(w, n, columns, axial, rows, in.fx, in.fy);
  });
}

// --- 2.4 The two sweeps, and which goes first ---

// A sweep's own tables, lane k for body bodyAt[k] (only bodies that are not off
// have lanes, so a table of few live bodies sweeps few lanes).
struct LaneTables {
  Table<double> px, py, sx, sy, least, carryX, carryY;

  // Lanes 0..count-1 from their bodies' positions, each from the force its row takes
  // carried in (NaN where that is not known yet: a row whose first pair is close
  // then comes out NaN).
  void gather(const World& w, const int* bodyAt, int count, const CarriedIn& in) {
    for (int k = 0; k < count; ++k) {
      const int i = bodyAt[k];
      px[k] = w.PlanetX[i];
      py[k] = w.PlanetY[i];
      sx[k] = 0;
      sy[k] = 0;
      least[k] = 1e300;
      carryX[k] = in.fx[i];
      carryY[k] = in.fy[i];
    }
  }

  Lanes lanes() {
    return {px.data(), py.data(), sx.data(), sy.data(), least.data(), carryX.data(), carryY.data()};
  }

  // Lane k's sums, the force it carries on and its key, as row i's.
  void keep(int k, int i, Table<double>& closest, PullRows& rows) const {
    rows.sumX[i] = sx[k];
    rows.sumY[i] = sy[k];
    rows.carryX[i] = carryX[k];
    rows.carryY[i] = carryY[k];
    closest[i] = least[k];
  }
};

// Every row in its own lane; `in` is filled with the forces carried in known ahead
// (through the axial formulas where `axial`).
void plainSweep(const World& w, int n, const std::vector<int>& columns, bool axial, CarriedIn& in,
                CloseCells& cells, Table<double>& closest, PullRows& rows) {
  const int count = static_cast<int>(columns.size());
  const bool share = LanePool::forThisThread().worthSharing(count);
  // Apart, on two threads where the pass is shared.
  LanePool::forThisThread().run(2, share, [&](int task) {
    if (task == 1) return findCloseCells(w, n, rootLimit(w.PlanetRadius), cells);
    carriedInAhead(w, n, columns, axial, rows, in);
  });
  // The lanes in the columns' order.
  Table<int> laneOf;
  for (int k = 0; k < count; ++k) laneOf[columns[k]] = k;
  Table<uint64_t> close;
  closeBlocksOf(cells, n, laneOf, close);
  LaneTables t;
  t.gather(w, columns.data(), count, in);
  // Kept from pass to pass on each thread that runs passes: 8 MB at 1000 lanes.
  static thread_local std::vector<double> powers;
  const bool sharePowers = lawOf(w.GravityExponent) == Law::kOther && count >= kSharedPowersFrom;
  if (sharePowers) sharedPowers(t.lanes(), count, w.GravityExponent, share, powers);
  allColumnsInBlocks<false>(
      w, count, columns, t.lanes(), rows, [&](int j) { return laneOf[j]; },
      [](int) { return AxialPartners{}; }, [&](int j) { return close[j]; }, {}, share,
      sharePowers ? powers.data() : nullptr);
  for (int k = 0; k < count; ++k) t.keep(k, columns[k], closest, rows);
}

// Every row in its own lane, level and straight pairs too: the lanes ordered so that
// those pairs fill few runs and blocks, which alone take the axial formulas. `in` and
// `cells` are filled as by plainSweep. Returns how many rows have such partners.
int axialSweep(const World& w, int n, const std::vector<int>& columns, CarriedIn& in,
               CloseCells& cells, Table<double>& closest, PullRows& rows) {
  AxialLanes order;
  const bool share = LanePool::forThisThread().worthSharing(static_cast<int>(columns.size()));
  // The lanes' order, and the close range's grid with the forces carried in, are
  // found apart, on two threads where the pass is shared.
  LanePool::forThisThread().run(2, share, [&](int task) {
    if (task == 1) {
      findCloseCells(w, n, rootLimit(w.PlanetRadius), cells);
      return carriedInAhead(w, n, columns, true, rows, in);
    }
    orderAxialLanes(w, n, order);
  });
  LaneTables t;
  t.gather(w, order.bodyAt.data(), order.count, in);
  Table<uint64_t> close;
  closeBlocksOf(cells, n, order.laneOf, close);
  allColumnsInBlocks<true>(
      w, order.count, columns, t.lanes(), rows, [&](int j) { return order.laneOf[j]; },
      [&](int j) -> const AxialPartners& { return order.partners[j]; },
      [&](int j) { return close[j]; }, order.onePoint, share);
  for (int k = 0; k < order.count; ++k) t.keep(k, order.bodyAt[k], closest, rows);
  return order.sharing;
}

// The last pass, a guess at this one. Either sweep counts the rows with level or
// straight partners (the plain one: those it leaves for the second sweep). Where
// more than a sixteenth of the rows have them, the next pass takes them in the first
// sweep: at a tenth it already costs less than the plain sweep and the second one
// (the crowd benchmark at 1 s of play). Atomic only because tests may run worlds on
// several threads: it decides no bit.
std::atomic<bool> axialFirstGuess{false};

bool guessAxialFirst() {
  return axialFirstGuess.load(std::memory_order_relaxed);
}

void noteAxialRows(int axialRows, int live) {
  axialFirstGuess.store(16 * axialRows > live, std::memory_order_relaxed);
}

// ===== 3. Mark: the rows the lanes' sums cannot stand for =====

// Whether a lane's sums stand for its row, given its key: the literal checks take
// what the lanes could not, and the sun's close pairs only carry.
bool laneTakes(int i, double key) {
  return key != kLiteralKey && (key != kKickKey || i != 0);
}

// Which rows the lanes' sums cannot stand for, and which rows may merge.
void mark(const World& w, int n, const std::vector<int>& columns, const Table<double>& closest,
          PullRows& rows) {
  const double bond = static_cast<double>(w.BondRange) * w.BondRange;
  const double sun = static_cast<double>(w.SunRadius) * w.SunRadius;
  // Below a radius of 1, distant pairs nearer than 1 are outside the lanes' range.
  const bool smallRadius = rootLimit(w.PlanetRadius) < 1;
  const bool inRange = rows.inRange;
  // A pulling body whose gravity the lanes cannot take sends every other row to the
  // literal checks.
  int unusual = 0;
  int unusualBody = -1;
  for (const int j : columns) {
    if (rows.plainBody[j] == 0) {
      ++unusual;
      unusualBody = j;
    }
  }
  for (int i = 0; i < n; ++i) {
    if (w.PlanetOff[i] == 1) continue;
    const bool tooNear = closest[i] < 1 && smallRadius;
    const bool pulledUnusually = unusual > 1 || (unusual == 1 && unusualBody != i);
    const bool nan = std::isnan(rows.sumX[i]) || std::isnan(rows.sumY[i]);
    if (!inRange || !laneTakes(i, closest[i]) || tooNear || nan || pulledUnusually) {
      rows.redo[i] = 1;
    }
    const double sx = w.PlanetX[0] - w.PlanetX[i];
    const double sy = w.PlanetY[0] - w.PlanetY[i];
    const bool nearSun = i != 0 && w.PlanetOff[0] != 1 && sx * sx + sy * sy < sun;
    if (!inRange || closest[i] < (i == 0 ? sun : bond) || nearSun) rows.near[i] = 1;
    rows.anyNear = rows.anyNear || rows.near[i] != 0;
  }
}

// Rows swept again in lanes of their own, each from the force it takes carried in
// (in `in`: NaN where it takes none), with the axial formulas and the close ones throughout; a
// row whose lane's sums stand for it is taken, its key updated. Returns how many it
// swept.
int sweepAgain(const World& w, int n, const std::vector<int>& columns,
               const std::vector<int>& bodies, const CarriedIn& in, Table<double>& closest,
               PullRows& rows) {
  const int lanes = static_cast<int>(bodies.size());
  if (lanes == 0) return 0;
  Table<int> laneOf;
  for (int i = 0; i < n; ++i) laneOf[i] = kNoLane;
  for (int k = 0; k < lanes; ++k) laneOf[bodies[k]] = k;
  LaneTables t;
  t.gather(w, bodies.data(), lanes, in);
  const auto selfLane = [&](int j) { return laneOf[j]; };
  const bool share = LanePool::forThisThread().worthSharing(static_cast<int>(columns.size()));
  const auto anywhere = [](int) {
    AxialPartners partners;
    partners.blocks = ~uint64_t{0};
    return partners;
  };
  const auto every = [](int) { return ~uint64_t{0}; };
  allColumnsInBlocks<true>(w, lanes, columns, t.lanes(), rows, selfLane, anywhere, every, {},
                           share);
  const bool smallRadius = rootLimit(w.PlanetRadius) < 1;
  for (int k = 0; k < lanes; ++k) {
    const int i = bodies[k];
    const bool tooNear = t.least[k] < 1 && smallRadius;
    if (!laneTakes(i, t.least[k]) || tooNear || std::isnan(t.sx[k]) || std::isnan(t.sy[k])) {
      continue;
    }
    t.keep(k, i, closest, rows);
    rows.redo[i] = 0;
    ++rows.settledRows;
  }
  return lanes;
}

// The rows whose only trouble is a distant pair exactly level or straight, swept
// again with the literal formulas for those pairs. A row where a product dx dy
// underflows keeps its mark. Returns how many rows it swept.
int sweepAxial(const World& w, int n, const std::vector<int>& columns, const CarriedIn& in,
               Table<double>& closest, PullRows& rows) {
  std::vector<int> bodies;
  for (int i = 0; i < n; ++i) {
    const bool axialOnly = rows.redo[i] != 0 && closest[i] == kLiteralKey &&
                           !std::isnan(rows.sumX[i]) && w.PlanetOff[i] != 1;
    if (axialOnly) bodies.push_back(i);
  }
  return sweepAgain(w, n, columns, bodies, in, closest, rows);
}

// ===== 4. Settle: marked rows pair by pair, on any thread =====

}  // namespace

void pullsOfRow(const World& w, int i, int top, const PullRows& rows, RowPulls& out) {
  const lane_loops::RowIn in{w.PlanetX[i], w.PlanetY[i], w.GravityExponent,
                             rows.inRange ? rows.farBound : 1e300};
  loopsOf(kernelLaneWidth())
      .row({in, w.PlanetX.data(), w.PlanetY.data(), rows.scaled.data(), rows.plainBody.data(),
            out.fx.data(), out.fy.data(), out.plain.data(), top + 1});
}

namespace {

// Row i pair by pair in literal order, on whichever thread: its sums and the force
// it carries on, as the game's thread would find them. False, leaving the row to the
// game's thread, when it kicks (random draws, the momenta of two bodies) or takes
// the force carried in from the row before (its sums then come out NaN).
bool settleRow(const World& w, int i, const std::vector<int>& columns, PullRows& rows,
               RowPulls& scratch) {
  pullsOfRow(w, i, columns.empty() ? -1 : columns.front(), rows, scratch);
  CarriedForce force{std::nan(""), std::nan("")};
  double sumX = 0;
  double sumY = 0;
  for (const int j : columns) {
    if (j == i) continue;
    if (scratch.plain[j] != 0) {
      force = {scratch.fx[j], scratch.fy[j]};
    } else if (!pairPull(w, i, j, force)) {
      return false;
    }
    sumX = sumX + force.fx;
    sumY = sumY + force.fy;
  }
  if (std::isnan(sumX) || std::isnan(sumY)) return false;
  rows.sumX[i] = sumX;
  rows.sumY[i] = sumY;
  rows.carryX[i] = force.fx;
  rows.carryY[i] = force.fy;
  rows.redo[i] = 0;
  return true;
}

// Every marked row that draws nothing is settled in literal order, shared out among
// the threads a few rows at a time. Rows the sweep saw kick are left to the game's
// thread at once (the sun's row never kicks: its close pairs only carry).
void settle(const World& w, int n, const std::vector<int>& columns, const Table<double>& closest,
            PullRows& rows) {
  std::vector<int> marked;
  for (int i = 0; i < n; ++i) {
    const bool kicks = i != 0 && closest[i] == kKickKey;
    // Swept sums come out NaN only from a force carried in that was not known.
    const bool carriesIn = rows.inRange && (std::isnan(rows.sumX[i]) || std::isnan(rows.sumY[i]));
    if (rows.redo[i] != 0 && w.PlanetOff[i] != 1 && !kicks && !carriesIn) {
      marked.push_back(i);
    }
  }
  constexpr int kRowsAChunk = 4;
  const int chunks = (static_cast<int>(marked.size()) + kRowsAChunk - 1) / kRowsAChunk;
  LanePool& pool = LanePool::forThisThread();
  pool.run(chunks, pool.worthSharing(static_cast<int>(columns.size())), [&](int c) {
    RowPulls scratch;
    const int end = std::min<int>(static_cast<int>(marked.size()), (c + 1) * kRowsAChunk);
    for (int k = c * kRowsAChunk; k < end; ++k) settleRow(w, marked[k], columns, rows, scratch);
  });
  for (const int i : marked) rows.settledRows += rows.redo[i] == 0;
}

// ===== 5. Kicks: listed for the game's thread =====

// Row i's partners that it kicks, highest first: close (d2 within the radius's
// bound, as the lanes test it) and beyond the bond range. The sun is never one.
void kickPartners(const World& w, int i, int n, double closeBound, double bondBound,
                  std::vector<int>& out) {
  Table<uint8_t> kicking;
  const double xi = w.PlanetX[i];
  const double yi = w.PlanetY[i];
  for (int j = 0; j < n; ++j) {
    const double dx = w.PlanetX[j] - xi;
    const double dy = w.PlanetY[j] - yi;
    const double d2 = dx * dx + dy * dy;
    kicking[j] = static_cast<uint8_t>((d2 <= closeBound) & (d2 > bondBound));
  }
  for (int j = n - 1; j > 0; --j) {
    if (kicking[j] != 0 && j != i && w.PlanetOff[j] != 1) out.push_back(j);
  }
}

// The kicks of every row the lanes summed, listed for the game's thread: from the
// close range's grid where it holds, else from a scan of the whole row. The sun's
// row, which the settling step may have summed, kicks nothing.
void listKicks(const World& w, int n, int live, const Table<double>& closest,
               const CloseCells& cells, PullRows& rows) {
  std::vector<int> kicking;
  for (int i = 1; i < n; ++i) {
    if (rows.redo[i] == 0 && closest[i] == kKickKey && w.PlanetOff[i] != 1) kicking.push_back(i);
  }
  if (kicking.empty()) return;
  const double closeBound = rootLimit(w.PlanetRadius);
  const double bondBound = rootLimit(w.BondRange);
  if (cells.gridHolds) {
    for (const int i : kicking) {
      closePartners(w, cells, i, bondBound, rows.kicks[i]);
      if (!rows.kicks[i].empty() && rows.kicks[i].back() == 0) rows.kicks[i].pop_back();
    }
    return;
  }
  constexpr int kRowsAChunk = 8;
  const int chunks = (static_cast<int>(kicking.size()) + kRowsAChunk - 1) / kRowsAChunk;
  LanePool& pool = LanePool::forThisThread();
  pool.run(chunks, pool.worthSharing(live), [&](int c) {
    const int end = std::min<int>(static_cast<int>(kicking.size()), (c + 1) * kRowsAChunk);
    for (int k = c * kRowsAChunk; k < end; ++k) {
      const int i = kicking[k];
      kickPartners(w, i, n, closeBound, bondBound, rows.kicks[i]);
    }
  });
}

}  // namespace

}  // namespace velmora::sim
