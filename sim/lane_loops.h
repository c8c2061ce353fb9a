// The gravity kernel's lane loops (pull_rows.h has the map and the words): a pair in
// the lanes' arithmetic, a column's pull on a lane by formula, a chunk of lanes
// through every column, a tile of the powers pairs share and a single row.
//
// The loops run in each vector width the processor may have (lane_width.h), and
// each width's copy is compiled in a file of its own (lane_loops_baseline.cpp,
// lane_loops_avx2.cpp, lane_loops_avx512.cpp), so that a build compiles the three at
// once; pull_rows.cpp calls the chosen width's through LaneLoops. These files are
// built at -O3 (see CMakeLists.txt): the inner loops run over the bodies i pulled by
// one or two bodies j, so each vector lane sums its own body in the literal order of
// j. Every lane computes the same scalar formula and contraction stays off, so no bit
// depends on the width. GCC only: its fuzzing build with clang needs no speed.
//
// The pair formulas and the lane loops are inlined into the loops of a width, else
// GCC leaves the larger ones out of line and the loops unvectorised, or compiles a
// loop for the default processor only. VELMORA_INLINED is the same for a lambda.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "sim/axial_lanes.h"
#include "sim/lane_width.h"
#include "sim/power.h"
#include "sim/pull.h"

#define VELMORA_PAIR inline __attribute__((always_inline))
#define VELMORA_INLINED __attribute__((always_inline))
#if defined(__clang__)
#define VELMORA_IVDEP
#else
#define VELMORA_IVDEP _Pragma("GCC ivdep")
#endif

namespace velmora::sim::lane_loops {

// --- A pair in the lanes' arithmetic ---

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

// --- A column's pull on a lane, by formula ---

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

// --- A chunk of lanes through every column ---

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

// --- A tile of the powers a pair's two rows share (pull_rows.cpp: sharedPowers) ---

// Rows and lanes a tile of the table takes.
constexpr int kPowerTile = 128;

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

// --- A single row (pull_rows.cpp: pullsOfRow) ---

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

// --- The loops of one width, as pull_rows.cpp calls them ---

// Which sweep a chunk belongs to: the plain one (with its pairs' powers from the
// shared table at Law::kOther, where pull_rows.cpp formed one), or the axial one.
enum class SweepKind { kPlain, kSharedPowers, kAxial };

// A chunk of lanes, lo..hi-1, through every column of a sweep.
struct SweepChunk {
  const Column* columns;
  int count;
  double exponent;
  Lanes lanes;
  int lo, hi;
  OnePointRuns points;
};

// The shared powers' tile of rows from k0 and lanes from i0 (k0 <= i0), and its mirror.
struct PowerTile {
  Lanes lanes;
  int count;
  double half;
  double* table;
  int k0, i0;
};

// Row `in`'s pulls from partners 0..n-1, into fx, fy and plain.
struct SingleRow {
  RowIn in;
  const double* px;
  const double* py;
  const double* scaled;
  const double* plainBody;
  double* fx;
  double* fy;
  double* plain;
  int n;
};

// One width's copy of the loops.
struct LaneLoops {
  void (*sweep)(SweepKind kind, const SweepChunk& chunk);
  void (*powers)(const PowerTile& tile);
  void (*row)(const SingleRow& row);
};

// The loops compiled for kWidth: each width's file instantiates them once.
template <LaneWidth kWidth>
struct LoopsIn {
  static void sweep(SweepKind kind, const SweepChunk& c) {
    withLaw(c.exponent, [&](auto law) {
      constexpr Law kLaw = decltype(law)::value;
      const auto columns = [&](auto axial, auto shared) VELMORA_INLINED {
        inLanesOf<kWidth>([&]() VELMORA_INLINED {
          sweepColumns<kLaw, decltype(axial)::value, decltype(shared)::value>(
              c.columns, c.count, c.exponent, c.lanes, c.lo, c.hi, c.points);
        });
      };
      using Yes = std::true_type;
      using No = std::false_type;
      if (kind == SweepKind::kAxial) return columns(Yes{}, No{});
      if constexpr (kLaw == Law::kOther) {
        if (kind == SweepKind::kSharedPowers) return columns(No{}, Yes{});
      }
      columns(No{}, No{});
    });
  }

  static void powers(const PowerTile& t) {
    inLanesOf<kWidth>(
        [&]() VELMORA_INLINED { powerTile(t.lanes, t.count, t.half, t.table, t.k0, t.i0); });
  }

  static void row(const SingleRow& r) {
    withLaw(r.in.e, [&](auto law) {
      inLanesOf<kWidth>([&]() VELMORA_INLINED {
        rowLanes<decltype(law)::value>(r.in, r.px, r.py, r.scaled, r.plainBody, r.fx, r.fy, r.plain,
                                       r.n);
      });
    });
  }

  static constexpr LaneLoops kLoops{&sweep, &powers, &row};
};

// Each width's loops, from its file; a build without the wider copies (another
// compiler or processor, or one held to the baseline) compiles the baseline's alone.
const LaneLoops& baselineLoops();
const LaneLoops& avx2Loops();
const LaneLoops& avx512Loops();

// The loops of `width`, or the baseline's without the copies.
inline const LaneLoops& loopsOf(LaneWidth width) {
#if VELMORA_LANE_COPIES
  if (width == LaneWidth::kAvx512) return avx512Loops();
  if (width == LaneWidth::kAvx2) return avx2Loops();
#else
  (void)width;
#endif
  return baselineLoops();
}

}  // namespace velmora::sim::lane_loops
