// Built at -O3 (see CMakeLists.txt): the inner loop runs over the bodies i pulled by
// one body j, so each vector lane sums its own body in the literal order of j and
// the vector width cannot change a bit.
#include "sim/pull_rows.h"

#include <algorithm>
#include <cmath>

#include "sim/pull.h"

namespace velmora::sim {

namespace {

constexpr double kGravityScale = 10000;

// Ranges within which the lane arithmetic stays normal and finite: no overflow of
// power * r, no underflow of the quotient.
constexpr double kMinD2 = 1;
constexpr double kMaxD2 = 1e100;
constexpr double kMinPower = 1e-90;
constexpr double kMaxPower = 1e90;
constexpr double kMinGravity = 1e-50;
constexpr double kMaxGravity = 1e200;

struct Column {
  double x, y, scaled, mergeLimit;
};

// Adds the pulls of one body j on bodies lo..hi-1 (all different from j).
template <bool kSquare>
void addColumn(const Column& c, double exponent, double radius, const double* __restrict px,
               const double* __restrict py, const double* __restrict on,
               const double* __restrict limit, double* __restrict sx, double* __restrict sy,
               double* __restrict redo, double* __restrict near, int lo, int hi) {
  for (int i = lo; i < hi; ++i) {
    const double dx = c.x - px[i];
    const double dy = c.y - py[i];
    const double d2 = dx * dx + dy * dy;
    const double r = __builtin_sqrt(d2);
    const double power = kSquare ? d2 : otherPower(r, exponent);
    const double q = pullQuotient(c.scaled, power, r);
    const double fx = dx * q;
    const double ay = dy < 0 ? -dy : dy;
    const double fy0 = ay * q;
    const double fy = dy < 0 ? -fy0 : fy0;
    const bool valid = on[i] != 0;
    const bool plain = r > radius && dx != 0 && dy != 0 && d2 >= kMinD2 && d2 <= kMaxD2 &&
                       (kSquare || (power >= kMinPower && power <= kMaxPower));
    const bool use = valid && plain;
    sx[i] = sx[i] + (use ? fx : 0.0);
    sy[i] = sy[i] + (use ? fy : 0.0);
    redo[i] = valid && !plain ? 1.0 : redo[i];
    near[i] = valid && d2 < std::max(limit[i], c.mergeLimit) ? 1.0 : near[i];
  }
}

template <bool kSquare>
void allColumns(const World& w, int top, PullRows& rows, const Table<double>& on,
                const Table<double>& limit) {
  const int n = top + 1;
  const double radius = w.PlanetRadius;
  const double sunLimit = static_cast<double>(w.SunRadius) * w.SunRadius;
  for (int j = top; j >= 0; --j) {
    if (w.PlanetOff[j] == 1) continue;
    const double scaled = kGravityScale * w.PlanetGravity[j];
    const double size = std::fabs(scaled);
    const bool plainGravity = scaled == 0 || (size >= kMinGravity && size <= kMaxGravity);
    const Column c{w.PlanetX[j], w.PlanetY[j], plainGravity ? scaled : 0.0,
                   j == 0 ? sunLimit : -1.0};
    const auto run = [&](int lo, int hi) {
      addColumn<kSquare>(c, w.GravityExponent, radius, w.PlanetX.data(), w.PlanetY.data(),
                         on.data(), limit.data(), rows.sumX.data(), rows.sumY.data(),
                         rows.redo.data(), rows.near.data(), lo, hi);
    };
    run(0, j);
    run(j + 1, n);
    if (!plainGravity) {
      for (int i = 0; i < n; ++i) rows.redo[i] = on[i] != 0 && i != j ? 1.0 : rows.redo[i];
    }
  }
}

}  // namespace

void computePullRows(const World& w, int top, PullRows& rows) {
  rows.anyNear = false;
  if (top < 0) return;
  const int n = top + 1;
  Table<double> on;
  Table<double> limit;  // square of the merging range against every body but the sun
  const double bond = static_cast<double>(w.BondRange) * w.BondRange;
  const double sun = static_cast<double>(w.SunRadius) * w.SunRadius;
  for (int i = 0; i < n; ++i) {
    on[i] = w.PlanetOff[i] != 1 ? 1.0 : 0.0;
    limit[i] = i == 0 ? sun : bond;
    rows.sumX[i] = rows.sumY[i] = rows.redo[i] = rows.near[i] = 0;
  }
  if (w.GravityExponent == 2) {
    allColumns<true>(w, top, rows, on, limit);
  } else {
    allColumns<false>(w, top, rows, on, limit);
  }
  for (int i = 0; i < n; ++i) rows.anyNear = rows.anyNear || rows.near[i] != 0;
}

}  // namespace velmora::sim
