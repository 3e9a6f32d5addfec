#include "training/probabilistic_training.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "common/messages.h"
#include "engine_state.h"
#include "training/case_errors.h"
#include "training/case_source.h"
#include "training/pair_checks.h"
#include "training/smoothing.h"

namespace tavrin {
namespace {

// The data set's one output variable, or -1.
int OnlyOutputVariable(const DataSet& data) {
  if (data.no_outputs != 1) return -1;
  for (int v = 0; v < data.no_variables; ++v) {
    if (data.is_output[v]) return v;
  }
  return -1;
}

Status CheckNetwork(const Network& net, const DataSet& data, int* output_variable) {
  if (net.type != NetworkType::kProbabilistic) return Fail(kWrongNetworkType);
  if (net.no_layers() < 3) return Fail(kThreeLayersNeeded);
  const int v = OnlyOutputVariable(data);
  const int classes = v < 0 ? 0 : static_cast<int>(data.nominals[v].size());
  if (classes == 0 || classes != net.coding.no_nominals(net.coding.no_inputs)) {
    return Fail(kPnnOutputVariable);
  }
  if (net.layers[2].no_units != classes) return Fail(kPnnClassUnits);
  if (net.no_layers() == 4 && net.layers[3].no_units != net.layers[2].no_units) {
    return Fail(kLossLayerNotSquare);
  }
  if (net.layers[1].connections[0].no_from != net.layers[0].no_units ||
      net.layers[2].connections[1].no_from != net.layers[1].no_units) {
    return Fail(kInconsistentNetwork);
  }
  *output_variable = v;
  return Status::Ok();
}

// The 1-based class of a case, or 0 when its value is missing or no class.
int ClassOf(const DataSet& data, int c, int v, int classes) {
  const double value = data.at(c, v);
  return value >= 1.0 && value < classes + 1.0 ? static_cast<int>(value) : 0;
}

}  // namespace

Status TrainProbabilistic(EngineState& e, double sigma, const double* priors) {
  if (!CheckSmoothing(sigma)) return Status::Failed();
  if (!CheckTrainingPair(e.active_network, e.active_data_set, true)) return Status::Failed();
  Network& net = *e.active_network;
  const DataSet& data = *e.active_data_set;
  int v = 0;
  if (!CheckNetwork(net, data, &v)) return Status::Failed();
  const int classes = net.layers[2].no_units;
  bool use_priors = false;
  if (priors) {
    for (int i = 0; i < classes; ++i) {
      if (!(priors[i] >= 0.0) || !std::isfinite(priors[i])) return Fail(kPriorOutOfRange);
      use_priors = use_priors || priors[i] != 0.0;
    }
  }
  Layer& radial = net.layers[1];
  const int units = radial.no_units;
  std::vector<int> cases = UsableTrainingCases(data, net.coding.history());
  if (static_cast<int>(cases.size()) < units) return Fail(kFewerCasesThanRadialUnits);
  if (static_cast<int>(cases.size()) > units) RecordWarning(kExcessTrainingCases);
  cases.resize(units);

  e.training.case_errors.assign(data.no_cases, 0.0);
  CaseSource source;
  if (!source.PrepareScaled(net, data, false)) return Status::Failed();

  std::vector<int> count(classes + 1, 0);
  for (int c : cases) ++count[ClassOf(data, c, v, classes)];
  Connection& centres = radial.connections[0];
  Connection& sums = net.layers[2].connections[1];
  std::fill(sums.weights.begin(), sums.weights.end(), 0.0);
  const int n = std::min(centres.no_from, source.input_size());
  for (int k = 0; k < units; ++k) {
    const double* x = source.Load(cases[k]);
    std::copy(x, x + n, centres.row(k));
    const int i = ClassOf(data, cases[k], v, classes);
    if (i == 0) continue;
    sums.at(i - 1, k) = use_priors ? priors[i - 1] / count[i] : 1.0;
  }
  SetRadialWidths(radial, sigma);

  RecordProgress(kNetworkTrainedTesting);
  MeasureTrainedNetwork(e, net, data, source);
  return Status::Ok();
}

}  // namespace tavrin
