#include "analysis/lambda_search.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tavrin {
namespace {

constexpr double kBinWidth = 1.0;
constexpr double kSmoothing = 0.8;
constexpr double kPressure = 5.0;

}  // namespace

double LambdaOfExponent(double exponent) {
  return exponent > 9.0 ? 0.0 : std::pow(10.0, -(exponent / 3.0 + 2.0));
}

void LambdaSearch::Record(double exponent, double score) {
  const int bin = std::clamp(static_cast<int>(exponent / kBinWidth), 0, kLambdaBins - 1);
  const int count = ++counts_[bin];
  const double alpha = count * (1.0 - kSmoothing) <= 1.0 ? 1.0 / count : kSmoothing;
  scores_[bin] = (1.0 - alpha) * scores_[bin] + alpha * score;

  // Empty bins between `bin` and `other` (-1 or kLambdaBins when none holds
  // results on that side) take the nearer one's score.
  const auto fill = [&](int step) {
    int other = bin + step;
    while (other >= 0 && other < kLambdaBins && counts_[other] == 0) other += step;
    const bool found = other >= 0 && other < kLambdaBins;
    for (int b = bin + step; b != other; b += step) {
      const bool other_nearer = found && std::abs(other - b) < std::abs(b - bin);
      scores_[b] = other_nearer ? scores_[other] : scores_[bin];
    }
  };
  fill(-1);
  fill(+1);
}

std::array<double, kLambdaBins> LambdaSearch::Probabilities() const {
  std::array<double, kLambdaBins> p;
  const auto [low, high] = std::minmax_element(scores_.begin(), scores_.end());
  const double min = *low;
  const double max = *high;
  if (max - min < 1e-9) {
    p.fill(1.0 / kLambdaBins);
    return p;
  }
  const double n = kLambdaBins;
  const double sum = std::accumulate(scores_.begin(), scores_.end(), 0.0);
  const double denominator = kPressure * max * n - n * min + (1.0 - kPressure) * sum;
  for (int b = 0; b < kLambdaBins; ++b) {
    p[b] = ((1.0 - kPressure) * scores_[b] + kPressure * max - min) / denominator;
  }
  return p;
}

double LambdaSearch::Propose(RandomGenerator& random) const {
  const std::array<double, kLambdaBins> p = Probabilities();
  const double r = random.UniformDeviate();
  int chosen = kLambdaBins - 1;
  double running = 0.0;
  for (int b = 0; b < kLambdaBins; ++b) {
    running += p[b];
    if (running > r) {
      chosen = b;
      break;
    }
  }
  return chosen * kBinWidth + random.UniformDeviate() * kBinWidth;
}

}  // namespace tavrin
