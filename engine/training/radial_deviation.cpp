#include "training/radial_deviation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/vector_kernels.h"
#include "engine_state.h"
#include "training/radial_layer.h"

namespace tavrin {
namespace {

Status CheckDeviation(const Network* net, double deviation) {
  if (!CheckRadialNetwork(net)) return Status::Failed();
  if (!(deviation > 0.0) || !std::isfinite(deviation)) return Fail(kDeviationNotPositive);
  return Status::Ok();
}

void SetThresholds(EngineState& e, double threshold) {
  std::vector<double>& thresholds = e.active_network->layers[1].thresholds;
  std::fill(thresholds.begin(), thresholds.end(), threshold);
  e.training.best = BestCopy();
}

}  // namespace

Status SetExplicitDeviation(EngineState& e, double deviation) {
  if (!CheckDeviation(e.active_network, deviation)) return Status::Failed();
  e.algorithms.deviation = deviation;
  SetThresholds(e, deviation);
  return Status::Ok();
}

Status SetIsotropicDeviation(EngineState& e, double deviation) {
  if (!CheckDeviation(e.active_network, deviation)) return Status::Failed();
  const Connection& centres = e.active_network->layers[1].connections[0];
  double largest = 0.0;
  for (int u = 0; u < centres.no_to; ++u) {
    for (int v = u + 1; v < centres.no_to; ++v) {
      largest = std::max(largest, SquaredDistance(centres.row(u), centres.row(v), centres.no_from));
    }
  }
  if (!(largest > 0.0)) return Fail(kIsotropicNeedsDistinctCentres);
  e.algorithms.deviation = deviation;
  SetThresholds(e, centres.no_to / (deviation * deviation * largest));
  return Status::Ok();
}

Status SetKNearestDeviation(EngineState& e, int k) {
  const double deviation = e.algorithms.deviation;
  if (!CheckDeviation(e.active_network, deviation)) return Status::Failed();
  if (k < 1) return Fail(kNeighboursNotPositive);
  Layer& layer = e.active_network->layers[1];
  const Connection& centres = layer.connections[0];
  std::vector<double> thresholds(centres.no_to);
  std::vector<double> distances;
  distances.reserve(centres.no_to);
  for (int u = 0; u < centres.no_to; ++u) {
    distances.clear();
    for (int v = 0; v < centres.no_to; ++v) {
      if (v == u) continue;
      const double d = SquaredDistance(centres.row(u), centres.row(v), centres.no_from);
      if (d > 0.0) distances.push_back(d);
    }
    const int count = std::min<int>(k, static_cast<int>(distances.size()));
    std::partial_sort(distances.begin(), distances.begin() + count, distances.end());
    double sum = 0.0;
    for (int i = 0; i < count; ++i) sum += distances[i];
    thresholds[u] = count > 0 ? count / (2.0 * deviation * deviation * sum)
                              : 1.0 / (2.0 * deviation * deviation);
  }
  layer.thresholds = std::move(thresholds);
  e.training.best = BestCopy();
  return Status::Ok();
}

}  // namespace tavrin
