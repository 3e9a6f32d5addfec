// Built with -ffp-contract=off: a fused multiply-add in Uniform() changes the
// last bit of some values, and the reference figures were made without one.

#include "splitmix64.h"

namespace tavrin::bench {

std::uint64_t SplitMix64::Next() {
  state_ += 0x9E3779B97F4A7C15u;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

double SplitMix64::NextUnit() {
  constexpr double kTwoToMinus53 = 1.0 / 9007199254740992.0;
  return static_cast<double>(Next() >> 11) * kTwoToMinus53;
}

double SplitMix64::Uniform(double a, double b) {
  return a + (b - a) * NextUnit();
}

}  // namespace tavrin::bench
