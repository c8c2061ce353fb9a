#include "sim/orbit.h"

#include <cmath>

#include "sim/pull.h"

namespace velmora::sim {

namespace {

// The pull of `from` on `body`, 0 where the tick computes none.
double pullOn(const World& w, int body, int from, double exponent) {
  const double dx = w.PlanetX[from] - w.PlanetX[body];
  const double dy = w.PlanetY[from] - w.PlanetY[body];
  const double r = std::sqrt(dx * dx + dy * dy);
  if (!(r > w.PlanetRadius) || !(w.PlanetGravity[from] > 0)) return 0;
  const double pull = kGravityScale * w.PlanetGravity[from] / std::pow(r, exponent);
  return std::isfinite(pull) ? pull : 0;
}

}  // namespace

std::optional<int> strongestPuller(const World& w, int body, double exponent) {
  std::optional<int> best;
  double most = 0;
  for (int j = w.PlanetCount; j >= 0; --j) {
    if (j == body || j >= kMaxBodies || w.PlanetOff[j] != 0) continue;
    const double pull = pullOn(w, body, j, exponent);
    if (pull > most) {
      most = pull;
      best = j;
    }
  }
  return best;
}

std::optional<Momentum> circularOrbit(const World& w, int body, int centre, double exponent) {
  const double pull = pullOn(w, body, centre, exponent);
  if (pull <= 0) return std::nullopt;
  const double dx = w.PlanetX[body] - w.PlanetX[centre];
  const double dy = w.PlanetY[body] - w.PlanetY[centre];
  const double r = std::sqrt(dx * dx + dy * dy);
  const double speed = std::sqrt(pull * r);
  // The sign of the cross product of offset and relative momentum is the sense of
  // turning; y grows downward, so a negative one turns anticlockwise on the screen.
  const double turning = dx * (w.MomentumY[body] - w.MomentumY[centre]) -
                         dy * (w.MomentumX[body] - w.MomentumX[centre]);
  const double sense = turning > 0 ? 1.0 : -1.0;
  return Momentum{w.MomentumX[centre] - sense * speed * dy / r,
                  w.MomentumY[centre] + sense * speed * dx / r};
}

}  // namespace velmora::sim
