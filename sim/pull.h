// The pull of one distant body on another, in IEEE basic operations: the shared
// formula of the gravity kernel and of the literal-order rows.
#pragma once

#include <cmath>
#include <type_traits>

#include "sim/power.h"

namespace velmora::sim {

// A body's pull at distance r is kGravityScale * its gravity / r^x.
inline constexpr double kGravityScale = 10000;

// cos(1.5707963267949) * 1, the cosine of the rounded quarter turn the game takes
// for the arcsine of +-1: fy of a pull from exactly level (dy = 0).
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

// How the lanes form q for a law: exponent 2 from d2 and r; 0 and 1 through the
// exact powers; any other through d2^-(x+1)/2 at once, with no root or quotient.
enum class Law { kSquare, kExact, kOther };

inline Law lawOf(double exponent) {
  if (exponent == 2) return Law::kSquare;
  return (exponent == 0 || exponent == 1) ? Law::kExact : Law::kOther;
}

// run(law) with the law of `exponent` as a constant, std::integral_constant<Law, L>:
// the one place a law picks a template.
template <class Run>
decltype(auto) withLaw(double exponent, const Run& run) {
  switch (lawOf(exponent)) {
    case Law::kSquare:
      return run(std::integral_constant<Law, Law::kSquare>{});
    case Law::kExact:
      return run(std::integral_constant<Law, Law::kExact>{});
    case Law::kOther:
      break;
  }
  return run(std::integral_constant<Law, Law::kOther>{});
}

// The exponent of d2 in q for Law::kOther.
inline double halfExponent(double exponent) {
  return -(exponent + 1) * 0.5;
}

// Lane arithmetic of a pull free of edge cases (dx != 0, dy != 0, all finite):
// fx = dx * q, fy = |dy| * q with q = 10000 G / (r^x * r), before fy's sign.
// kInRange drops the power's range checks, for d2 whose power is known to be normal.
template <Law kLaw, bool kInRange = false>
inline double pullQuotient(double scaledGravity, double d2, double r, double exponent,
                           double half) {
  if constexpr (kLaw == Law::kSquare) return scaledGravity / (d2 * r);
  if constexpr (kLaw == Law::kExact) return scaledGravity / (otherPower(r, exponent) * r);
  if constexpr (kLaw == Law::kOther) {
    return scaledGravity * (kInRange ? powerInRange(d2, half) : powerOf(d2, half));
  }
}

inline double pullQuotient(double scaledGravity, double d2, double r, double exponent) {
  return withLaw(exponent, [&](auto law) {
    constexpr Law kLaw = decltype(law)::value;
    const double half = kLaw == Law::kOther ? halfExponent(exponent) : 0;
    return pullQuotient<kLaw>(scaledGravity, d2, r, exponent, half);
  });
}

}  // namespace velmora::sim
