// The gravity kernel, in the order of its pipeline (pull_rows.h has the map and the
// words): the entry point, then a section for each stage it runs.
#include "sim/pull_rows.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include "sim/axial_lanes.h"
#include "sim/close_blocks.h"
#include "sim/gravity.h"
#include "sim/lane_pool.h"
#include "sim/lane_width.h"
#include "sim/power.h"
#include "sim/pull.h"

namespace velmora::sim {
namespace {

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
// --- 2.1 How the lane loops are compiled ---

// This file is built at -O3 (see CMakeLists.txt): the inner loops run over the bodies
// i pulled by one or two bodies j, so each vector lane sums its own body in the
// literal order of j and the vector width cannot change a bit.
//
// Wider lanes where the processor has them, chosen at run time (lane_width.h): the
// sweep of a chunk and a single row are compiled once for each width. Every lane
// computes the same scalar formula and contraction stays off, so no bit depends on
// the choice. GCC only: its fuzzing build with clang needs no speed.
//
// The pair formulas and the lane loops are inlined into the sweep of a chunk, else
// GCC leaves the larger ones out of line and the loops unvectorised, or compiles a
// loop for the default processor only. VELMORA_INLINED is the same for a lambda.
#define VELMORA_PAIR inline __attribute__((always_inline))
#define VELMORA_INLINED __attribute__((always_inline))
#if defined(__clang__)
#define VELMORA_IVDEP
#else
#define VELMORA_IVDEP _Pragma("GCC ivdep")
#endif

// --- 2.2 A pair in the lanes' arithmetic ---

// The pull of a body at (xj, yj) on one at (xi, yi) in the lanes' arithmetic, as
// both the column sweeps and the single rows compute it: fx = dx q, fy = dy q (|dy| q
// turned for dy, exactly).
struct LanePull {
  double dx, dy, d2, fx, fy;
};

// With kPowerGiven (Law::kOther), `power` is the pair's d2^-(x+1)/2, formed already.
template <Law kLaw, bool kPowerGiven = false>
VELMORA_PAIR LanePull lanePull(double xj, double yj, double xi, double yi, double scaled, double e,
                               double power = 0) {
  const double dx = xj - xi;
  const double dy = yj - yi;
  const double d2 = dx * dx + dy * dy;
  const double r = __builtin_sqrt(d2);
  const double q =
      kPowerGiven ? scaled * power : pullQuotient<kLaw, true>(scaled, d2, r, e, halfExponent(e));
  return {dx, dy, d2, dx * q, dy * q};
}

// d2^-(x+1)/2 of a pair as lanePull forms it for Law::kOther: the same for (i, j) and
// (j, i), whose differences only change sign, exactly.
VELMORA_PAIR double pairPower(double xj, double yj, double xi, double yi, double half) {
  const double dx = xj - xi;
  const double dy = yj - yi;
  return powerInRange(dx * dx + dy * dy, half);
}

// A pull in the lanes' arithmetic as lanePull has it, unless the pair is exactly
// level (dy 0: fx is +-g, fy cos(kQuarterTurn) g) or straight (dx 0: fx 0 g, fy g
// turned for dy), when it is the literal pass's own, with g = 10000 G / r^x. Within
// the lanes' range and beyond the far bound r^x is normal and g finite, so none of
// the literal pass's other branches can apply.
struct AxialAwarePull {
  double dx, dy, d2, fx, fy;
  bool axial;  // the pair is level or straight
};

// What a lane is known to be to its column before any arithmetic: either, or
// straight above or below it, or exactly level with it. The known ones need no
// tests, and for most laws no root.
enum class Alignment { kEither, kStraight, kLevel };

// Bitwise, which the vectoriser takes as it is: `when ? a : b`.
VELMORA_PAIR double pick(bool when, double a, double b) {
  const uint64_t mask = 0 - static_cast<uint64_t>(when);
  return std::bit_cast<double>((std::bit_cast<uint64_t>(a) & mask) |
                               (std::bit_cast<uint64_t>(b) & ~mask));
}

// 1 with the sign of v.
VELMORA_PAIR double unitLike(double v) {
  constexpr uint64_t kSign = uint64_t{1} << 63;
  return std::bit_cast<double>((std::bit_cast<uint64_t>(v) & kSign) | std::bit_cast<uint64_t>(1.0));
}

// Every lane forms one quotient v, q for a plain pair and g for an axial one, and
// both forces as a factor times v: dx and dy for a plain pair; +-1 (exactly g) and
// kLevelCosine for a level one; 0 and +-1 for a straight one. The fewer selects,
// the faster the loop: it is bound by its operations, not by its quotient.
template <Law kLaw, Alignment kAlignment = Alignment::kEither>
VELMORA_PAIR AxialAwarePull axialAwarePull(double xj, double yj, double xi, double yi,
                                           double scaled, double e) {
  const double dx = xj - xi;
  const double dy = yj - yi;
  const double d2 = dx * dx + dy * dy;
  // A lane known straight or level with its column may also sit on its point: that
  // pair (d2 = 0) is close, and the far formulas key it for the literal checks.
  const bool level = kAlignment == Alignment::kEither ? dy == 0 : kAlignment == Alignment::kLevel;
  const bool straight =
      kAlignment == Alignment::kEither ? dx == 0 : kAlignment == Alignment::kStraight;
  const bool axial = level | straight;
  // q = scaled / (r^x r) as pullQuotient in range; g = scaled / r^x, r^x as the
  // literal pass's lawPower has it (powerOf's bits without its range checks). An
  // axial lane's power is multiplied by 1, exactly, selected bitwise: from a plain select
  // the compiler makes two quotients and keeps one.
  double v = 0;
  if constexpr (kLaw != Law::kOther) {
    const double r = __builtin_sqrt(d2);
    const double rOrOne = pick(axial, 1.0, r);
    if constexpr (kLaw == Law::kSquare) v = scaled / (d2 * rOrOne);
    if constexpr (kLaw == Law::kExact) v = scaled / ((e == 1 ? r : 1.0) * rOrOne);
  }
  if constexpr (kLaw == Law::kOther) {
    // This law's q needs no root. An axial pair's r is |dx| + |dy|, one of them 0:
    // the root of a rounded square is the number's magnitude exactly (binary
    // arithmetic, rounding to nearest, no underflow: d2 is beyond 1 wherever the
    // pull is used).
    const double along = std::fabs(dx) + std::fabs(dy);
    const double power = powerInRange(axial ? along : d2, axial ? e : halfExponent(e));
    v = axial ? scaled / power : scaled * power;
  }
  // Both level and straight is a pair at one point: close, so its force is carried.
  // A straight pair's dx is +0 (0 g as the literal pass has it) even from -0.
  const double ux = pick(level, unitLike(dx), pick(straight, 0.0, dx));
  const double uy = pick(level, kLevelCosine, pick(straight, unitLike(dy), dy));
  return {dx, dy, d2, ux * v, uy * v, axial};
}

// --- 2.3 A column's pull on a lane, by formula ---

struct Column {
  double x, y, scaled;
  double closeBound;     // squared distances at or below it are close (r <= radius or r = 0)
  double bondBound;      // close ones above it kick (r > bonding range); infinite for the sun
  uint64_t axialBlocks;  // the blocks of lanes that may hold other level or straight partners
  uint64_t closeBlocks;  // those that may hold its close partners
  int lane;              // the lane of its own body, which it skips, or kNoLane
  LaneRange straight;    // lanes straight above or below it, each one
  std::array<LaneRange, kLevelRuns> level;  // lanes exactly level with it, each one
  LaneRange known;       // from the first of those lanes to the last, for a quick test
  const double* powers;  // with shared powers: each lane's pairPower with it, by lane
};

// The lane a column skips when it has none of its own (its body is not a lane).
constexpr int kNoLane = std::numeric_limits<int>::max() - 1;

struct Lanes {
  const double* __restrict px;
  const double* __restrict py;
  double* __restrict sx;
  double* __restrict sy;
  double* __restrict closest;
  double* __restrict carryX;  // the force each lane carries, sign corrections and all
  double* __restrict carryY;
};

// Keys of `closest` beyond a least squared distance; the lesser one wins.
constexpr double kLiteralKey = -2;  // a distant pair only the literal checks can take
constexpr double kKickKey = -1;     // a close pair beyond the bond range (a kick, unless sun)

// One lane's running values, held in registers across the columns of a sweep.
struct LaneState {
  double x, y, sx, sy, closest, carryX, carryY;
};

VELMORA_PAIR LaneState loadLane(const Lanes& l, int i) {
  return {l.px[i], l.py[i], l.sx[i], l.sy[i], l.closest[i], l.carryX[i], l.carryY[i]};
}

VELMORA_PAIR void storeLane(const LaneState& s, const Lanes& l, int i) {
  l.sx[i] = s.sx;
  l.sy[i] = s.sy;
  l.closest[i] = s.closest;
  l.carryX[i] = s.carryX;
  l.carryY[i] = s.carryY;
}

// Adds the pull of one body on lane i, as the literal pass would: a close pair adds
// the carried force again, its fy turned for the pair's dy, or after a kick a force
// of 0 (turned too: -0 for a negative dy). `closest` keeps the least squared
// distance, or the least key once a pair needs more: kKickKey for a kick, which the
// sun's row does not make (its lane is redone), kLiteralKey for a distant pair
// exactly level or straight (with the axial formulas: one whose dx dy underflows,
// the level and straight ones taking axialAwarePull). The far formulas take the pull
// alone, for lanes where the column has no close partner: a close pair met there all
// the same is keyed for the literal checks. kStraightFar and kLevelFar are
// kAxialFar for lanes known straight or level.
enum class Formula { kFar, kPlain, kAxialFar, kAxial, kStraightFar, kLevelFar };

// The pair formula a far formula takes its lanes' pulls from.
constexpr Alignment alignmentOf(Formula f) {
  if (f == Formula::kStraightFar) return Alignment::kStraight;
  return f == Formula::kLevelFar ? Alignment::kLevel : Alignment::kEither;
}

// A column's pull on a lane at (x, y) through the formula, and whether the formula
// takes the pair: all a lane's sums need of it, the same for every lane at one point.
struct ColumnPull {
  LanePull p;
  bool taken;
};

// kShared takes a plain pair's power from c.powers (Law::kOther).
template <Law kLaw, Formula kFormula, bool kShared = false>
VELMORA_PAIR ColumnPull columnPull(const Column& c, double exponent, double x, double y, int lane) {
  constexpr bool kAxialAware = kFormula != Formula::kFar && kFormula != Formula::kPlain;
  if constexpr (kAxialAware) {
    const AxialAwarePull e =
        axialAwarePull<kLaw, alignmentOf(kFormula)>(c.x, c.y, x, y, c.scaled, exponent);
    return {{e.dx, e.dy, e.d2, e.fx, e.fy}, static_cast<bool>((e.dx * e.dy != 0) | e.axial)};
  } else {
    const double power = kShared ? c.powers[lane] : 0.0;
    const LanePull p = lanePull<kLaw, kShared>(c.x, c.y, x, y, c.scaled, exponent, power);
    return {p, p.dx * p.dy != 0};
  }
}

template <Formula kFormula>
VELMORA_PAIR void applyPull(const Column& c, const ColumnPull& pull, LaneState& s) {
  const LanePull& p = pull.p;
  const bool taken = pull.taken;
  if constexpr (kFormula != Formula::kPlain && kFormula != Formula::kAxial) {
    const bool far = taken & (p.d2 > c.closeBound);
    const double key = far ? p.d2 : kLiteralKey;
    s.carryX = p.fx;
    s.carryY = p.fy;
    s.sx = s.sx + p.fx;
    s.sy = s.sy + p.fy;
    s.closest = key < s.closest ? key : s.closest;
    return;
  }
  const bool close = p.d2 <= c.closeBound;
  const bool kicks = p.d2 > c.bondBound;
  // Selects between doubles only, for the vectoriser.
  const double carriedX = kicks ? 0.0 : s.carryX;
  const double carriedY = kicks ? 0.0 : s.carryY;
  const double turnedY = p.dy < 0 ? -carriedY : carriedY;
  const double fx = close ? carriedX : p.fx;
  const double fy = close ? turnedY : p.fy;
  const double closeKey = kicks ? kKickKey : p.d2;
  const double farKey = taken ? p.d2 : kLiteralKey;
  const double key = close ? closeKey : farKey;
  s.carryX = fx;
  s.carryY = fy;
  s.sx = s.sx + fx;
  s.sy = s.sy + fy;
  s.closest = key < s.closest ? key : s.closest;
}

template <Law kLaw, Formula kFormula, bool kShared = false>
VELMORA_PAIR void addPull(const Column& c, double exponent, LaneState& s, int lane) {
  applyPull<kFormula>(c, columnPull<kLaw, kFormula, kShared>(c, exponent, s.x, s.y, lane), s);
}

template <Law kLaw, Formula kFormula, bool kShared>
VELMORA_PAIR void addPull(const Column& c, double exponent, const Lanes& l, int i) {
  LaneState s = loadLane(l, i);
  addPull<kLaw, kFormula, kShared>(c, exponent, s, i);
  storeLane(s, l, i);
}

template <Law kLaw, Formula kFormula, bool kShared>
VELMORA_PAIR void oneColumn(const Column& c, double e, const Lanes& lanes, int lo, int hi) {
  const Lanes l = lanes;
  VELMORA_IVDEP  // the lanes' tables are distinct: no checks for overlap needed
  for (int i = lo; i < hi; ++i) addPull<kLaw, kFormula, kShared>(c, e, l, i);
}

// Two columns in one sweep halve the loads and stores of the sums; a lane still
// adds the higher j first. Each column takes the formula its lanes here need.
template <Law kLaw, Formula kA, Formula kB, bool kShared>
VELMORA_PAIR void twoColumns(const Column& ca, const Column& cb, double e, const Lanes& lanes,
                             int lo, int hi) {
  const Lanes l = lanes;
  const Column a = ca;
  const Column b = cb;
  VELMORA_IVDEP
  for (int i = lo; i < hi; ++i) {
    LaneState s = loadLane(l, i);
    addPull<kLaw, kA, kShared>(a, e, s, i);
    addPull<kLaw, kB, kShared>(b, e, s, i);
    storeLane(s, l, i);
  }
}

// Lanes on one point (the same X and Y, bit for bit) take the same pull from a
// column: it is computed once, from the first of them, and each lane adds it.
template <Law kLaw, Formula kFormula>
VELMORA_PAIR void oneColumnOnePoint(const Column& c, double e, const Lanes& lanes, int lo, int hi) {
  const Lanes l = lanes;
  const ColumnPull pull = columnPull<kLaw, kFormula>(c, e, l.px[lo], l.py[lo], lo);
  VELMORA_IVDEP
  for (int i = lo; i < hi; ++i) {
    LaneState s = loadLane(l, i);
    applyPull<kFormula>(c, pull, s);
    storeLane(s, l, i);
  }
}

template <Law kLaw, Formula kA, Formula kB>
VELMORA_PAIR void twoColumnsOnePoint(const Column& ca, const Column& cb, double e,
                                     const Lanes& lanes, int lo, int hi) {
  const Lanes l = lanes;
  const Column a = ca;
  const Column b = cb;
  const ColumnPull pullA = columnPull<kLaw, kA>(a, e, l.px[lo], l.py[lo], lo);
  const ColumnPull pullB = columnPull<kLaw, kB>(b, e, l.px[lo], l.py[lo], lo);
  VELMORA_IVDEP
  for (int i = lo; i < hi; ++i) {
    LaneState s = loadLane(l, i);
    applyPull<kA>(a, pullA, s);
    applyPull<kB>(b, pullB, s);
    storeLane(s, l, i);
  }
}

// --- 2.4 A chunk of lanes through every column ---

// The runs of lanes on one point from `next` on, in order, as a sweep meets them.
struct OnePointRuns {
  const LaneRange* next;
  const LaneRange* end;

