#pragma once

// e^x for |x| <= 709, written so that the compiler can vectorise a loop of
// it and so that every instruction-set version computes the same bits (no
// table, no fused multiply-add): x = n ln2 + r with |r| <= ln2/2, e^r by a
// degree-13 polynomial, 2^n put straight into the exponent bits. Accurate to
// about one unit in the last place.

#include <algorithm>
#include <bit>
#include <cstdint>

namespace tavrin {

inline double BoundedExp(double x) {
  constexpr double kLog2e = 1.4426950408889634;
  constexpr double kLn2High = 0.693147180369123816490;    // ln 2 in two parts, so
  constexpr double kLn2Low = 1.90821492927058770002e-10;  // n * kLn2High is exact
  constexpr double kShifter = 0x1.8p52;                   // adding it rounds to an integer
  const double t = x * kLog2e + kShifter;
  const double n = t - kShifter;
  const double r = (x - n * kLn2High) - n * kLn2Low;
  double p = 1.0 / 6227020800.0;  // 1/13!
  p = p * r + 1.0 / 479001600.0;
  p = p * r + 1.0 / 39916800.0;
  p = p * r + 1.0 / 3628800.0;
  p = p * r + 1.0 / 362880.0;
  p = p * r + 1.0 / 40320.0;
  p = p * r + 1.0 / 5040.0;
  p = p * r + 1.0 / 720.0;
  p = p * r + 1.0 / 120.0;
  p = p * r + 1.0 / 24.0;
  p = p * r + 1.0 / 6.0;
  p = p * r + 0.5;
  p = p * r + 1.0;
  p = p * r + 1.0;
  // The low bits of t hold n; shifted into the exponent field they scale p by 2^n.
  const std::uint64_t scale = std::bit_cast<std::uint64_t>(t) << 52;
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(p) + scale);
}

// The logistic 1 / (1 + e^-x), 1 above 100 and 0 below -100. Selects rather
// than branches, so that a loop of it vectorises.
inline double Logistic(double x) {
  const double clamped = std::min(std::max(x, -100.0), 100.0);
  double y = 1.0 / (1.0 + BoundedExp(-clamped));
  y = x > 100.0 ? 1.0 : y;
  y = x < -100.0 ? 0.0 : y;
  return y;
}

}  // namespace tavrin
