#include "sim/bomb.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr int kSparks = 26;

// A colour component of the tables as a whole value, a half going to the even one.
int wholeComponent(double value) {
  return static_cast<int>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

// floor(r * n) for one fresh draw; the product of a 24-bit fraction and a small
// whole number is exact in double precision.
int drawBelow(Rng& rng, int n) {
  return static_cast<int>(std::floor(static_cast<double>(rng.next()) * n));
}

}  // namespace

int32_t floorTwips(double position) {
  const double f = std::floor(position);
  if (!(f >= INT32_MIN)) return INT32_MIN;  // also NaN
  if (f > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(f);
}

void Bomb(int32_t Dx, int32_t Dy, int DnD, int Dcol, int Opl, const World& world, Rng& rng,
          Surface& surface) {
  // Both draws happen in every mode: the dots take part in the random sequence.
  const int green = drawBelow(rng, 255);
  const int blue = drawBelow(rng, 255);
  if (DnD == 1) {
    surface.plot(Dx, Dy,
                 {wholeComponent(world.PlanetRed[Opl]), wholeComponent(world.PlanetGreen[Opl]),
                  wholeComponent(world.PlanetBlue[Opl])});
    return;
  }
  if (DnD != 2) return;
  const double meanRed =
      (static_cast<double>(world.PlanetRed[Dcol]) + static_cast<double>(world.PlanetRed[Opl])) / 2;
  const Rgb spark{wholeComponent(std::min(meanRed, 255.0)), green, blue};
  for (int k = 0; k < kSparks; ++k) {
    const int dx = drawBelow(rng, 240) - 120;
    const int dy = drawBelow(rng, 240) - 120;
    // 64-bit sums: a point near the ends of the 32-bit range neither wraps nor overflows.
    surface.plot(int64_t{Dx} + dx, int64_t{Dy} + dy, spark);
  }
}

}  // namespace velmora
