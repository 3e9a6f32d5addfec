#include "analysis/run_all.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "common/messages.h"
#include "common/missing.h"
#include "engine_state.h"
#include "network/blocked_forward.h"
#include "network/forward_run.h"
#include "network/scale_factors.h"
#include "training/case_source.h"
#include "training/gradient.h"
#include "training/training_driver.h"

namespace tavrin {
namespace {

// Cases are evaluated a block at a time, side by side where the network
// allows, and then summed in case order, so no sum depends on how they ran.
constexpr int kBlockCases = 256;

int ColumnsOf(const Network& net, RunAllMode mode) {
  switch (mode) {
    case RunAllMode::kOutputs:
      return net.coding.no_outputs;
    case RunAllMode::kOutputLayer:
      return net.output_layer().no_units;
    case RunAllMode::kLayerBefore:
      return net.no_layers() > 1 ? net.layers[net.no_layers() - 2].no_units : 0;
    case RunAllMode::kLayer1Winner:
      return 1;
  }
  return 0;
}

class Run {
 public:
  Run(Network& net, const DataSet& data, CaseSource& source, RunAllResults& r,
      std::vector<double>& case_errors)
      : net_(net), data_(data), source_(source), r_(r), case_errors_(case_errors) {}

  void Prepare(bool blocked) {
    blocked_ = blocked;
    const int outputs = net_.coding.no_outputs;
    outputs_.assign(static_cast<std::size_t>(kBlockCases) * outputs, MISSING);
    errors_.assign(kBlockCases, 0.0);
    targets_.assign(outputs, MISSING);
    sums_.assign(static_cast<std::size_t>(outputs) * kSubsetCount, RegressionSums());
    r_.case_results.assign(static_cast<std::size_t>(data_.no_cases) * r_.columns, MISSING);
    case_errors_.assign(data_.no_cases, MISSING);
    output_variables_.clear();
    for (int v = 0; v < data_.no_variables && static_cast<int>(output_variables_.size()) < outputs;
         ++v) {
      if (data_.is_output[v]) output_variables_.push_back(v);
    }
  }

  void Cases() {
    const int first =
        static_cast<int>(std::min<std::int64_t>(net_.coding.history(), data_.no_cases));
    for (int begin = first; begin < data_.no_cases; begin += kBlockCases) {
      const int end = std::min(begin + kBlockCases, data_.no_cases);
      EvaluateBlock(begin, end);
      for (int c = begin; c < end; ++c) Accumulate(c, c - begin);
    }
  }

  void Finish() {
    for (int s = 0; s < kSubsetCount; ++s) {
      const std::int64_t n = r_.subset_cases[s];
      if (n > 0 && r_.targets_available) {
        r_.subset_errors[s] = NormalisedError(net_, std::sqrt(error_sums_[s] / n));
      }
    }
    if (!r_.targets_available) return;
    const int outputs = net_.coding.no_outputs;
    r_.regression.resize(outputs);
    for (int k = 0; k < outputs; ++k) {
      for (int s = 0; s < kSubsetCount; ++s) {
        r_.regression[k][s] =
            FinishRegression(sums_[static_cast<std::size_t>(k) * kSubsetCount + s]);
      }
    }
  }

 private:
  static bool Counted(std::int32_t subset) { return subset >= 0 && subset < kSubsetCount; }

  void EvaluateBlock(int begin, int end) {
    if (blocked_) return EvaluateBlockAtOnce(begin, end);
    RandomGenerator unused;
    for (int c = begin; c < end; ++c) {
      if (!Counted(data_.subset[c])) continue;
      const double* v = source_.Load(c);
      LoadCase(net_, v, source_.input_size(), 0.0, unused);
      Conclude(c, c - begin, v + source_.input_size());
    }
  }

  void EvaluateBlockAtOnce(int begin, int end) {
    counted_.clear();
    for (int c = begin; c < end; ++c) {
      if (Counted(data_.subset[c])) counted_.push_back(c);
    }
    const int n = static_cast<int>(counted_.size());
    const int inputs = source_.input_size();
    const int targets = source_.target_size();
    block_targets_.resize(static_cast<std::size_t>(n) * targets);
    forward_.Begin(net_, n);
    for (int b = 0; b < n; ++b) {
      // Copied at once: an uncached source hands every case in one buffer.
      const double* v = source_.Load(counted_[b]);
      forward_.SetInputs(net_, b, v, inputs);
      std::copy_n(v + inputs, targets, block_targets_.begin() + std::ptrdiff_t{b} * targets);
    }
    forward_.Propagate(net_);
    // Layer 0 is read only as the layer before a two-layer network's output,
    // and left by the block's last case as a case-by-case run leaves it.
    const bool inputs_read = r_.mode == RunAllMode::kLayerBefore && net_.no_layers() == 2;
    for (int b = 0; b < n; ++b) {
      forward_.Restore(net_, b, inputs_read || b == n - 1);
      Conclude(counted_[b], counted_[b] - begin,
               block_targets_.data() + static_cast<std::size_t>(b) * targets);
    }
  }

