#include "analysis/fitness_normalisation.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "common/messages.h"

namespace tavrin {
namespace {

constexpr double kOverridingBias = 2.0;

double UsableBias(FitnessNormalisation kind, double bias) {
  switch (kind) {
    case FitnessNormalisation::kBiased:
      return bias;
    case FitnessNormalisation::kScaledMaximising:
    case FitnessNormalisation::kScaledMinimising:
      if (bias > 1.0) return bias;
      RecordWarning(kScaledBiasOverridden);
      break;
    case FitnessNormalisation::kRanked:
      if (bias > 1.0) return bias;
      RecordWarning(kRankedBiasOverridden);
      break;
    case FitnessNormalisation::kGeometricRanked:
      if (bias > 0.0 && bias != 1.0) return bias;
      RecordWarning(kGeometricBiasOverridden);
      break;
    case FitnessNormalisation::kMeanScale:
      if (bias > 1.0) return bias;
      RecordWarning(kMeanScaleBiasOverridden);
      break;
  }
  return kOverridingBias;
}

// Shares in proportion to the weights; equal ones when they are all 0.
void Proportional(std::vector<double>& w) {
  const double sum = std::accumulate(w.begin(), w.end(), 0.0);
  for (double& x : w) x = sum > 0.0 ? x / sum : 1.0 / static_cast<double>(w.size());
}

// rank[i] = 0 for the lowest raw value, ties in member order.
std::vector<double> Ranks(const std::vector<double>& raw) {
  std::vector<std::size_t> order(raw.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return raw[a] < raw[b]; });
  std::vector<double> rank(raw.size());
  for (std::size_t p = 0; p < order.size(); ++p) rank[order[p]] = static_cast<double>(p);
  return rank;
}

}  // namespace

Status NormaliseFitness(FitnessNormalisation kind, double bias, const std::vector<double>& raw,
                        std::vector<double>* normalised) {
  const double b = UsableBias(kind, bias);
  const auto n = static_cast<double>(raw.size());
  const auto [low, high] = std::minmax_element(raw.begin(), raw.end());
  const double m = raw.empty() ? 0.0 : *low;
  const double f = raw.empty() ? 0.0 : *high;
  std::vector<double> w(raw.size());
  switch (kind) {
    case FitnessNormalisation::kBiased:
      for (std::size_t i = 0; i < raw.size(); ++i) {
        w[i] = raw[i] + b;
        if (!(w[i] > 0.0)) return Fail(kBiasedFitnessNotPositive);
      }
      break;
    case FitnessNormalisation::kScaledMaximising:
    case FitnessNormalisation::kScaledMinimising: {
      const bool maximising = kind == FitnessNormalisation::kScaledMaximising;
      // Linear in raw: the worst gets F - m, the best b (F - m).
      for (std::size_t i = 0; i < raw.size(); ++i) {
        const double better = maximising ? raw[i] - m : f - raw[i];
        w[i] = (b - 1.0) * better + (f - m);
      }
      break;
    }
    case FitnessNormalisation::kRanked: {
      const std::vector<double> rank = Ranks(raw);
      for (std::size_t i = 0; i < raw.size(); ++i) {
        w[i] = n > 1.0 ? b - (b - 1.0) * rank[i] / (n - 1.0) : 1.0;
      }
      break;
    }
    case FitnessNormalisation::kGeometricRanked: {
      // Counted so that the largest weight is 1 and nothing overflows.
      const std::vector<double> rank = Ranks(raw);
      for (std::size_t i = 0; i < raw.size(); ++i) {
        w[i] = b > 1.0 ? std::pow(b, -rank[i]) : std::pow(b, n - 1.0 - rank[i]);
      }
      break;
    }
    case FitnessNormalisation::kMeanScale: {
      // Goodness F - raw scaled about its mean so the best gets b times the
      // mean; weights below 0 count as 0.
      const double mean = f - std::accumulate(raw.begin(), raw.end(), 0.0) / n;
      const double top = f - m;
      const double slope = top > mean ? (b - 1.0) * mean / (top - mean) : 0.0;
      for (std::size_t i = 0; i < raw.size(); ++i) {
        w[i] = std::max(0.0, mean + slope * ((f - raw[i]) - mean));
      }
      break;
    }
  }
  Proportional(w);
  *normalised = std::move(w);
  return Status::Ok();
}

}  // namespace tavrin
