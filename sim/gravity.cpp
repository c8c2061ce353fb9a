#include "sim/gravity.h"

#include <cmath>

#include "sim/bomb.h"
#include "sim/pull.h"

namespace velmora::sim {

namespace {

// k = floor(r * span) - jitter: a whole value in -jitter..jitter, kept as a double
// (its 16-bit form holds the same value for every jitter the panel accepts).
double drawKick(const World& w, Rng& rng) {
  return std::floor(static_cast<double>(rng.next()) * w.ImpactJitterSpan) - w.ImpactJitter;
}

}  // namespace

void kickApart(World& w, int i, int j, Rng& rng, Surface& surface) {
  const double k1 = drawKick(w, rng);
  const double k2 = drawKick(w, rng);
  Bomb(floorTwips(w.PlanetX[j]), floorTwips(w.PlanetY[j]), 2, i, j, w, rng, surface);
  w.MomentumX[j] = k1 + w.MomentumX[j];
  w.MomentumX[i] = w.MomentumX[i] - k1;
  w.MomentumY[j] = k2 + w.MomentumY[j];
  w.MomentumY[i] = w.MomentumY[i] - k2;
}

namespace {

// A power of 0 or beyond range or an overflowing quotient pulls nothing. Exactly
// level (x = +-1), fx is +-g and fy is cos(kQuarterTurn) * g; straight above or
// below, fx is 0 and fy is g. Elsewhere the kernel's lane arithmetic, unless its
// quotient leaves the range, then the direction x = dx / r and |dy| / r times g.
void pull(const World& w, int j, double dx, double dy, double d2, double r, CarriedForce& force) {
  const double power = lawPower(d2, r, w.GravityExponent);
  const double scaled = kGravityScale * w.PlanetGravity[j];
  const double g = scaled / power;
  if (power == 0 || !std::isfinite(power) || !std::isfinite(g)) {
    force = {};
  } else if (dy == 0) {
    force = {dx > 0 ? g : -g, kLevelCosine * g};
  } else if (dx == 0) {
    force = {0 * g, g};
  } else {
    const double q = pullQuotient(scaled, d2, r, w.GravityExponent);
    if (std::isfinite(q) && (q != 0 || g == 0)) {
      force = {dx * q, std::fabs(dy) * q};
    } else {
      force = {dx / r * g, std::fabs(dy) / r * g};
    }
  }
}

}  // namespace

bool pairPull(const World& w, int i, int j, CarriedForce& force) {
  const double dx = w.PlanetX[j] - w.PlanetX[i];
  const double dy = w.PlanetY[j] - w.PlanetY[i];
  const double d2 = dx * dx + dy * dy;
  const double r = std::sqrt(d2);
  const bool withSun = i == 0 || j == 0;
  const double range = withSun ? w.SunRadius : w.BondRange;
  if (r != 0) {
    if (r <= w.PlanetRadius) {
      if (r > range && !withSun) return false;
    } else {
      pull(w, j, dx, dy, d2, r, force);
    }
  }
  // Applied to whatever fy holds, a carried value included.
  if (dy < 0) force.fy = -force.fy;
  return true;
}

void pairStep(World& w, int i, int j, CarriedForce& force, Rng& rng, Surface& surface) {
  if (pairPull(w, i, j, force)) return;
  kickApart(w, i, j, rng, surface);
  force = {};
  if (w.PlanetY[j] - w.PlanetY[i] < 0) force.fy = -force.fy;  // -0: the kick leaves none
}

}  // namespace velmora::sim
