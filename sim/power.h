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
// log m = 2 atanh(s) with s = (m - 1) / (m + 1), |s| < 0.172.
inline double logOf(double r) {
  const uint64_t bits = std::bit_cast<uint64_t>(r);
  double m = std::bit_cast<double>((bits & 0x000fffffffffffffull) | 0x3ff0000000000000ull);
  double k = std::bit_cast<double>((bits >> 52) | 0x4330000000000000ull) - (0x1p52 + 1023);
  // Selects between values already computed, so the loop stays free of branches.
  const bool high = m > 0x1.6a09e667f3bcdp0;
  const double halfM = m * 0.5;
  const double nextK = k + 1;
  m = high ? halfM : m;
  k = high ? nextK : k;
  const double s = (m - 1) / (m + 1);
  const double z = s * s;
  // Estrin's scheme: short dependency chains, so vector lanes overlap in the core.
  const double z2 = z * z;
  const double z4 = z2 * z2;
  const double z8 = z4 * z4;
  const double b0 = (1.0 / 3 + z * (1.0 / 5)) + z2 * (1.0 / 7 + z * (1.0 / 9));
  const double b1 = (1.0 / 11 + z * (1.0 / 13)) + z2 * (1.0 / 15 + z * (1.0 / 17));
  const double b2 = (1.0 / 19 + z * (1.0 / 21)) + z2 * (1.0 / 23);
  const double p = (b0 + z4 * b1) + z8 * b2;
  const double logM = 2 * s + 2 * s * (z * p);
  return (k * kLn2Hi + logM) + k * kLn2Lo;
}

// e^t; overflows to infinity above 709.78 and gives 0 below -745.13.
inline double expOf(double t) {
  const bool over = t > 709.782712893384;
  const bool under = t < -745.1332191019412;
  const bool none = t != t;
  const double c = (over | under | none) ? 0.0 : t;
  const double n = (c * (1 / kLn2) + kRound) - kRound;
  const double r = (c - n * kLn2Hi) - n * kLn2Lo;
  const double r2 = r * r;
  const double r4 = r2 * r2;
  const double r8 = r4 * r4;
  const double c0 = (1 + r) + r2 * (0.5 + r * (1.0 / 6));
  const double c1 = (1.0 / 24 + r * (1.0 / 120)) + r2 * (1.0 / 720 + r * (1.0 / 5040));
  const double c2 =
      (1.0 / 40320 + r * (1.0 / 362880)) + r2 * (1.0 / 3628800 + r * (1.0 / 39916800));
  const double c3 = 1.0 / 479001600 + r * (1.0 / 6227020800);  // up to r^13 / 13!
  const double p = (c0 + r4 * c1) + r8 * (c2 + r4 * c3);
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

}  // namespace velmora::sim
