#include "training/centre_assignment.h"

#include <algorithm>
#include <new>
#include <utility>

#include "common/stop_request.h"
#include "common/vector_kernels.h"
#include "engine_state.h"
#include "network/scale_factors.h"
#include "training/case_source.h"
#include "training/radial_layer.h"

namespace tavrin {
namespace {

// The shared checks; then the input factors recomputed and the training
// cases' inputs gathered, the coding put back when that fails.
Status Prepare(EngineState& e, TrainingInputs& inputs) {
  const DataSet* data = e.active_data_set;
  Network* net = e.active_network;
  if (!data) return Fail(kNoActiveDataSet);
  if (!net) return Fail(kNoActiveNetwork);
  const int cases = CountCasesFrom(*data, net->coding.history(), Subset::kTraining);
  if (cases == 0) return Fail(kNoTrainingCases);
  if (net->no_layers() < 2) return Fail(kTrainingNeedsTwoLayers);
  if (net->layers[1].psp_fn != PspFunction::kRadial) RecordWarning(kCentreAssignmentNote);
  if (cases < net->layers[1].no_units) return Fail(kFewerCasesThanRadialUnits);
  if (!VariablesAgree(net->coding, *data, false)) return Fail(kInputMismatch);
  const Connection& centres = net->layers[1].connections[0];
  if (centres.no_from != net->layers[0].no_units || centres.no_to != net->layers[1].no_units) {
    return Fail(kInconsistentNetwork);
  }
  try {
    VariableCoding before = net->coding;
    CalculateScaleFactors(net->coding, *data, false);
    if (!GatherTrainingInputs(*net, *data, inputs)) {
      net->coding = std::move(before);
      return Status::Failed();
    }
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  return Status::Ok();
}

void SetCentre(Network& net, int unit, const double* x) {
  Connection& centres = net.layers[1].connections[0];
  std::copy(x, x + centres.no_from, centres.row(unit));
}

}  // namespace

Status AssignCentresBySubsample(EngineState& e) {
  TrainingInputs inputs;
  if (!Prepare(e, inputs)) return Status::Failed();
  Network& net = *e.active_network;
  const DataSet& data = *e.active_data_set;
  const int units = net.layers[1].no_units;
  // Which of the gathered rows each unit takes.
  std::vector<int> picked;
  std::vector<int> order;
  try {
    e.random.ShuffleOrder(order, data.no_cases);
    if (inputs.count() > units) {
      std::vector<int> position(data.no_cases, -1);
      for (int i = 0; i < inputs.count(); ++i) position[inputs.cases[i]] = i;
      for (int c : order) {
        if (static_cast<int>(picked.size()) == units) break;
        if (position[c] >= 0) picked.push_back(position[c]);
      }
    } else {
      for (int i = 0; i < units; ++i) picked.push_back(i);
    }
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  const int output = FirstOutputVariable(data);
  const bool nominal = output >= 0 && !data.nominals[output].empty();
  for (int u = 0; u < units; ++u) {
    SetCentre(net, u, inputs.row(picked[u]));
    if (!nominal) continue;
    const double value = data.at(inputs.cases[picked[u]], output);
    net.layers[1].classes[u] = IsMissing(value) ? 0.0 : value;
  }
  e.training.best = BestCopy();
  return Status::Ok();
}

int KMeansPasses(const double* points, int count, int n, double* centres, int k, int max_passes,
                 std::vector<int>& nearest, bool* stopped) {
  std::vector<int> previous(count, -1);
  std::vector<double> sums(static_cast<std::size_t>(k) * n);
  std::vector<int> members(k);
  nearest.assign(count, 0);
  int passes = 0;
  bool settled = false;
  while (passes < max_passes) {
    ++passes;
    NearestRows(points, count, centres, k, n, nearest.data());
    if (nearest == previous) {
      settled = true;
      break;
    }
    std::fill(sums.begin(), sums.end(), 0.0);
    std::fill(members.begin(), members.end(), 0);
    for (int p = 0; p < count; ++p) {
      double* sum = sums.data() + static_cast<std::size_t>(nearest[p]) * n;
      const double* x = points + static_cast<std::size_t>(p) * n;
      for (int i = 0; i < n; ++i) sum[i] += x[i];
      ++members[nearest[p]];
    }
    for (int c = 0; c < k; ++c) {
      double* centre = centres + static_cast<std::size_t>(c) * n;
      const double* sum = sums.data() + static_cast<std::size_t>(c) * n;
      const double m = members[c];
      for (int i = 0; i < n; ++i) centre[i] = members[c] > 0 ? sum[i] / m : 0.0;
    }
    previous.swap(nearest);
    if (stopped != nullptr && TakeStopRequest()) {
      *stopped = true;
      break;
    }
  }
  if (!settled && passes > 0) nearest.swap(previous);
  return passes;
}

Status AssignCentresByKMeans(EngineState& e, int max_passes) {
  TrainingInputs inputs;
  if (!Prepare(e, inputs)) return Status::Failed();
  Network& net = *e.active_network;
  Connection& centres = net.layers[1].connections[0];
  const int units = centres.no_to;
  try {
    // Worked on a copy: running out of memory part way leaves the centres.
    std::vector<double> moved(
        inputs.values.begin(),
        inputs.values.begin() + static_cast<std::ptrdiff_t>(units) * inputs.width);
    std::vector<int> nearest;
    e.training.stopped_by_request = false;
    KMeansPasses(inputs.values.data(), inputs.count(), inputs.width, moved.data(), units,
                 max_passes, nearest, &e.training.stopped_by_request);
    std::copy(moved.begin(), moved.end(), centres.weights.begin());
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  RecordWarning(kTrainingFinished);
  e.training.best = BestCopy();
  return Status::Ok();
}

}  // namespace tavrin
