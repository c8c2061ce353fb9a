#include "sim/merge.h"

#include <cmath>

#include "sim/bomb.h"
#include "sim/tick.h"

namespace velmora::sim {

bool mergeStep(World& w, int a, int b, Rng& rng, Surface& surface) {
  const double ex = w.PlanetX[a] - w.PlanetX[b];
  const double ey = w.PlanetY[a] - w.PlanetY[b];
  const double d2 = ex * ex + ey * ey;
  const double range = (a == 0 || b == 0) ? w.SunRadius : w.BondRange;
  // range^2 is exact and sqrt is monotonic: d2 >= range^2 means d >= |range|.
  if (!(d2 < range * range)) return false;
  const double d = std::sqrt(d2);
  if (d == 0 || !(d < range)) return false;

  Bomb(floorTwips(w.PlanetX[a]), floorTwips(w.PlanetY[a]), 2, b, a, w, rng, surface);
  const bool bSurvives = w.PlanetGravity[b] > w.PlanetGravity[a];
  const int s = bSurvives ? b : a;
  const int t = bSurvives ? a : b;
  const double total = w.PlanetGravity[a] + w.PlanetGravity[b];
  // Gravities that sum to 0 (or beyond range) give no weights: take equal ones.
  const double weight = (total == 0 || !std::isfinite(total)) ? 0.5 : w.PlanetGravity[s] / total;
  w.PlanetGravity[s] = total;
  w.PlanetOff[t] = 1;
  const double mx = weight * w.MomentumX[s] + (1 - weight) * w.MomentumX[t];
  const double my = weight * w.MomentumY[s] + (1 - weight) * w.MomentumY[t];
  w.MomentumX[s] = mx;
  w.MomentumY[s] = my;
  KlinK(w);
  return true;
}

}  // namespace velmora::sim
