#include "training/levenberg_marquardt.h"

#include <algorithm>
#include <new>

#include "common/lu_solve.h"
#include "common/matrix_kernels.h"
#include "common/vector_kernels.h"
#include "engine_state.h"
#include "training/direction_error.h"

namespace tavrin {

void LevenbergMarquardt::Allocate(EngineState& /*engine*/, std::size_t values) {
  const auto elements = SquareMatrixElements(values);
  if (!elements) throw std::bad_alloc();
  rows_.assign(kBlock * values, 0.0);
  for (std::vector<double>* v : {&saved_, &step_, &jte_, &scale_}) v->assign(values, 0.0);
  order_.assign(values, 0);
  jtj_.assign(*elements, 0.0);
  work_.assign(*elements, 0.0);
  pending_ = 0;
  first_epoch_ = true;
  stepped_ = solved_ = false;
  mu_ = 0.001;
  previous_sum_ = current_sum_ = 0.0;
}

void LevenbergMarquardt::Release() {
  for (std::vector<double>* v : {&rows_, &saved_, &step_, &jte_, &scale_, &jtj_, &work_}) {
    *v = std::vector<double>();
  }
  order_ = std::vector<std::int32_t>();
  pending_ = 0;
}

void LevenbergMarquardt::Flush() {
  AddOuterProductsUpper(jtj_.data(), static_cast<int>(jte_.size()), rows_.data(), pending_);
  pending_ = 0;
}

void LevenbergMarquardt::ClearProducts() {
  std::fill(jtj_.begin(), jtj_.end(), 0.0);
  std::fill(jte_.begin(), jte_.end(), 0.0);
  pending_ = 0;
}

void LevenbergMarquardt::UndoStep(Network& net) {
  if (!stepped_) return;
  ForEachTrainedValue(net, weights_, [&](std::size_t k, double& value) { value = saved_[k]; });
  stepped_ = false;
}

double LevenbergMarquardt::TrainCase(EngineState& engine, Network& net, const double* v) {
  const VariableCoding& c = net.coding;
  const int inputs = c.no_normed_inputs * c.steps;
  LoadCase(net, v, inputs, engine.training.noise, engine.random);
  const double* targets = v + inputs;
  const double error = CaseErrorOf(net, targets, c.no_normed_outputs);
  const int n = static_cast<int>(jte_.size());
  double* row = rows_.data() + static_cast<std::size_t>(pending_) * n;
  std::fill(row, row + n, 0.0);
  // The output's own derivative: the error signal is -1 and there is no
  // paired output delta.
  const Layer& output = net.output_layer();
  const double y = output.activations[0];
  double& delta = deltas_[units_.layer_offset[net.no_layers() - 1]];
  delta = -ActivationDerivative(output.act_fn, y);
  if (OutputDeltaDiverges(delta) ||
      !AccumulateFromOutputDeltas(net, units_, weights_, deltas_, row)) {
    ClearProducts();
    current_sum_ = 0.0;
    UndoStep(net);
    ReportDivergence(engine);
    return 0.0;
  }
  const double e = y - targets[0];
  AddScaled(jte_.data(), e, row, n);
  current_sum_ += e * e;
  if (++pending_ == kBlock) Flush();
  return error;
}

void LevenbergMarquardt::EpochStart(EngineState& /*engine*/, Network& net) {
  current_sum_ = 0.0;
  stepped_ = false;
  if (first_epoch_) {
    previous_sum_ = 0.0;
    mu_ = 0.001;
  } else {
    const int n = static_cast<int>(jte_.size());
    Flush();
    MirrorUpper(jtj_.data(), n);
    work_ = jtj_;
    for (int i = 0; i < n; ++i) work_[static_cast<std::size_t>(i) * n + i] += mu_;
    step_ = jte_;
    solved_ = SolveByLu(work_.data(), n, step_.data(), scale_.data(), order_.data());
    SaveTrainedValues(net, weights_, saved_);
    if (solved_) {
      ForEachTrainedValue(net, weights_, [&](std::size_t k, double& value) { value -= step_[k]; });
      stepped_ = true;
    }
  }
  ClearProducts();
}

void LevenbergMarquardt::EpochUpdate(EngineState& engine, Network& net) {
  Flush();
  if (mu_ == 0.0 || mu_ >= 1.0e12) {
    UndoStep(net);
    RecordError(kLocalMinimum);
    engine.training.converged = true;
    engine.training.abort = true;
    return;
  }
  const double factor = engine.algorithms.levenberg_ratio;
  if (first_epoch_ || (current_sum_ < previous_sum_ && solved_)) {
    mu_ /= factor;
    previous_sum_ = current_sum_;
    first_epoch_ = false;
  } else {
    mu_ *= factor;
    UndoStep(net);
  }
}

}  // namespace tavrin
