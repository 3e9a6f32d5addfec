#include "common/random_generator.h"

#include <cmath>
#include <numeric>
#include <utility>

namespace tavrin {

std::uint32_t RandomGenerator::NextValue() {
  state_ = state_ * 22695477u + 1u;
  return (state_ >> 16) & 0x7FFFu;
}

double RandomGenerator::UniformDeviate() {
  return NextValue() / 32768.0;
}

int RandomGenerator::RandomIndex(int n) {
  return static_cast<int>(UniformDeviate() * n);
}

void RandomGenerator::ShuffleOrder(std::vector<int>& order, int n) {
  order.resize(n);
  std::iota(order.begin(), order.end(), 0);
  for (int i = 0; i < n; ++i) std::swap(order[i], order[RandomIndex(n)]);
}

double RandomGenerator::Uniform(double a, double b) {
  return a + UniformDeviate() * (b - a);
}

double RandomGenerator::GaussianDeviate() {
  if (has_kept_gaussian_) {
    has_kept_gaussian_ = false;
    return kept_gaussian_;
  }
  double p = 0.0;
  double q = 0.0;
  double s = 0.0;
  do {
    p = 2.0 * UniformDeviate() - 1.0;
    q = 2.0 * UniformDeviate() - 1.0;
    s = p * p + q * q;
  } while (s >= 1.0 || s == 0.0);
  const double f = std::sqrt(-2.0 * std::log(s) / s);
  kept_gaussian_ = p * f;
  has_kept_gaussian_ = true;
  return q * f;
}

void RandomGenerator::Seed(std::uint32_t seed) {
  has_kept_gaussian_ = false;
  state_ = seed;
  for (int i = 0; i < 20; ++i) NextValue();
}

}  // namespace tavrin