  // Whether the run from `lane` sits on one point; cuts `runEnd` where that changes.
  VELMORA_PAIR bool cut(int lane, int& runEnd) {
    while (next != end && next->to <= lane) ++next;
    if (next == end) return false;
    if (lane < next->from) {
      runEnd = std::min(runEnd, next->from);
      return false;
    }
    runEnd = std::min(runEnd, next->to);
    return true;
  }
};

// The formula column c takes at `lane`: all of the close ones where its block may
// hold close partners (the axial formulas give a plain pair's bits too); with
// kAxial, the known alignment's where the lane is straight or level with c, and the
// axial formulas where its block may hold other such partners.
template <bool kAxial>
VELMORA_PAIR Formula formulaAt(const Column& c, int lane) {
  const int block = lane / kLanesABlock;
  const bool close = ((c.closeBlocks >> block) & 1) != 0;
  if constexpr (kAxial) {
    if (close) return Formula::kAxial;
    if (c.known.holds(lane)) {
      if (c.straight.holds(lane)) return Formula::kStraightFar;
      for (const LaneRange& run : c.level) {
        if (run.holds(lane)) return Formula::kLevelFar;
      }
    }
    return ((c.axialBlocks >> block) & 1) != 0 ? Formula::kAxialFar : Formula::kFar;
  }
  return close ? Formula::kPlain : Formula::kFar;
}

// The next lane after `lane` where `range` starts or ends, or `last`.
VELMORA_PAIR int nextRangeBound(LaneRange range, int lane, int last) {
  const int bound = lane < range.from ? range.from : lane < range.to ? range.to : last;
  return std::min(bound, last);
}

// The next lane after `lane` where one of c's known runs starts or ends, or `last`.
VELMORA_PAIR int nextKnownBound(const Column& c, int lane, int last) {
  if (lane >= c.known.to) return last;
  if (lane < c.known.from) return std::min(last, c.known.from);
  last = nextRangeBound(c.straight, lane, last);
  for (const LaneRange& run : c.level) last = nextRangeBound(run, lane, last);
  return last;
}

// The end of the run from `lane` (below `last`) in which each column keeps its
// formula: up to the next block where any of the columns' masks changes, or with
// kAxial the next lane where one of their known runs starts or ends.
template <bool kAxial>
VELMORA_PAIR int sameFormulasUntil(const Column& a, const Column& b, int lane, int last) {
  if constexpr (kAxial) {
    last = nextKnownBound(b, lane, nextKnownBound(a, lane, last));
  }
  const int block = lane / kLanesABlock;
  // The bits that differ from the block's own, in each mask.
  const auto changes = [block](uint64_t mask) { return mask ^ (0 - ((mask >> block) & 1)); };
  uint64_t differ = changes(a.closeBlocks) | changes(b.closeBlocks);
  if constexpr (kAxial) differ |= changes(a.axialBlocks) | changes(b.axialBlocks);
  const uint64_t after = block == 63 ? 0 : differ >> (block + 1);
  const int same = after == 0 ? 64 : std::countr_zero(after);
  return std::min(last, (block + 1 + same) * kLanesABlock);
}

// Calls run with formula f as a constant, f being one that formulaAt<kAxial> gives.
template <bool kAxial, class Run>
VELMORA_PAIR void withFormula(Formula f, const Run& run) {
  using F = Formula;
  if constexpr (kAxial) {
    if (f == F::kAxial) return run(std::integral_constant<F, F::kAxial>{});
    if (f == F::kAxialFar) return run(std::integral_constant<F, F::kAxialFar>{});
    if (f == F::kStraightFar) return run(std::integral_constant<F, F::kStraightFar>{});
    if (f == F::kLevelFar) return run(std::integral_constant<F, F::kLevelFar>{});
  } else {
    if (f == F::kPlain) return run(std::integral_constant<F, F::kPlain>{});
  }
  run(std::integral_constant<F, F::kFar>{});
}

// One or two columns' pulls on the lanes [from, to), in runs in which each column
// keeps its formula, and the lanes sit on one point or not.
template <Law kLaw, bool kAxial, bool kShared>
VELMORA_PAIR void sweepTwo(const Column& a, const Column& b, double e, const Lanes& l, int from,
                           int to, OnePointRuns points) {
  for (int lane = from; lane < to;) {
    int end = sameFormulasUntil<kAxial>(a, b, lane, to);
    const bool onePoint = points.cut(lane, end);
    withFormula<kAxial>(formulaAt<kAxial>(a, lane), [&](auto fa) VELMORA_INLINED {
      withFormula<kAxial>(formulaAt<kAxial>(b, lane), [&](auto fb) VELMORA_INLINED {
        constexpr Formula kA = decltype(fa)::value;
        constexpr Formula kB = decltype(fb)::value;
        if constexpr (kAxial) {  // only the axial sweep's order puts such lanes together
          if (onePoint) return twoColumnsOnePoint<kLaw, kA, kB>(a, b, e, l, lane, end);
        }
        twoColumns<kLaw, kA, kB, kShared>(a, b, e, l, lane, end);
      });
    });
    lane = end;
  }
}

template <Law kLaw, bool kAxial, bool kShared>
VELMORA_PAIR void sweepOne(const Column& c, double e, const Lanes& l, int from, int to,
                           OnePointRuns points) {
  for (int lane = from; lane < to;) {
    int end = sameFormulasUntil<kAxial>(c, c, lane, to);
    const bool onePoint = points.cut(lane, end);
    withFormula<kAxial>(formulaAt<kAxial>(c, lane), [&](auto f) VELMORA_INLINED {
      if constexpr (kAxial) {
        if (onePoint) return oneColumnOnePoint<kLaw, decltype(f)::value>(c, e, l, lane, end);
      }
      oneColumn<kLaw, decltype(f)::value, kShared>(c, e, l, lane, end);
    });
    lane = end;
  }
}

// Every column's pulls on the lanes lo..hi-1, each lane summed in the order of the
// columns whatever the block, so blocks may run on separate threads. One call a
// chunk, its loops inlined: a call through the processor's dispatch for each run of
// blocks had cost 3 to 9% of the sweep.
template <Law kLaw, bool kAxial, bool kShared>
VELMORA_PAIR void sweepColumns(const Column* columns, int count, double e, const Lanes& lanes,
                               int lo, int hi, OnePointRuns points) {
  const Lanes l = lanes;
  int unused = hi;
  points.cut(lo, unused);  // skips the runs before the chunk
  constexpr Formula kFull = kAxial ? Formula::kAxial : Formula::kPlain;
  // A column skips its own lane. The sweep takes that lane all the same, which keeps
  // the runs whole, and then sets it back; the other column of the pair adds
  // there alone. Lanes are independent, so doing it last changes no bit.
  const auto kept = [&](const Column& c) VELMORA_INLINED {
    return c.lane >= lo && c.lane < hi ? loadLane(l, c.lane) : LaneState{};
  };
  const auto restore = [&](const Column& c, LaneState s, const Column* other) VELMORA_INLINED {
    if (c.lane < lo || c.lane >= hi) return;
    if (other != nullptr) addPull<kLaw, kFull, kShared>(*other, e, s, c.lane);
    storeLane(s, l, c.lane);
  };
  int k = 0;
  for (; k + 1 < count; k += 2) {
    const Column& a = columns[k];
    const Column& b = columns[k + 1];
    const LaneState ownA = kept(a);
    const LaneState ownB = kept(b);
    sweepTwo<kLaw, kAxial, kShared>(a, b, e, l, lo, hi, points);
    restore(a, ownA, &b);
    restore(b, ownB, &a);
  }
  if (k < count) {
    const Column& c = columns[k];
    const LaneState own = kept(c);
    sweepOne<kLaw, kAxial, kShared>(c, e, l, lo, hi, points);
    restore(c, own, nullptr);
  }
}

// --- 2.5 The columns of a sweep, and its chunks on the threads ---

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
  withLaw(w.GravityExponent, [&](auto law) {
    constexpr Law kLaw = decltype(law)::value;
    pool.run(chunks, share, [&](int c) {
      const OnePointRuns points{onePoint.data(), onePoint.data() + onePoint.size()};
      const int lo = c * size;
      const int hi = std::min(lanes, (c + 1) * size);
      if constexpr (kLaw == Law::kOther && !kAxial) {
        if (powers != nullptr) {
          return inLanes(kernelLaneWidth(), [&]() VELMORA_INLINED {
            sweepColumns<kLaw, false, true>(sweep.data(), count, w.GravityExponent, l, lo, hi,
                                            points);
          });
        }
      }
      inLanes(kernelLaneWidth(), [&]() VELMORA_INLINED {
        sweepColumns<kLaw, kAxial, false>(sweep.data(), count, w.GravityExponent, l, lo, hi,
                                          points);
      });
    });
  });
}

// --- 2.6 The powers a pair's two rows share ---

// At exponents other than 0, 1 and 2 a plain pair's power of d2 costs most of its
// pull, and (i, j) and (j, i) have the same d2, bit for bit. So the plain sweep
// forms each pair's power once, in a table of the lanes (row k: lane k's column,
// by lane), tile by tile with its mirror, the threads taking tiles; the lanes then
// read it. From two chunks of lanes on (below, the table saves too little).
constexpr int kPowerTile = 128;
constexpr int kSharedPowersFrom = 2 * kPowerTile;

// The table's tile of rows from k0 and lanes from i0, k0 <= i0, and its mirror.
VELMORA_PAIR void powerTile(const Lanes& l, int lanes, double half, double* __restrict table,
                            int k0, int i0) {
  const size_t n = lanes;
  const int k1 = std::min(lanes, k0 + kPowerTile);
  const int i1 = std::min(lanes, i0 + kPowerTile);
  for (int k = k0; k < k1; ++k) {
    const double xk = l.px[k];
    const double yk = l.py[k];
    double* __restrict row = table + k * n;
    VELMORA_IVDEP
    for (int i = i0; i < i1; ++i) row[i] = pairPower(xk, yk, l.px[i], l.py[i], half);
  }
  if (k0 == i0) return;
  for (int i = i0; i < i1; ++i) {
    for (int k = k0; k < k1; ++k) table[i * n + k] = table[k * n + i];
  }
}

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
  LanePool::forThisThread().run(static_cast<int>(tilePairs.size()), share, [&](int p) {
    inLanes(kernelLaneWidth(), [&]() VELMORA_INLINED {
      powerTile(l, lanes, half, out, tilePairs[p].first, tilePairs[p].second);
    });
  });
}

