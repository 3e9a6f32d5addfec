#include "analysis/run_all.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "common/messages.h"
#include "common/missing.h"
#include "common/vector_kernels.h"
#include "engine_state.h"
#include "network/blocked_forward.h"
#include "network/coding.h"
#include "network/forward_run.h"
#include "network/functions.h"
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

  // Everything the run needs but the per-case arrays, so that no allocation
  // can fail once the cases run.
  void Prepare(bool blocked) {
    blocked_ = blocked;
    const int outputs = net_.coding.no_outputs;
    const int units = net_.output_layer().no_units;
    outputs_.assign(static_cast<std::size_t>(kBlockCases) * outputs, MISSING);
    errors_.assign(kBlockCases, 0.0);
    targets_.assign(outputs, MISSING);
    for (OutputSums& sums : sums_) sums = OutputSums(outputs);
    if (r_.targets_available) r_.regression.resize(outputs);
    output_variables_.clear();
    for (int v = 0; v < data_.no_variables && static_cast<int>(output_variables_.size()) < outputs;
         ++v) {
      if (data_.is_output[v]) output_variables_.push_back(v);
    }
    decoding_.reserve(net_.coding.no_normed_outputs);
    // Straight from the panels: the rows as they are, outputs decoded
    // linearly, and only the output layer recorded; the rest goes through
    // the network case by case.
    plain_ = blocked && source_.direct() && DecodesLinearly(net_.coding) &&
             units >= net_.coding.no_normed_outputs &&
             (r_.mode == RunAllMode::kOutputs || r_.mode == RunAllMode::kOutputLayer) &&
             (!r_.targets_available || net_.error_fn != ErrorFunction::kKohonen);
    if (!blocked) return;
    forward_.Reserve(net_, kBlockCases);
    counted_.reserve(kBlockCases);
    case_targets_.reserve(kBlockCases);
    rows_.reserve(kBlockCases);
    block_targets_.reserve(static_cast<std::size_t>(kBlockCases) * source_.target_size());
    column_.assign(std::max(units, outputs), 0.0);
    decoded_.assign(static_cast<std::size_t>(outputs) * kPanelCases, 0.0);
    targets_panel_.assign(static_cast<std::size_t>(source_.target_size()) * kPanelCases, 0.0);
  }

  // Whether the run, once started, allocates nothing: only the "Kohonen"
  // conversion's vote decodes into fresh memory.
  bool AllocatesNothing() const {
    const VariableCoding& c = net_.coding;
    for (int v = c.no_inputs; v < c.no_inputs + c.no_outputs; ++v) {
      if (c.conversion[v] == static_cast<double>(ConversionFunction::kKohonen)) return false;
    }
    return true;
  }

  // Every case; when a row handed as it was turns out to hold a missing
  // value, once more with every case prepared, as that data set needs.
  void Cases() {
    if (Pass()) return;
    source_.PrepareEveryCase();
    plain_ = false;
    r_.subset_cases = {};
    error_sums_ = {};
    for (OutputSums& sums : sums_) sums.Clear();
    for (ClassificationMatrix& m : r_.matrices) m.Clear();
    Pass();
  }

  void Finish() {
    for (int s = 0; s < kSubsetCount; ++s) {
      const std::int64_t n = r_.subset_cases[s];
      if (n > 0 && r_.targets_available) {
        r_.subset_errors[s] = NormalisedError(net_, std::sqrt(error_sums_[s] / n));
      }
    }
    if (!r_.targets_available) return;
    for (int k = 0; k < net_.coding.no_outputs; ++k) {
      for (int s = 0; s < kSubsetCount; ++s) {
        r_.regression[k][s] = FinishRegression(sums_[s].of(k));
      }
    }
  }

 private:
  static bool Counted(std::int32_t subset) { return subset >= 0 && subset < kSubsetCount; }

  double* ResultRow(int c) {
    return r_.case_results.data() + static_cast<std::size_t>(c) * r_.columns;
  }

  // The arrays may hold an earlier run's values, so every case is written.
  void NotRun(int c) {
    std::fill_n(ResultRow(c), r_.columns, MISSING);
    case_errors_[c] = MISSING;
  }

  // False at the first row handed as it was that holds a missing value.
  bool Pass() {
    // A recurrent network's first case must not see what ran before.
    ClearActivations(net_);
    const int first =
        static_cast<int>(std::min<std::int64_t>(net_.coding.history(), data_.no_cases));
    if (!RowsClean(0, first)) return false;
    for (int c = 0; c < first; ++c) NotRun(c);
    for (int begin = first; begin < data_.no_cases; begin += kBlockCases) {
      const int end = std::min(begin + kBlockCases, data_.no_cases);
      // Checked a block at a time, which also brings its rows in to be copied.
      if (!RowsClean(begin, end)) return false;
      if (blocked_) {
        EvaluateBlockAtOnce(begin, end);
      } else {
        EvaluateBlock(begin, end);
      }
    }
    return true;
  }

  // Only a blocked run's source hands rows unchecked.
  bool RowsClean(int begin, int end) const {
    if (!blocked_ || !source_.direct()) return true;
    return !AnyMissingOrNaN(data_.row(begin),
                            static_cast<std::size_t>(end - begin) * data_.no_variables);
  }

  void EvaluateBlock(int begin, int end) {
    RandomGenerator unused;
    for (int c = begin; c < end; ++c) {
      if (!Counted(data_.subset[c])) continue;
      const double* v = source_.Load(c);
      LoadCase(net_, v, source_.input_size(), 0.0, unused);
      Conclude(c, c - begin, v + source_.input_size());
    }
    for (int c = begin; c < end; ++c) Accumulate(c, c - begin);
  }

  void EvaluateBlockAtOnce(int begin, int end) {
    counted_.clear();
    for (int c = begin; c < end; ++c) {
      if (Counted(data_.subset[c])) {
        counted_.push_back(c);
      } else {
        NotRun(c);
      }
    }
    const int n = static_cast<int>(counted_.size());
    const int inputs = source_.input_size();
    const int targets = source_.target_size();
    block_targets_.resize(static_cast<std::size_t>(n) * targets);
    case_targets_.resize(n);
    forward_.Begin(net_, n);
    if (source_.direct()) {
      // The rows stay put: a panel's at once, a spare place repeating the last.
      rows_.resize(n);
      for (int b = 0; b < n; ++b) {
        rows_[b] = source_.Load(counted_[b]);
        case_targets_[b] = rows_[b] + inputs;
      }
      for (int first = 0; first < n; first += kPanelCases) {
        const double* panel[kPanelCases];
        for (int j = 0; j < kPanelCases; ++j) panel[j] = rows_[std::min(first + j, n - 1)];
        forward_.SetPanelInputs(net_, first / kPanelCases, panel, inputs);
      }
    } else {
      for (int b = 0; b < n; ++b) {
        // Every case comes in the same buffer.
        const double* v = source_.Load(counted_[b]);
        forward_.SetInputs(net_, b, v, inputs);
        double* kept = block_targets_.data() + static_cast<std::size_t>(b) * targets;
        std::copy_n(v + inputs, targets, kept);
        case_targets_[b] = kept;
      }
    }
    forward_.Propagate(net_);
    if (n == 0) return;
    if (plain_) {
      for (int p = 0; p * kPanelCases < n; ++p) ConcludePanel(p, n);
      // The network is left as a case-by-case run of the block leaves it.
      forward_.Restore(net_, n - 1, true);
      return;
    }
    // Layer 0 is read only as the layer before a two-layer network's output,
    // and left by the block's last case as a case-by-case run leaves it.
    const bool inputs_read = r_.mode == RunAllMode::kLayerBefore && net_.no_layers() == 2;
    for (int b = 0; b < n; ++b) {
      forward_.Restore(net_, b, inputs_read || b == n - 1);
      Conclude(counted_[b], counted_[b] - begin, case_targets_[b]);
    }
    for (int b = 0; b < n; ++b) Accumulate(counted_[b], counted_[b] - begin);
  }

  // The cases of panel p to their results, side by side where they can be.
  void ConcludePanel(int p, int n) {
    const VariableCoding& coding = net_.coding;
    const int outputs = coding.no_outputs;
    const int units = net_.output_layer().no_units;
    const int first = p * kPanelCases;
    const int cases = std::min(kPanelCases, n - first);
    const double* y = forward_.Values(net_, net_.no_layers() - 1, first);
    UnscalePanel(y, coding.shift.data() + coding.no_inputs, coding.scale.data() + coding.no_inputs,
                 outputs, decoded_.data());
    double errors[kPanelCases] = {};
    const int compared = std::min(source_.target_size(), units);
    const bool panel_errors = r_.targets_available && net_.error_fn == ErrorFunction::kSumSquared;
    if (panel_errors) {
      for (int j = 0; j < kPanelCases; ++j) {
        // A spare place repeats the last case.
        const double* d = case_targets_[first + std::min(j, cases - 1)];
        for (int i = 0; i < compared; ++i) targets_panel_[i * kPanelCases + j] = d[i];
      }
      SumSquaredErrors(y, targets_panel_.data(), compared, errors);
    }
    for (int j = 0; j < cases; ++j) {
      const int c = counted_[first + j];
      double* row = ResultRow(c);
      if (r_.targets_available && !panel_errors) {
        for (int u = 0; u < units; ++u) column_[u] = y[u * kPanelCases + j];
        errors[j] =
            CaseError(net_.error_fn, column_.data(), case_targets_[first + j], compared, {});
      }
      if (r_.mode == RunAllMode::kOutputLayer) {
        for (int u = 0; u < r_.columns; ++u) row[u] = y[u * kPanelCases + j];
      }
      double* o = r_.mode == RunAllMode::kOutputs ? row : column_.data();
      for (int k = 0; k < outputs; ++k) o[k] = decoded_[k * kPanelCases + j];
      // The rows read as they are hold the targets where the coding has them.
      Tally(c, o, errors[j], case_targets_[first + j]);
    }
  }

  // The case's error, its mode columns and its decoded outputs, from the
  // activations of its run.
  void Conclude(int c, int i, const double* targets) {
    errors_[i] = r_.targets_available ? CaseErrorOf(net_, targets, source_.target_size()) : 0.0;
    Record(c);
    DecodeOutputLayer(net_, outputs_.data() + static_cast<std::size_t>(i) * net_.coding.no_outputs,
                      decoding_);
  }

  // The mode's columns, taken before decoding normalises the output layer.
  void Record(int c) {
    double* out = ResultRow(c);
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
    if (!Counted(data_.subset[c])) return NotRun(c);
    const double* o = outputs_.data() + static_cast<std::size_t>(i) * net_.coding.no_outputs;
    if (r_.mode == RunAllMode::kOutputs) std::copy_n(o, net_.coding.no_outputs, ResultRow(c));
    for (std::size_t k = 0; k < output_variables_.size() && r_.targets_available; ++k) {
      targets_[k] = data_.at(c, output_variables_[k]);
    }
    Tally(c, o, errors_[i], targets_.data());
  }

  // Counts a run case, in case order, from its decoded outputs, error and
  // target values.
  void Tally(int c, const double* o, double error, const double* targets) {
    const std::int32_t s = data_.subset[c];
    ++r_.subset_cases[s];
    case_errors_[c] = r_.targets_available ? std::sqrt(error) : 0.0;
    if (!r_.targets_available) return;
    error_sums_[s] += error;
    sums_[s].Add(targets, o);
    if (r_.class_output > 0) {
      const int k = r_.class_output - 1;
      r_.matrices[s].Add(targets[k], o[k]);
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
  std::array<OutputSums, kSubsetCount> sums_;
  std::array<double, kSubsetCount> error_sums_{};
  std::vector<double> decoding_;
  bool blocked_ = false;
  bool plain_ = false;
  BlockedForward forward_;
  std::vector<int> counted_;
  std::vector<const double*> rows_;
  std::vector<const double*> case_targets_;
  std::vector<double> block_targets_;
  std::vector<double> column_;
  // A panel's decoded outputs and targets, output by output.
  std::vector<double> decoded_;
  std::vector<double> targets_panel_;
};

// The earlier run's array when it is large enough (fresh pages cost more
// than the run's own writes), else a new one. Nothing is taken until every
// allocation has succeeded, so a refusal still leaves the earlier results.
class Reuse {
 public:
  Reuse(std::vector<double>& earlier, std::size_t size, bool allowed)
      : earlier_(earlier), size_(size), take_(allowed && earlier.capacity() >= size) {
    if (!take_) fresh_.resize(size);
  }
  std::vector<double> Take() {
    if (!take_) return std::move(fresh_);
    std::vector<double> taken = std::move(earlier_);
    taken.resize(size_);  // within its capacity
    return taken;
  }

 private:
  std::vector<double>& earlier_;
  std::size_t size_;
  bool take_;
  std::vector<double> fresh_;
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
    const bool blocked = how == CaseRun::kBlocked && BlockedForward::Handles(*net);
    CaseSource source;
    // Each case is read once: no cache, and no pass over the data set ahead.
    if (!(blocked ? source.PrepareOnePass(*net, *data, r.targets_available)
                  : source.Prepare(*net, *data, r.targets_available))) {
      return Status::Failed();
    }
    std::vector<double> case_errors;
    Run run(*net, *data, source, r, case_errors);
    run.Prepare(blocked);
    const std::size_t cases = static_cast<std::size_t>(data->no_cases);
    Reuse results(engine.run_all.case_results, cases * r.columns, run.AllocatesNothing());
    Reuse errors(engine.training.case_errors, cases, run.AllocatesNothing());
    r.case_results = results.Take();
    case_errors = errors.Take();
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
