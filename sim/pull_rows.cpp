// Built at -O3 (see CMakeLists.txt): the inner loops run over the bodies i pulled by
// one or two bodies j, so each vector lane sums its own body in the literal order of
// j and the vector width cannot change a bit.
#include "sim/pull_rows.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "sim/lane_pool.h"

#include "sim/power.h"
#include "sim/pull.h"

namespace velmora::sim {

namespace {

// Within these ranges the lane arithmetic stays normal and finite: no overflow of
// power * r, no underflow of the quotient. |position| <= 1e49 keeps r <= 3e49.
constexpr double kMaxPosition = 1e49;
constexpr double kMinPower = 1e-80;
constexpr double kMaxPower = 1e80;
constexpr double kMinGravity = 1e-50;
constexpr double kMaxGravity = 1e200;

// Wider lanes where the processor has them, chosen at run time. Every lane computes
// the same scalar formula and contraction stays off, so no bit depends on the choice.
// GCC only: clang cannot clone templates, and its fuzzing build needs no speed.
#if defined(VELMORA_NO_LANE_CLONES) || defined(__clang__)
#define VELMORA_LANES
#else
#define VELMORA_LANES __attribute__((target_clones("avx2", "default")))
#endif
#if defined(__clang__)
#define VELMORA_IVDEP
#else
#define VELMORA_IVDEP _Pragma("GCC ivdep")
#endif

struct Column {
  double x, y, scaled;
  double closeLimit;  // squared distances at or below it are close (r <= radius or r = 0)
  double kickLimit;   // close ones above it kick; infinite for the sun
};

struct Lanes {
  const double* __restrict px;
  const double* __restrict py;
  double* __restrict sx;
  double* __restrict sy;
  double* __restrict closest;
  double* __restrict carryX;  // the force each lane carries, sign corrections and all
  double* __restrict carryY;
};

// Adds the pull of one body on lane i, as the literal pass would: a close pair adds
// the carried force again, its fy turned for the pair's dy. `closest` keeps the least
// squared distance, or -1 once a pair needs the literal checks: a kick, or a distant
// pair exactly level or straight.
template <Law kLaw>
inline void addPull(const Column& c, double exponent, const Lanes& l, int i) {
  const double dx = c.x - l.px[i];
  const double dy = c.y - l.py[i];
  const double d2 = dx * dx + dy * dy;
  const double r = __builtin_sqrt(d2);
  const double q = pullQuotient<kLaw, true>(c.scaled, d2, r, exponent, halfExponent(exponent));
  const bool close = d2 <= c.closeLimit;
  const double carriedX = l.carryX[i];  // loaded whatever the pair, for the vectoriser
  const double carriedY = l.carryY[i];
  const double turnedY = dy < 0 ? -carriedY : carriedY;
  const double fx = close ? carriedX : dx * q;
  const double fy = close ? turnedY : dy * q;  // dy * q: |dy| * q turned for dy, exactly
  // Selects between doubles only, which the vectoriser takes.
  const double closeKey = d2 > c.kickLimit ? -1.0 : d2;
  const double farKey = dx * dy != 0 ? d2 : -1.0;
  const double key = close ? closeKey : farKey;
  l.carryX[i] = fx;
  l.carryY[i] = fy;
  l.sx[i] = l.sx[i] + fx;
  l.sy[i] = l.sy[i] + fy;
  l.closest[i] = key < l.closest[i] ? key : l.closest[i];
}

template <Law kLaw>
VELMORA_LANES void oneColumn(const Column& c, double e, const Lanes& lanes, int lo, int hi) {
  const Lanes l = lanes;
  VELMORA_IVDEP  // the lanes' tables are distinct: no checks for overlap needed
  for (int i = lo; i < hi; ++i) addPull<kLaw>(c, e, l, i);
}

// Two columns in one sweep halve the loads and stores of the sums; a lane still
// adds the higher j first.
template <Law kLaw>
VELMORA_LANES void twoColumns(const Column& ca, const Column& cb, double e, const Lanes& lanes,
                              int lo, int hi) {
  const Lanes l = lanes;
  const Column a = ca;
  const Column b = cb;
  VELMORA_IVDEP
  for (int i = lo; i < hi; ++i) {
    addPull<kLaw>(a, e, l, i);
    addPull<kLaw>(b, e, l, i);
  }
}

// The largest squared distance whose root is at most `range` (0 for a negative one):
// sqrt is monotonic, so d2 <= it exactly when sqrt(d2) <= range.
double rootLimit(double range) {
  if (!(range > 0)) return 0;
  double t = range * range;
  while (std::sqrt(t) > range) t = std::nextafter(t, 0.0);
  while (std::sqrt(std::nextafter(t, 1.0 / 0.0)) <= range) t = std::nextafter(t, 1.0 / 0.0);
  return t;
}

// Every column's pulls on the lanes lo..hi-1: a block of rows, each summed in the
// order of the columns whatever the block, so blocks may run on separate threads.
template <Law kLaw>
void allColumns(const World& w, int lo, int hi, const std::vector<int>& columns, const Lanes& l,
                PullRows& rows) {
  const double e = w.GravityExponent;
  const double bondLimit = rootLimit(w.BondRange);
  const double closeLimit = rootLimit(w.PlanetRadius);
  const auto column = [&](int j) {
    if (rows.plainBody[j] == 0) {  // its pulls take the checks of the literal rows
      for (int i = lo; i < hi; ++i) rows.redo[i] = i != j ? 1.0 : rows.redo[i];
    }
    const double kickLimit = j == 0 ? 1.0 / 0.0 : bondLimit;
    return Column{w.PlanetX[j], w.PlanetY[j], rows.scaled[j], closeLimit, kickLimit};
  };
  // The lanes of [from, to) inside the block.
  const auto inBlock = [lo, hi](int from, int to) {
    return std::pair{std::max(from, lo), std::min(to, hi)};
  };
  const auto sweepTwo = [&](const Column& a, const Column& b, int from, int to) {
    const auto [first, last] = inBlock(from, to);
    if (first < last) twoColumns<kLaw>(a, b, e, l, first, last);
  };
  const auto sweepOne = [&](const Column& c, int from, int to) {
    const auto [first, last] = inBlock(from, to);
    if (first < last) oneColumn<kLaw>(c, e, l, first, last);
  };
  const auto single = [&](const Column& c, int i) {
    if (i >= lo && i < hi) addPull<kLaw>(c, e, l, i);
  };
  size_t k = 0;
  for (; k + 1 < columns.size(); k += 2) {
    const int ja = columns[k];
    const int jb = columns[k + 1];  // jb < ja
    const Column a = column(ja);
    const Column b = column(jb);
    sweepTwo(a, b, lo, jb);
    single(a, jb);
    sweepTwo(a, b, jb + 1, ja);
    single(b, ja);
    sweepTwo(a, b, ja + 1, hi);
  }
  if (k < columns.size()) {
    const int j = columns[k];
    const Column c = column(j);
    sweepOne(c, lo, j);
    sweepOne(c, j + 1, hi);
  }
}

// Rows are swept in chunks: a chunk's lanes stay in the first-level cache through
// every column, and the threads take chunks as they come free, so one woken late
// still finds work. Any split gives the same bits: a row's sums never leave it.

template <Law kLaw>
void allColumnsInBlocks(const World& w, int n, const std::vector<int>& columns, const Lanes& l,
                        PullRows& rows) {
  LanePool& pool = LanePool::shared();
  const int size = pool.chunkRows();
  const int chunks = (n + size - 1) / size;
  pool.run(chunks, pool.worthSharing(n), [&](int c) {
    allColumns<kLaw>(w, c * size, std::min(n, (c + 1) * size), columns, l, rows);
  });
}

}  // namespace

void computePullRows(const World& w, int top, PullRows& rows) {
  rows.anyNear = false;
  if (top < 0) return;
  const int n = top + 1;
  std::vector<int> columns;  // the pulling bodies, highest first
  double extent = 0;
  for (int j = top; j >= 0; --j) {
    if (w.PlanetOff[j] == 1) continue;
    columns.push_back(j);
    extent = std::max({extent, std::fabs(w.PlanetX[j]), std::fabs(w.PlanetY[j])});
  }
  Table<double> closest;
  for (int i = 0; i < n; ++i) {
    rows.sumX[i] = rows.sumY[i] = rows.redo[i] = rows.near[i] = 0;
    closest[i] = 1e300;
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
  const bool inRange = extent <= kMaxPosition && quotientInRange &&
                       (e == 2 || (std::min(p1, p2) >= kMinPower && std::max(p1, p2) <= kMaxPower));
  // sqrt(d2) <= R needs d2 <= R^2 (1 + 2^-52): the margin makes the test safe.
  const double radius = w.PlanetRadius;
  const double closeLimit = std::max(1.0, radius >= 0 ? radius * radius * (1 + 1e-12) : 0.0);
  rows.inRange = inRange;
  rows.closeLimit = closeLimit;
  if (!inRange) {  // every row takes the literal checks
    for (int i = 0; i < n; ++i) rows.redo[i] = 1;
  } else {
    // No force carried in yet: a row whose first pair is close comes out NaN.
    for (int i = 0; i < n; ++i) rows.carryX[i] = rows.carryY[i] = std::nan("");
    const Lanes l{w.PlanetX.data(), w.PlanetY.data(),   rows.sumX.data(),  rows.sumY.data(),
                  closest.data(),   rows.carryX.data(), rows.carryY.data()};
    switch (lawOf(e)) {
      case Law::kSquare:
        allColumnsInBlocks<Law::kSquare>(w, n, columns, l, rows);
        break;
      case Law::kExact:
        allColumnsInBlocks<Law::kExact>(w, n, columns, l, rows);
        break;
      case Law::kOther:
        allColumnsInBlocks<Law::kOther>(w, n, columns, l, rows);
        break;
    }
  }

  const double bond = static_cast<double>(w.BondRange) * w.BondRange;
  const double sun = static_cast<double>(w.SunRadius) * w.SunRadius;
  // Below a radius of 1, distant pairs nearer than 1 are outside the lanes' range.
  const bool smallRadius = rootLimit(radius) < 1;
  for (int i = 0; i < n; ++i) {
    if (w.PlanetOff[i] == 1) continue;
    const bool tooNear = closest[i] < 1 && smallRadius;
    if (!inRange || closest[i] < 0 || tooNear || std::isnan(rows.sumX[i])) rows.redo[i] = 1;
    const double sx = w.PlanetX[0] - w.PlanetX[i];
    const double sy = w.PlanetY[0] - w.PlanetY[i];
    const bool nearSun = i != 0 && w.PlanetOff[0] != 1 && sx * sx + sy * sy < sun;
    if (!inRange || closest[i] < (i == 0 ? sun : bond) || nearSun) rows.near[i] = 1;
    rows.anyNear = rows.anyNear || rows.near[i] != 0;
  }
}

namespace {

struct RowIn {
  double xi, yi, e, limit;
};

template <Law kLaw>
VELMORA_LANES void rowLanes(RowIn in, const double* __restrict px, const double* __restrict py,
                            const double* __restrict scaled, const double* __restrict plainBody,
                            double* __restrict fx, double* __restrict fy, double* __restrict plain,
                            int n) {
  for (int j = 0; j < n; ++j) {
    // The same operations as a lane of addPull, with body j pulling.
    const double dx = px[j] - in.xi;
    const double dy = py[j] - in.yi;
    const double d2 = dx * dx + dy * dy;
    const double r = __builtin_sqrt(d2);
    const double q = pullQuotient<kLaw, true>(scaled[j], d2, r, in.e, halfExponent(in.e));
    fx[j] = dx * q;
    fy[j] = dy * q;
    const double key = dx * dy != 0 ? d2 : 0.0;
    const double far = key > in.limit ? 1.0 : 0.0;
    plain[j] = far * plainBody[j];
  }
}

}  // namespace

void pullsOfRow(const World& w, int i, int top, const PullRows& rows, RowPulls& out) {
  const RowIn in{w.PlanetX[i], w.PlanetY[i], w.GravityExponent,
                 rows.inRange ? rows.closeLimit : 1e300};
  const Law law = lawOf(w.GravityExponent);
  const auto lanes = law == Law::kSquare  ? rowLanes<Law::kSquare>
                     : law == Law::kExact ? rowLanes<Law::kExact>
                                          : rowLanes<Law::kOther>;
  lanes(in, w.PlanetX.data(), w.PlanetY.data(), rows.scaled.data(), rows.plainBody.data(),
        out.fx.data(), out.fy.data(), out.plain.data(), top + 1);
}

double productThenSum(double a, double b, double c) {
  return a * b + c;
}

}  // namespace velmora::sim
