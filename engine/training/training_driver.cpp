#include "training/training_driver.h"

#include <cmath>
#include <new>
#include <numeric>

#include "common/messages.h"
#include "common/stop_request.h"
#include "engine_state.h"
#include "network/scale_factors.h"
#include "training/case_errors.h"
#include "training/case_source.h"
#include "training/gradient.h"
#include "training/pair_checks.h"
#include "training/training_history.h"

namespace tavrin {
namespace {

constexpr auto kTrainingCode = static_cast<std::int32_t>(Subset::kTraining);
constexpr auto kVerificationCode = static_cast<std::int32_t>(Subset::kVerification);

Status CheckPair(const Network* net, const DataSet* data, bool outputs) {
  if (!CheckTrainingPair(net, data, outputs)) return Status::Failed();
  const VariableCoding& c = net->coding;
  if (net->no_layers() < 2) return Fail(kTrainingNeedsTwoLayers);
  const int output_units = net->output_layer().no_units;
  // Trainers read one target per output unit; an output layer edited away
  // from its variables' units would have them read past the case.
  if (outputs && output_units != c.no_normed_outputs) {
    return Fail(kOutputLayerMismatch);
  }
  if (output_units >= 2 && net->error_fn == ErrorFunction::kEntropySingle) {
    return Fail(kEntropySingleOnManyOutputs);
  }
  if (output_units == 1 && net->error_fn == ErrorFunction::kEntropyMultiple) {
    return Fail(kEntropyMultipleOnOneOutput);
  }
  // Softmax's stored derivative is 0: without the paired output delta no
  // error signal ever reaches a weight.
  if (outputs && net->error_fn == ErrorFunction::kEntropyMultiple &&
      net->output_layer().act_fn == ActivationFunction::kSoftmax && !net->output_delta) {
    return Fail(kSoftmaxEntropyUnpaired);
  }
  return Status::Ok();
}

// One run of the driver: the pieces that live only while it runs.
class DriverRun {
 public:
  DriverRun(EngineState& engine, Trainer& trainer, Network& net, DataSet& data)
      : e_(engine), run_(engine.training), trainer_(trainer), net_(net), data_(data) {}
  ~DriverRun() { run_.training_error_sum = nullptr; }
  DriverRun(const DriverRun&) = delete;
  DriverRun& operator=(const DriverRun&) = delete;

  Status Start(bool outputs);
  void Loop();

 private:
  // The summed errors of a subset's cases (kept in the case error list when
  // `keep`), their number in `count`.
  double SumCaseErrors(std::int32_t subset, bool keep, int* count);
  double Evaluate(std::int32_t subset, bool with_penalty, bool* any);
  // The line searches' measure: no case error is kept.
  double TrainingErrorSum();
  bool IsBetter(double normalised_training_error, double normalised_verification_error) const;
  bool KeepGoing();
  bool Continue();
  void OneEpoch();
  void OfferBest(const Network& network, std::int32_t epoch);
  void End();
  bool verifying() const { return run_.verify && has_verification_; }

