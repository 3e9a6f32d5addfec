#pragma once

#include <cstdint>
#include <vector>

namespace tavrin {

// The engine's one source of random numbers: a 32-bit linear congruential
// generator (state = state * 22695477 + 1), of which each draw uses bits 16..30.
// Every random choice of the engine goes through it, so runs are repeatable.
class RandomGenerator {
 public:
  // The next 15-bit value, 0 .. 32767.
  std::uint32_t NextValue();

  // Uniform in [0, 1): a 15-bit value divided by 32768.
  double UniformDeviate();

  // Truncation of UniformDeviate() * n: 0 .. n-1 for n >= 1.
  int RandomIndex(int n);

  // a + UniformDeviate() * (b - a).
  double Uniform(double a, double b);

  // The engine's shuffle of n items: the identity order, then each entry i
  // in turn exchanged with entry RandomIndex(n).
  void ShuffleOrder(std::vector<int>& order, int n);

  // Standard normal deviate by the polar method; every second call returns
  // the value kept from the call before.
  double GaussianDeviate();

  // Clears the kept Gaussian value, sets the state and discards 20 values.
  void Seed(std::uint32_t seed);

  std::uint32_t state() const { return state_; }
  void set_state(std::uint32_t state) { state_ = state; }

 private:
  std::uint32_t state_ = 1;
  bool has_kept_gaussian_ = false;
  double kept_gaussian_ = 0.0;
};

}  // namespace tavrin
