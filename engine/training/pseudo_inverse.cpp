#include "training/pseudo_inverse.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

#include "common/least_squares.h"
#include "common/messages.h"
#include "engine_state.h"
#include "network/scale_factors.h"
#include "network/stored_network.h"
#include "training/case_errors.h"
#include "training/case_source.h"
#include "training/gradient.h"
#include "training/pair_checks.h"

namespace tavrin {
namespace {

void Stage(int number) {
  RecordProgress(WithNumber(kPseudoInverseStage, number));
}

Status CheckNetwork(const Network& net) {
  if (net.no_layers() < 2) return Fail(kTrainingNeedsTwoLayers);
  const Layer& out = net.output_layer();
  if (out.act_fn != ActivationFunction::kLinear || out.psp_fn != PspFunction::kLinear) {
    return Fail(kLinearOutputLayerNeeded);
  }
  // One prepared target per output unit, one weight per hidden unit.
  if (out.no_units != net.coding.no_normed_outputs) return Fail(kOutputLayerMismatch);
  const int last = net.no_layers() - 1;
  if (out.connections[last - 1].no_from != net.layers[last - 1].no_units) {
    return Fail(kInconsistentNetwork);
  }
  return Status::Ok();
}

// Solves the output layer into `solution` (per output unit: m weights, then
// the threshold) from the prepared cases.
void Solve(EngineState& e, Network& net, const DataSet& data, CaseSource& source,
           std::vector<double>& solution) {
  const int last = net.no_layers() - 1;
  const int m = net.layers[last - 1].no_units;
  const int outputs = net.output_layer().no_units;
  const std::vector<int> cases = UsableTrainingCases(data, net.coding.history());
  const int rows = static_cast<int>(cases.size());
  const auto at = [rows](int column, int r) { return static_cast<std::size_t>(column) * rows + r; };

  Stage(1);
  std::vector<double> columns(static_cast<std::size_t>(m + 1) * rows);
  std::vector<double> targets(static_cast<std::size_t>(outputs) * rows);
  const double* hidden = net.layers[last - 1].activations.data();
  for (int r = 0; r < rows; ++r) {
    const double* v = source.Load(cases[r]);
    LoadCase(net, v, source.input_size(), 0.0, e.random);
    for (int j = 0; j < m; ++j) columns[at(j, r)] = hidden[j];
    columns[at(m, r)] = -1.0;
    for (int k = 0; k < outputs; ++k) targets[at(k, r)] = v[source.input_size() + k];
  }

  Stage(2);
  LeastSquares least_squares;
  least_squares.Factor(std::move(columns), rows, m + 1);
  Stage(3);
  solution.assign(static_cast<std::size_t>(outputs) * (m + 1), 0.0);
  for (int k = 0; k < outputs; ++k) {
    least_squares.Solve(targets.data() + at(k, 0), solution.data() + std::size_t(k) * (m + 1));
  }
  Stage(4);
}

}  // namespace

Status TrainPseudoInverse(EngineState& e) {
  if (!CheckTrainingPair(e.active_network, e.active_data_set, true)) return Status::Failed();
  Network& net = *e.active_network;
  const DataSet& data = *e.active_data_set;
  if (!CheckNetwork(net)) return Status::Failed();

  VariableCoding before = net.coding;
  std::vector<double> solution;
  CaseSource source;
  try {
    e.training.case_errors.assign(data.no_cases, 0.0);
    CalculateScaleFactors(net.coding, data, true);
    if (!source.Prepare(net, data, true)) {
      net.coding = std::move(before);
      return Status::Failed();
    }
    Solve(e, net, data, source, solution);
  } catch (const std::bad_alloc&) {
    net.coding = std::move(before);
    ClearActivations(net);
    return Fail(kNotEnoughMemory);
  }

  Stage(5);
  Layer& out = net.output_layer();
  Connection& block = out.connections[net.no_layers() - 2];
  const int m = block.no_from;
  for (int k = 0; k < out.no_units; ++k) {
    const double* x = solution.data() + std::size_t(k) * (m + 1);
    std::copy(x, x + m, block.row(k));
    out.thresholds[k] = x[m];
  }
  Stage(6);
  MeasureTrainedNetwork(e, net, data, source);
  return Status::Ok();
}

}  // namespace tavrin
