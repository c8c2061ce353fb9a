// The pull of one distant body on another, in IEEE basic operations: the shared
// formula of the gravity kernel and of the literal-order rows.
#pragma once

#include <cmath>

#include "sim/power.h"

namespace velmora::sim {

// cos(kQuarterTurn) * 1: fy of a pull from exactly level (dy = 0).
inline constexpr double kLevelCosine = -3.4914813388431334e-15;

// r^exponent for an exponent other than 2; 1 and 0 exactly, as the law reads them.
inline double otherPower(double r, double exponent) {
  // Computed before the select, so a vectorised loop needs no branch.
  const double p = powerOf(r, exponent);
  const double low = exponent == 0 ? 1.0 : p;
  return exponent == 1 ? r : low;
}

// r^exponent with exponent 2 through d2 = r * r directly.
inline double lawPower(double d2, double r, double exponent) {
  return exponent == 2 ? d2 : otherPower(r, exponent);
}

// Lane arithmetic of a pull free of edge cases (dx != 0, dy != 0, all finite):
// fx = dx * q, fy = |dy| * q with q = 10000 G / (r^x * r), before fy's sign.
inline double pullQuotient(double scaledGravity, double power, double r) {
  return scaledGravity / (power * r);
}

}  // namespace velmora::sim
