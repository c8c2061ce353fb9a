// The gravity pass written out formula for formula as the game defines it: one
// power for r, one for the law, ArcSin through the arctangent, a sine and a cosine
// per distant pair. Slow on purpose; the engine is checked against it. The only
// additions are the game's choices for pulls without a value (no force) and the
// tally of the magnitudes added to each body's sums.
#pragma once

#include <cmath>

#include "form/surface.h"
#include "sim/bomb.h"
#include "world/rng.h"
#include "world/world.h"

namespace velmora::reference {

// Slightly above pi / 2, so its cosine is about -3.49E-15 rather than 0.
inline constexpr double kQuarterTurn = 1.5707963267949;

// Arcsine of x for |x| <= 1: atan(x / sqrt(1 - x * x)), and +-kQuarterTurn at +-1.
inline double ArcSin(double x) {
  if (std::fabs(x) == 1) return (x > 0 ? 1 : -1) * kQuarterTurn;
  return std::atan(x / std::sqrt(1 - x * x));
}

// magnitude[i] receives the sum of |fx| + |fy| over every term added to body i.
inline void gravityPass(World& w, bool sunFixed, Rng& rng, Surface& surface,
                        Table<double>& magnitude) {
  double fx = 0;
  double fy = 0;
  for (int i = w.PlanetCount; i >= 0; --i) {
    double SumX = 0;
    double SumY = 0;
    magnitude[i] = 0;
    for (int j = w.PlanetCount; j >= 0; --j) {
      if (j == i || w.PlanetOff[i] == 1 || w.PlanetOff[j] == 1) continue;
      const double dx = w.PlanetX[j] - w.PlanetX[i];
      const double dy = w.PlanetY[j] - w.PlanetY[i];
      const double r = std::pow(dx * dx + dy * dy, 0.5);
      const double range = (i != 0 && j != 0) ? w.BondRange : w.SunRadius;
      if (r == 0) {
        // no new force
      } else if (r <= w.PlanetRadius) {
        if (r > range && i >= 1 && j >= 1) {
          const double k1 =
              std::floor(static_cast<double>(rng.next()) * w.ImpactJitterSpan) - w.ImpactJitter;
          const double k2 =
              std::floor(static_cast<double>(rng.next()) * w.ImpactJitterSpan) - w.ImpactJitter;
          Bomb(floorTwips(w.PlanetX[j]), floorTwips(w.PlanetY[j]), 2, i, j, w, rng, surface);
          w.MomentumX[j] = k1 + w.MomentumX[j];
          w.MomentumX[i] = w.MomentumX[i] - k1;
          w.MomentumY[j] = k2 + w.MomentumY[j];
          w.MomentumY[i] = w.MomentumY[i] - k2;
          fx = 0;
          fy = 0;
        }
      } else {
        const double power = std::pow(r, w.GravityExponent);
        const double g = (10000.0 * w.PlanetGravity[j]) / power;
        double x = dx / r;
        if (std::fabs(x) > 1) x = x > 0 ? 1 : -1;
        const double a = ArcSin(x);
        fx = std::sin(a) * g;
        fy = std::cos(a) * g;
        if (power == 0 || !std::isfinite(power) || !std::isfinite(g) || !std::isfinite(fx) ||
            !std::isfinite(fy)) {
          fx = 0;
          fy = 0;
        }
      }
      if (dy < 0) fy = -fy;
      SumX = SumX + fx;
      SumY = SumY + fy;
      magnitude[i] += std::fabs(fx) + std::fabs(fy);
    }
    if (w.PlanetOff[i] == 0) {
      Bomb(floorTwips(w.PlanetX[i]), floorTwips(w.PlanetY[i]), 1, i, i, w, rng, surface);
      if (!(sunFixed && i == 0)) {
        w.MomentumX[i] = w.MomentumX[i] + SumX;
        w.MomentumY[i] = w.MomentumY[i] + SumY;
      }
    }
  }
}

}  // namespace velmora::reference
