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

// The steps of BoundedExp, which LogisticLayer takes a stretch of values
// through together.
inline constexpr double kExpShifter = 0x1.8p52;  // adding it rounds to an integer

// x / ln 2 + kExpShifter: its low bits hold n.
inline double ExpShifted(double x) {
  constexpr double kLog2e = 1.4426950408889634;
  return x * kLog2e + kExpShifter;
}

// r = x - n ln 2.
inline double ExpRemainder(double x, double shifted) {
  constexpr double kLn2High = 0.693147180369123816490;    // ln 2 in two parts, so
  constexpr double kLn2Low = 1.90821492927058770002e-10;  // n * kLn2High is exact
  const double n = shifted - kExpShifter;
  return (x - n * kLn2High) - n * kLn2Low;
}

// e^r = ((kExpFirstTerm r + kExpTerms[0]) r + kExpTerms[1]) r + ...
inline constexpr double kExpFirstTerm = 1.0 / 6227020800.0;  // 1/13!
inline constexpr double kExpTerms[] = {1.0 / 479001600.0,
                                       1.0 / 39916800.0,
                                       1.0 / 3628800.0,
                                       1.0 / 362880.0,
                                       1.0 / 40320.0,
                                       1.0 / 5040.0,
                                       1.0 / 720.0,
                                       1.0 / 120.0,
                                       1.0 / 24.0,
                                       1.0 / 6.0,
                                       0.5,
                                       1.0,
                                       1.0};

// The low bits of `shifted` hold n; shifted into the exponent field they
// scale e^r by 2^n.
inline double ExpScaled(double exp_r, double shifted) {
  const std::uint64_t scale = std::bit_cast<std::uint64_t>(shifted) << 52;
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(exp_r) + scale);
}

inline double BoundedExp(double x) {
  const double t = ExpShifted(x);
  const double r = ExpRemainder(x, t);
  double p = kExpFirstTerm;
  for (double k : kExpTerms) p = p * r + k;
  return ExpScaled(p, t);
}

// The steps of Logistic around the exponential.
inline double LogisticClamped(double x) {
  return std::min(std::max(x, -100.0), 100.0);
}
inline double LogisticLimited(double x, double y) {
  y = x > 100.0 ? 1.0 : y;
  y = x < -100.0 ? 0.0 : y;
  return y;
}

// The logistic 1 / (1 + e^-x), 1 above 100 and 0 below -100. Selects rather
// than branches, so that a loop of it vectorises.
inline double Logistic(double x) {
  return LogisticLimited(x, 1.0 / (1.0 + BoundedExp(-LogisticClamped(x))));
}

}  // namespace tavrin
