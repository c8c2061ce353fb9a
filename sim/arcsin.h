// ArcSin as the game computes it: through the arctangent, with the rounded
// quarter turn at +-1.
#pragma once

namespace velmora::sim {

// Slightly above pi / 2, so its cosine is about -3.49E-15 rather than 0.
inline constexpr double kQuarterTurn = 1.5707963267949;

// Arcsine of x for |x| <= 1: atan(x / sqrt(1 - x * x)), and +-kQuarterTurn at +-1.
double ArcSin(double x);

}  // namespace velmora::sim
