// r^e from IEEE basic operations only, as exp(e * log(r)): the platform's pow takes
// different code paths on different processors, which would break the replay of a
// frozen seed from one machine to another. Inline and branch-free, so the gravity
// kernel can vectorise it.
#pragma once

#include <bit>
#include <cstdint>

namespace velmora::sim {

namespace powdetail {

inline constexpr double kLn2Hi = 0x1.62e42fefa3800p-1;  // trailing zeros: n * hi is exact
inline constexpr double kLn2Lo = 0x1.ef35793c7673p-45;
inline constexpr double kLn2 = 0x1.62e42fefa39efp-1;
inline constexpr double kRound = 0x1.8p52;  // adding it rounds to a whole number

// 2^n for a whole n in -1022..1023, built in the exponent field.
inline double twoTo(double n) {
  const uint64_t whole = std::bit_cast<uint64_t>(n + kRound) - std::bit_cast<uint64_t>(kRound);
  return std::bit_cast<double>((whole + 1023) << 52);
}

// Natural log of a normal positive r: r = 2^k * m with m in [sqrt(1/2), sqrt(2)),
// split by integer operations alone (no compare, no select); then log m = 2 atanh(s)
// with s = f / (2 + f), f = m - 1, |s| < 0.172, through a minimax polynomial in s^2.
inline double logOf(double r) {
  constexpr uint64_t kOffset = 0x3fe6a09e667f3bcdull;  // sqrt(1/2)
  const uint64_t bits = std::bit_cast<uint64_t>(r);
  const uint64_t shifted = bits - kOffset;
  // The top 12 bits of `shifted` are k as a signed field; flipping the sign bit of
  // the field biases it by 2048 for the whole-number conversion below.
  const uint64_t field = (shifted >> 52) ^ 0x800;
  const double k = std::bit_cast<double>(field | 0x4330000000000000ull) - (0x1p52 + 2048);
  const double m = std::bit_cast<double>(bits - (shifted & 0xfff0000000000000ull));
  const double f = m - 1;
  const double halfSquare = 0.5 * f * f;
  const double s = f / (2 + f);
  const double z = s * s;
  const double w = z * z;
  // Even and odd halves of the polynomial: two short chains.
  const double even = w * (3.999999999940941908e-01 +
                           w * (2.222219843214978396e-01 + w * 1.531383769920937332e-01));
  const double odd = z * (6.666666666666735130e-01 +
                          w * (2.857142874366239149e-01 +
                               w * (1.818357216161805012e-01 + w * 1.479819860511658591e-01)));
  const double poly = even + odd;
  return k * kLn2Hi - ((halfSquare - (s * (halfSquare + poly) + k * kLn2Lo)) - f);
}

// e^t for |t| < 708, whose value is normal: one scaling by 2^n.
inline double expCore(double t) {
  const double n = (t * (1 / kLn2) + kRound) - kRound;
  const double r = (t - n * kLn2Hi) - n * kLn2Lo;
  const double r2 = r * r;
  const double r4 = r2 * r2;
  const double r8 = r4 * r4;
  const double c0 = (1 + r) + r2 * (0.5 + r * (1.0 / 6));
  const double c1 = (1.0 / 24 + r * (1.0 / 120)) + r2 * (1.0 / 720 + r * (1.0 / 5040));
  const double c2 =
      (1.0 / 40320 + r * (1.0 / 362880)) + r2 * (1.0 / 3628800 + r * (1.0 / 39916800));
  const double c3 = 1.0 / 479001600 + r * (1.0 / 6227020800);  // up to r^13 / 13!
  const double p = (c0 + r4 * c1) + r8 * (c2 + r4 * c3);
  return p * twoTo(n);
}

// e^t; overflows to infinity above 709.78 and gives 0 below -745.13. Where expCore
// applies it gives the same bits: scaling by a power of two in steps is exact.
inline double expOf(double t) {
  const bool over = t > 709.782712893384;
  const bool under = t < -745.1332191019412;
  const bool none = t != t;
  const double c = (over | under | none) ? 0.0 : t;
  const double n = (c * (1 / kLn2) + kRound) - kRound;
  const double r = (c - n * kLn2Hi) - n * kLn2Lo;
  const double p = expCore(r);  // n = 0 there: no scaling
  // Two factors keep each in the normal range; the product rounds into subnormals.
  const double half = (n * 0.5 + kRound) - kRound;
  const double e = p * twoTo(half) * twoTo(n - half);
  const double special = over ? 1.0 / 0.0 : 0.0;
  const double value = none ? t : e;
  return (over | under) ? special : value;
}

}  // namespace powdetail

// r^e for a normal positive r and a finite e.
inline double powerOf(double r, double e) {
  return powdetail::expOf(e * powdetail::logOf(r));
}

// powerOf for r and e whose |e log r| < 708: the same bits without the edge checks.
inline double powerInRange(double r, double e) {
  return powdetail::expCore(e * powdetail::logOf(r));
}

}  // namespace velmora::sim
