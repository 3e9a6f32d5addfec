#pragma once

// The benchmarks' own random numbers: splitmix64, so that every peer draws
// exactly the same data and initial weights from the same seed.

#include <cstdint>

namespace tavrin::bench {

class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

  // The next 64-bit value.
  std::uint64_t Next();

  // The top 53 bits of the next value times 2^-53: [0, 1).
  double NextUnit();

  // a + (b - a) * NextUnit().
  double Uniform(double a, double b);

 private:
  std::uint64_t state_;
};

}  // namespace tavrin::bench