// --- 2.7 The forces carried in from the row above ---

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

// --- 2.8 The two sweeps, and which goes first ---

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

struct RowIn {
  double xi, yi, e, farBound;
};

// Body i's row: every partner's pull in the lanes' arithmetic, level and straight
// partners through axialAwarePull, and whether the literal pass computes just that.
template <Law kLaw>
VELMORA_PAIR void rowLanes(RowIn in, const double* __restrict px, const double* __restrict py,
                           const double* __restrict scaled, const double* __restrict plainBody,
                           double* __restrict fx, double* __restrict fy, double* __restrict plain,
                           int n) {
  for (int j = 0; j < n; ++j) {
    const AxialAwarePull p = axialAwarePull<kLaw>(px[j], py[j], in.xi, in.yi, scaled[j], in.e);
    fx[j] = p.fx;
    fy[j] = p.fy;
    // dx dy is 0 only for an axial pair, or where it underflows: that pair takes pairPull.
    const bool taken = (p.dx * p.dy != 0) | p.axial;
    const double key = taken ? p.d2 : 0.0;
    const double far = key > in.farBound ? 1.0 : 0.0;
    plain[j] = far * plainBody[j];
  }
}

}  // namespace

void pullsOfRow(const World& w, int i, int top, const PullRows& rows, RowPulls& out) {
  const RowIn in{w.PlanetX[i], w.PlanetY[i], w.GravityExponent,
                 rows.inRange ? rows.farBound : 1e300};
  withLaw(w.GravityExponent, [&](auto law) {
    inLanes(kernelLaneWidth(), [&]() VELMORA_INLINED {
      rowLanes<decltype(law)::value>(in, w.PlanetX.data(), w.PlanetY.data(), rows.scaled.data(),
                                     rows.plainBody.data(), out.fx.data(), out.fy.data(),
                                     out.plain.data(), top + 1);
    });
  });
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
