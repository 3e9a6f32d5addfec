#include "training/principal_components.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <numeric>
#include <vector>

#include "common/matrix_kernels.h"
#include "common/messages.h"
#include "common/symmetric_eigen.h"
#include "common/vector_kernels.h"
#include "engine_state.h"
#include "network/scale_factors.h"
#include "training/case_errors.h"
#include "training/case_source.h"
#include "training/pair_checks.h"

namespace tavrin {
namespace {

Status CheckNetwork(const Network& net) {
  if (net.no_layers() < 2) return Fail(kTrainingNeedsTwoLayers);
  if (net.layers[1].psp_fn != PspFunction::kLinear) return Fail(kPcaNeedsLinearLayer);
  if (net.layers[1].connections[0].no_from != net.layers[0].no_units) {
    return Fail(kInconsistentNetwork);
  }
  return Status::Ok();
}

// The full n x n scatter matrix of the cases' first n prepared values. The
// centred values are kept input by input, so each entry is a long dot
// product over the cases.
std::vector<double> Scatter(CaseSource& source, const std::vector<int>& cases, int n) {
  const std::size_t count = cases.size();
  std::vector<double> mean(n, 0.0);
  for (int c : cases) AddScaled(mean.data(), 1.0, source.Load(c), n);
  for (double& m : mean) m /= static_cast<double>(count);
  std::vector<double> centred(static_cast<std::size_t>(n) * count);
  for (std::size_t k = 0; k < count; ++k) {
    const double* x = source.Load(cases[k]);
    for (int i = 0; i < n; ++i) centred[i * count + k] = x[i] - mean[i];
  }
  std::vector<double> scatter(static_cast<std::size_t>(n) * n);
  const int length = static_cast<int>(count);
  for (int i = 0; i < n; ++i) {
    const double* x = centred.data() + i * count;
    for (int j = i; j < n; ++j) {
      scatter[static_cast<std::size_t>(i) * n + j] = Dot(x, centred.data() + j * count, length);
    }
  }
  MirrorUpper(scatter.data(), n);
  return scatter;
}

// Unit order of the components: for each place the largest remaining value,
// the first found on ties.
std::vector<int> LargestFirst(const std::vector<double>& values) {
  std::vector<int> order(values.size());
  std::iota(order.begin(), order.end(), 0);
  for (std::size_t i = 0; i < order.size(); ++i) {
    std::size_t best = i;
    for (std::size_t j = i + 1; j < order.size(); ++j) {
      if (values[order[j]] > values[order[best]]) best = j;
    }
    std::swap(order[i], order[best]);
  }
  return order;
}

}  // namespace

Status TrainPrincipalComponents(EngineState& e) {
  if (!CheckTrainingPair(e.active_network, e.active_data_set, false)) return Status::Failed();
  Network& net = *e.active_network;
  const DataSet& data = *e.active_data_set;
  if (!CheckNetwork(net)) return Status::Failed();

  const int n = net.layers[0].no_units;
  VariableCoding before = net.coding;
  std::vector<double> vectors;
  std::vector<double> values(n, 0.0);
  try {
    CalculateScaleFactors(net.coding, data, false);
    CaseSource source;
    if (!source.Prepare(net, data, false) || source.input_size() < n) {
      net.coding = std::move(before);
      return source.input_size() < n ? Fail(kInconsistentNetwork) : Status::Failed();
    }
    RecordProgress(kPcaStageScatter);
    vectors = Scatter(source, UsableTrainingCases(data, net.coding.history()), n);
    RecordProgress(kPcaStageReduce);
    std::vector<double> scratch(2 * static_cast<std::size_t>(n));
    RecordProgress(kPcaStageEigen);
    if (!SymmetricEigen(vectors.data(), n, values.data(), scratch.data())) {
      net.coding = std::move(before);
      return Fail(kPcaNotConverged);
    }
  } catch (const std::bad_alloc&) {
    net.coding = std::move(before);
    return Fail(kNotEnoughMemory);
  }

  RecordProgress(kPcaStageSort);
  const std::vector<int> order = LargestFirst(values);
  std::vector<double> sorted(n);
  for (int i = 0; i < n; ++i) sorted[i] = values[order[i]];
  Layer& layer = net.layers[1];
  Connection& block = layer.connections[0];
  for (int u = 0; u < layer.no_units; ++u) {
    double* row = block.row(u);
    if (u < n) {
      const double* component = vectors.data() + static_cast<std::size_t>(order[u]) * n;
      std::copy(component, component + n, row);
    } else {
      std::fill(row, row + n, 0.0);
    }
  }
  std::fill(layer.thresholds.begin(), layer.thresholds.end(), 0.0);
  e.pca_eigenvalues = std::move(sorted);
  return Status::Ok();
}

}  // namespace tavrin