  EngineState& e_;
  TrainingRun& run_;
  Trainer& trainer_;
  Network& net_;
  DataSet& data_;
  CaseSource source_;
  bool shuffling_ = false;
  bool has_verification_ = false;
};

double DriverRun::SumCaseErrors(std::int32_t subset, bool keep, int* count) {
  const CaseErrorFunction error = [&](int c, const double* v) {
    run_.current_case = c;
    return trainer_.EvaluateCase(e_, net_, v, source_.input_size(), source_.target_size());
  };
  return SumSubsetErrors(data_, source_, subset, error, keep ? &run_.case_errors : nullptr, count);
}

double DriverRun::Evaluate(std::int32_t subset, bool with_penalty, bool* any) {
  int n = 0;
  double sum = SumCaseErrors(subset, true, &n);
  if (any) *any = n > 0;
  if (n == 0) return 0.0;
  if (with_penalty) sum += n * WeigendPenalty(net_, run_.weigend_lambda, run_.weigend_scale);
  return std::sqrt(sum / n);
}

double DriverRun::TrainingErrorSum() {
  ClearActivations(net_);
  int n = 0;
  const double sum = SumCaseErrors(kTrainingCode, false, &n);
  return sum + n * WeigendPenalty(net_, run_.weigend_lambda, run_.weigend_scale);
}

Status DriverRun::Start(bool outputs) {
  run_.abort = false;
  shuffling_ = run_.shuffle && !trainer_.has_epoch_update();
  try {
    if (shuffling_) {
      run_.shuffle_order.resize(data_.no_cases);
    }
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  run_.start_epoch = run_.epoch;
  run_.final_epoch = run_.epoch + run_.epochs;
  if (run_.final_epoch > run_.epoch) {
    const double span = run_.final_epoch - run_.epoch;
    for (Schedule* s : {&run_.neighbourhood, &run_.learning_rate, &run_.momentum}) {
      s->step = (s->end - s->current) / span;
    }
  }
  // A run that cannot start leaves the network as it was, factors included.
  VariableCoding before;
  if (run_.epoch == 0) {
    try {
      before = net_.coding;
    } catch (const std::bad_alloc&) {
      return Fail(kNotEnoughMemory);
    }
    CalculateScaleFactors(net_.coding, data_, outputs);
  }
  if (!source_.Prepare(net_, data_, outputs)) {
    if (run_.epoch == 0) net_.coding = std::move(before);
    return Status::Failed();
  }
  has_verification_ = data_.no_verification > 0;
  if (run_.epoch == 0) {
    try {
      run_.case_errors.assign(data_.no_cases, 0.0);
    } catch (const std::bad_alloc&) {
      return Fail(kNotEnoughMemory);
    }
    run_.training_error = Evaluate(kTrainingCode, false, nullptr);
    run_.normalised_training_error = NormalisedError(net_, run_.training_error);
    if (run_.verify && has_verification_) {
      run_.verification_error = Evaluate(kVerificationCode, false, &has_verification_);
      run_.normalised_verification_error = NormalisedError(net_, run_.verification_error);
    }
  }
  if (!run_.retain_best) {
    run_.best = BestCopy();
  } else {
    if (run_.epoch == 0) run_.best = BestCopy();
    OfferBest(net_, run_.epoch);
  }
  run_.training_error_sum = [this] { return TrainingErrorSum(); };
  return Status::Ok();
}

bool DriverRun::KeepGoing() {
  if (run_.epoch >= run_.final_epoch) return false;
  if (run_.abort) return false;
  if (run_.epoch == 0) {
    run_.lowest_training_error = run_.lowest_verification_error = 1.0e20;
    run_.lowest_training_epoch = run_.lowest_verification_epoch = -1;
    return true;
  }
  auto stop = [&] {
    run_.lowest_training_error = run_.training_error;
    run_.lowest_verification_error = run_.verification_error;
    run_.lowest_training_epoch = run_.lowest_verification_epoch = run_.epoch;
    run_.stopped_by_condition = true;
    return false;
  };
  if (run_.training_error <= run_.stop_error_threshold) return stop();
  if (verifying() && run_.verification_error <= run_.stop_verification_threshold) return stop();
  if (run_.training_error + run_.stop_error_delta <= run_.lowest_training_error) {
    run_.lowest_training_error = run_.training_error;
    run_.lowest_training_epoch = run_.epoch;
  }
  if (run_.verification_error + run_.stop_verification_delta <= run_.lowest_verification_error) {
    run_.lowest_verification_error = run_.verification_error;
    run_.lowest_verification_epoch = run_.epoch;
  }
  const std::int32_t window = run_.stop_error_window;
  if (window > 0) {
    if (run_.epoch > run_.lowest_training_epoch + window - 1) return stop();
    if (verifying() && run_.epoch > run_.lowest_verification_epoch + window - 1) return stop();
  }
  return true;
}

void DriverRun::OneEpoch() {
  double sum = 0.0;
  int n = 0;
  if (shuffling_) e_.random.ShuffleOrder(run_.shuffle_order, data_.no_cases);
  ClearActivations(net_);
  trainer_.EpochStart(e_, net_);
  for (int k = 0; k < data_.no_cases; ++k) {
    const int c = shuffling_ ? run_.shuffle_order[k] : k;
    if (data_.subset[c] != kTrainingCode) continue;
    const double* v = source_.Load(c);
    if (!v) continue;
    run_.current_case = c;
    const double error = trainer_.TrainCase(e_, net_, v);
    if (run_.abort) break;
    run_.case_errors[c] = std::sqrt(error);
    sum += error;
    ++n;
  }
  sum += n * WeigendPenalty(net_, run_.weigend_lambda, run_.weigend_scale);
  // An epoch update moves the network away from the one the epoch's training
  // error belongs to: when that error is the best yet, keep that network.
  std::unique_ptr<Network> measured;
  if (trainer_.has_epoch_update() && !run_.abort) {
    if (run_.retain_best && !verifying() && n > 0) {
      const double error = std::sqrt(sum / n);
      try {
        if (IsBetter(NormalisedError(net_, error), 0.0)) measured = std::make_unique<Network>(net_);
      } catch (const std::bad_alloc&) {
        // the older copy stays
      }
    }
    run_.epoch_error_sum = sum;
    trainer_.EpochUpdate(e_, net_);
  }
  if (run_.abort) return;
  run_.training_error = n > 0 ? std::sqrt(sum / n) : 0.0;
  run_.normalised_training_error = NormalisedError(net_, run_.training_error);
  if (verifying()) {
    run_.verification_error = Evaluate(kVerificationCode, true, nullptr);
    run_.normalised_verification_error = NormalisedError(net_, run_.verification_error);
  }
  for (Schedule* s : {&run_.learning_rate, &run_.momentum, &run_.neighbourhood}) {
    s->current += s->step;
  }
  // A copy taken after the epoch counts as one more epoch run; the network
  // an epoch update started from counts as the epochs before it.
  if (!run_.retain_best) return;
  if (measured) {
    OfferBest(*measured, run_.epoch);
  } else if (!trainer_.has_epoch_update() || verifying()) {
    OfferBest(net_, run_.epoch + 1);
  }
}

bool DriverRun::IsBetter(double normalised_training_error,
                         double normalised_verification_error) const {
  const BestCopy& best = run_.best;
  if (!best.network) return true;
  return verifying() ? normalised_verification_error < best.normalised_verification_error
                     : normalised_training_error < best.normalised_training_error;
}

void DriverRun::OfferBest(const Network& network, std::int32_t epoch) {
  BestCopy& best = run_.best;
  const bool by_verification = verifying();
  if (!IsBetter(run_.normalised_training_error, run_.normalised_verification_error)) return;
  try {
    if (best.network) {
      *best.network = network;
    } else {
      best.network = std::make_unique<Network>(network);
    }
  } catch (const std::bad_alloc&) {
    return;  // the older copy stays
  }
  best.training_error = run_.training_error;
  best.normalised_training_error = run_.normalised_training_error;
  best.verification_error = by_verification ? run_.verification_error : 0.0;
  best.normalised_verification_error = by_verification ? run_.normalised_verification_error : 0.0;
  best.epoch = epoch;
}

// The poll between epochs: the caller's callback, then a stop request.
bool DriverRun::Continue() {
  if (run_.epoch_callback && !run_.epoch_callback(run_)) run_.stopped_by_request = true;
  if (TakeStopRequest()) run_.stopped_by_request = true;
  return !run_.stopped_by_request;
}

void DriverRun::Loop() {
  while (KeepGoing()) {
    OneEpoch();
    ++run_.epoch;
    if (!Continue()) break;
  }
  End();
}

void DriverRun::End() {
  run_.shuffle_order.clear();
  for (Schedule* s : {&run_.learning_rate, &run_.momentum, &run_.neighbourhood}) {
    s->current = s->end;
  }
  trainer_.RunFinish(e_, net_);
  ClearActivations(net_);
  const bool counted =
      run_.stopped_by_condition || run_.converged || run_.stopped_by_request || run_.abort;
  const std::int64_t epochs = counted ? run_.epoch - run_.start_epoch : run_.epochs;
  AppendHistoryEntry(run_.history, run_.history_start, trainer_.history_code(), epochs,
                     run_.stopped_by_condition ? "s" : (run_.converged ? "c" : ""));
}

}  // namespace

double NormalisedError(const Network& net, double error) {
  const VariableCoding& c = net.coding;
  if (c.no_outputs < 1) return error;
  double sum = 0.0;
  for (int v = c.no_inputs; v < c.no_variables(); ++v) sum += c.scale[v];
  const double mean = sum / c.no_outputs;
  return mean != 0.0 ? error / mean : error;
}

Status RunTrainingDriver(EngineState& engine, Algorithm algorithm, bool outputs_trained) {
  TrainingRun& run = engine.training;
  run.stopped_by_condition = false;
  run.stopped_by_request = false;
  run.converged = false;
  if (run.epoch == 0) run.history_start = run.history.size();
  if (!CheckPair(engine.active_network, engine.active_data_set, outputs_trained)) {
    return Status::Failed();
  }
  Network& net = *engine.active_network;
  DataSet& data = *engine.active_data_set;

  if (run.retained && run.retained->algorithm() != algorithm) {
    run.retained->StateRelease();
    run.retained.reset();
  }
  try {
    if (!run.retained) run.retained = MakeTrainer(algorithm);
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  Trainer& trainer = *run.retained;
  if (!trainer.StateInit(engine, net)) {
    run.retained.reset();
    return Status::Failed();
  }

  try {
    DriverRun driver(engine, trainer, net, data);
    if (!driver.Start(outputs_trained)) return Status::Failed();
    driver.Loop();
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
}

Status RestoreBestNetwork(EngineState& engine) {
  TrainingRun& run = engine.training;
  if (!run.best.network || !engine.active_network) return Fail(kNoNetworkToRestore);
  *engine.active_network = std::move(*run.best.network);
  run.training_error = run.best.training_error;
  run.verification_error = run.best.verification_error;
  run.normalised_training_error = run.best.normalised_training_error;
  run.normalised_verification_error = run.best.normalised_verification_error;
  CutHistoryToBest(run.history, run.history_start, run.best.epoch);
  run.best = BestCopy();
  return Status::Ok();
}

Status FinishTrainingCall(EngineState& engine) {
  TrainingRun& run = engine.training;
  if (run.retain_best) return run.restore_best ? RestoreBestNetwork(engine) : Status::Ok();
  if (run.retained) {
    run.retained->StateRelease();
    run.retained.reset();
  }
  run.best = BestCopy();
  return Status::Ok();
}

}  // namespace tavrin
