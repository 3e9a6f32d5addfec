#include "training/quasi_newton.h"

#include <algorithm>
#include <new>

#include "common/matrix_kernels.h"
#include "common/vector_kernels.h"
#include "engine_state.h"
#include "training/direction_error.h"
#include "training/line_search.h"

namespace tavrin {

void QuasiNewton::AllocateOwn(EngineState& /*engine*/, std::size_t values) {
  const auto elements = SquareMatrixElements(values);
  if (!elements) throw std::bad_alloc();
  for (std::vector<double>* v :
       {&previous_gradient_, &direction_, &saved_, &change_, &h_change_, &u_}) {
    v->assign(values, 0.0);
  }
  h_.assign(*elements, 0.0);
  reset_ = true;
}

void QuasiNewton::ReleaseOwn() {
  for (std::vector<double>* v :
       {&previous_gradient_, &direction_, &saved_, &change_, &h_change_, &u_, &h_}) {
    *v = std::vector<double>();
  }
  reset_ = true;
}

void QuasiNewton::Update() {
  const std::vector<double>& g = gradient_;
  const int n = static_cast<int>(g.size());
  for (int i = 0; i < n; ++i) change_[i] = g[i] - previous_gradient_[i];
  previous_gradient_ = g;
  SymmetricMatrixVector(h_.data(), n, change_.data(), h_change_.data());
  const double fac = Dot(change_.data(), direction_.data(), n);
  const double fae = Dot(change_.data(), h_change_.data(), n);
  const double sumy = Dot(change_.data(), change_.data(), n);
  const double sumd = Dot(direction_.data(), direction_.data(), n);
  if (fac * fac > 3.0e-8 * sumy * sumd) {
    for (int i = 0; i < n; ++i) u_[i] = direction_[i] / fac - h_change_[i] / fae;
    SymmetricRankUpdateThenSolve(h_.data(), n, direction_.data(), h_change_.data(), u_.data(), fac,
                                 fae, g.data(), change_.data());
    direction_.swap(change_);
  } else {
    SymmetricMatrixVector(h_.data(), n, g.data(), direction_.data());
    for (double& d : direction_) d = -d;
  }
}

void QuasiNewton::EpochUpdate(EngineState& engine, Network& net) {
  const DataSet* data = engine.active_data_set;
  const double cases = data ? data->no_cases - data->no_verification : 0;
  if (cases > 0) {
    for (double& g : gradient_) g /= cases;
  }
  const std::size_t n = gradient_.size();
  if (reset_) {
    reset_ = false;
    for (std::size_t i = 0; i < n; ++i) direction_[i] = -gradient_[i];
    previous_gradient_ = gradient_;
    std::fill(h_.begin(), h_.end(), 0.0);
    for (std::size_t i = 0; i < n; ++i) h_[i * n + i] = 1.0;
  } else {
    Update();
  }
  SaveTrainedValues(net, weights_, saved_);
  DirectionError line(engine, net, weights_, saved_, direction_);
  if (!BacktrackingLineSearch(line, engine.training.epoch_error_sum, direction_, gradient_,
                              saved_)) {
    reset_ = true;
  }
  std::fill(gradient_.begin(), gradient_.end(), 0.0);
}

}  // namespace tavrin
