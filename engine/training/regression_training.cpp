#include "training/regression_training.h"

#include <algorithm>
#include <vector>

#include "common/messages.h"
#include "common/vector_kernels.h"
#include "engine_state.h"
#include "training/case_errors.h"
#include "training/case_source.h"
#include "training/pair_checks.h"
#include "training/smoothing.h"

namespace tavrin {
namespace {

Status CheckNetwork(const Network& net) {
  if (net.type != NetworkType::kRegression) return Fail(kWrongNetworkType);
  if (net.no_layers() != 4) return Fail(kRegressionFourLayers);
  if (net.layers[2].no_units != net.layers[3].no_units + 1) return Fail(kWrongRegressionUnits);
  // One prepared target per summation unit before the count.
  if (net.layers[3].no_units != net.coding.no_normed_outputs) return Fail(kOutputLayerMismatch);
  if (net.layers[2].connections[1].no_from != net.layers[1].no_units) {
    return Fail(kInconsistentNetwork);
  }
  return Status::Ok();
}

// The radial unit whose centre is nearest to x (the lower one on ties).
int Nearest(const Connection& centres, const double* x, int n) {
  int best = 0;
  double best_distance = 0.0;
  for (int u = 0; u < centres.no_to; ++u) {
    const double d = SquaredDistance(centres.row(u), x, n);
    if (u == 0 || d < best_distance) {
      best = u;
      best_distance = d;
    }
  }
  return best;
}

}  // namespace

Status TrainRegression(EngineState& e, double sigma) {
  if (!CheckSmoothing(sigma)) return Status::Failed();
  if (!CheckTrainingPair(e.active_network, e.active_data_set, true)) return Status::Failed();
  Network& net = *e.active_network;
  const DataSet& data = *e.active_data_set;
  if (!CheckNetwork(net)) return Status::Failed();

  const std::vector<int> cases = UsableTrainingCases(data, net.coding.history());
  e.training.case_errors.assign(data.no_cases, 0.0);
  CaseSource source;
  if (!source.PrepareScaled(net, data, true)) return Status::Failed();

  Layer& radial = net.layers[1];
  SetRadialWidths(radial, sigma);
  const Connection& centres = radial.connections[0];
  Connection& sums = net.layers[2].connections[1];
  std::fill(sums.weights.begin(), sums.weights.end(), 0.0);
  const int outputs = net.layers[3].no_units;
  const int n = std::min(centres.no_from, source.input_size());
  if (radial.no_units > 0) {
    for (int c : cases) {
      const double* v = source.Load(c);
      const int w = Nearest(centres, v, n);
      const double* targets = v + source.input_size();
      for (int k = 0; k < outputs; ++k) sums.at(k, w) += targets[k];
      sums.at(outputs, w) += 1.0;
    }
  }

  RecordProgress(kNetworkTrainedTesting);
  MeasureTrainedNetwork(e, net, data, source);
  return Status::Ok();
}

}  // namespace tavrin
