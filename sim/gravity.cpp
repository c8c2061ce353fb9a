#include "sim/gravity.h"

#include <cmath>

#include "create/bomb.h"
#include "sim/arcsin.h"

namespace velmora::sim {

namespace {

constexpr double kGravityScale = 10000;

// k = floor(r * span) - jitter: a whole value in -jitter..jitter, kept as a double
// (its 16-bit form holds the same value for every jitter the panel accepts).
double drawKick(const World& w, Rng& rng) {
  return std::floor(static_cast<double>(rng.next()) * w.ImpactJitterSpan) - w.ImpactJitter;
}

void kick(World& w, int i, int j, CarriedForce& force, Rng& rng, Surface& surface) {
  const double k1 = drawKick(w, rng);
  const double k2 = drawKick(w, rng);
  Bomb(floorTwips(w.PlanetX[j]), floorTwips(w.PlanetY[j]), 2, i, j, w, rng, surface);
  w.MomentumX[j] = k1 + w.MomentumX[j];
  w.MomentumX[i] = w.MomentumX[i] - k1;
  w.MomentumY[j] = k2 + w.MomentumY[j];
  w.MomentumY[i] = w.MomentumY[i] - k2;
  force = {};
}

// Inside (-1, 1) sin(ArcSin(x)) and cos(ArcSin(x)) are x and sqrt(1 - x * x) up to
// rounding. At |x| = 1 the rounded quarter turn is kept, so fy is cos(kQuarterTurn) * g.
// A power of 0 or beyond range or an overflowing quotient pulls nothing.
void pull(const World& w, int j, double dx, double r, CarriedForce& force) {
  const double power = std::pow(r, w.GravityExponent);
  const double g = kGravityScale * w.PlanetGravity[j] / power;
  if (power == 0 || !std::isfinite(power) || !std::isfinite(g)) {
    force = {};
    return;
  }
  force = splitPull(g, dx / r);
}

}  // namespace

CarriedForce splitPull(double g, double x) {
  if (std::isnan(x)) return {};
  if (std::fabs(x) < 1) return {x * g, std::sqrt(1 - x * x) * g};
  const double a = ArcSin(x > 0 ? 1.0 : -1.0);
  return {std::sin(a) * g, std::cos(a) * g};
}

void pairStep(World& w, int i, int j, CarriedForce& force, Rng& rng, Surface& surface) {
  const double dx = w.PlanetX[j] - w.PlanetX[i];
  const double dy = w.PlanetY[j] - w.PlanetY[i];
  const double r = std::pow(dx * dx + dy * dy, 0.5);
  const bool withSun = i == 0 || j == 0;
  const double range = withSun ? w.SunRadius : w.BondRange;
  if (r != 0) {
    if (r <= w.PlanetRadius) {
      if (r > range && !withSun) kick(w, i, j, force, rng, surface);
    } else {
      pull(w, j, dx, r, force);
    }
  }
  // Applied to whatever fy holds, a carried value included.
  if (dy < 0) force.fy = -force.fy;
}

}  // namespace velmora::sim