  // The case's error, its mode columns and its decoded outputs, from the
  // activations of its run.
  void Conclude(int c, int i, const double* targets) {
    errors_[i] = r_.targets_available ? CaseErrorOf(net_, targets, source_.target_size()) : 0.0;
    Record(c);
    DecodeOutputLayer(net_, outputs_.data() + static_cast<std::size_t>(i) * net_.coding.no_outputs);
  }

  // The mode's columns, taken before decoding normalises the output layer.
  void Record(int c) {
    double* out = r_.case_results.data() + static_cast<std::size_t>(c) * r_.columns;
    switch (r_.mode) {
      case RunAllMode::kOutputs:
        return;  // the decoded outputs, copied in Accumulate
      case RunAllMode::kOutputLayer:
        std::copy_n(net_.output_layer().activations.begin(), r_.columns, out);
        return;
      case RunAllMode::kLayerBefore:
        std::copy_n(net_.layers[net_.no_layers() - 2].activations.begin(), r_.columns, out);
        return;
      case RunAllMode::kLayer1Winner:
        out[0] = Layer1Winner(net_) + 1.0;
        return;
    }
  }

  void Accumulate(int c, int i) {
    const std::int32_t s = data_.subset[c];
    if (!Counted(s)) return;
    const int outputs = net_.coding.no_outputs;
    const double* o = outputs_.data() + static_cast<std::size_t>(i) * outputs;
    if (r_.mode == RunAllMode::kOutputs) {
      std::copy_n(o, outputs, r_.case_results.data() + static_cast<std::size_t>(c) * r_.columns);
    }
    ++r_.subset_cases[s];
    case_errors_[c] = r_.targets_available ? std::sqrt(errors_[i]) : 0.0;
    if (!r_.targets_available) return;
    error_sums_[s] += errors_[i];
    for (std::size_t k = 0; k < output_variables_.size(); ++k) {
      targets_[k] = data_.at(c, output_variables_[k]);
    }
    for (int k = 0; k < outputs; ++k) {
      sums_[static_cast<std::size_t>(k) * kSubsetCount + s].Add(targets_[k], o[k]);
    }
    if (r_.class_output > 0) {
      const int k = r_.class_output - 1;
      r_.matrices[s].Add(targets_[k], o[k]);
    }
  }

  Network& net_;
  const DataSet& data_;
  CaseSource& source_;
  RunAllResults& r_;
  std::vector<double>& case_errors_;
  std::vector<double> outputs_;
  std::vector<double> errors_;
  std::vector<double> targets_;
  std::vector<int> output_variables_;  // the targets' variables, in order
  std::vector<RegressionSums> sums_;
  std::array<double, kSubsetCount> error_sums_{};
  bool blocked_ = false;
  BlockedForward forward_;
  std::vector<int> counted_;
  std::vector<double> block_targets_;
};

}  // namespace

int ChooseClassOutput(const Network& net, int requested) {
  const VariableCoding& c = net.coding;
  const int outputs = c.no_outputs;
  if (outputs < 1) return 0;
  const int start = std::clamp(requested, 1, outputs);
  for (int k = start; k <= outputs; ++k) {
    if (c.is_nominal(c.no_inputs + k - 1)) return k;
  }
  for (int k = start - 1; k >= 1; --k) {
    if (c.is_nominal(c.no_inputs + k - 1)) return k;
  }
  return 0;
}

Status RunAll(EngineState& engine, RunAllMode mode, int class_output, CaseRun how) {
  Network* net = engine.active_network;
  const DataSet* data = engine.active_data_set;
  if (!net) return Fail(kNoActiveNetwork);
  if (!data) return Fail(kNoActiveDataSet);
  if (!VariablesAgree(net->coding, *data, false)) return Fail(kInputMismatch);
  try {
    RunAllResults r;
    r.mode = mode;
    r.columns = ColumnsOf(*net, mode);
    r.targets_available = VariablesAgree(net->coding, *data, true);
    r.class_output = ChooseClassOutput(*net, class_output);
    if (r.class_output > 0) {
      r.classes = net->coding.no_nominals(net->coding.no_inputs + r.class_output - 1);
    }
    for (int s = 0; s < kSubsetCount; ++s) {
      r.has_matrix[s] =
          r.class_output > 0 && r.targets_available &&
          (s == 0 || CountCasesFrom(*data, net->coding.history(), static_cast<Subset>(s)) > 0);
      r.matrices[s] = ClassificationMatrix(r.has_matrix[s] ? r.classes : 0);
    }
    CaseSource source;
    if (!source.Prepare(*net, *data, r.targets_available)) return Status::Failed();
    std::vector<double> case_errors;
    Run run(*net, *data, source, r, case_errors);
    run.Prepare(how == CaseRun::kBlocked && BlockedForward::Handles(*net));
    // A recurrent network's first case must not see what ran before.
    ClearActivations(*net);
    run.Cases();
    run.Finish();
    engine.run_all = std::move(r);
    engine.training.case_errors = std::move(case_errors);
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  return Status::Ok();
}

}  // namespace tavrin
