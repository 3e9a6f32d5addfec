// The head every training export shares: the handles and the caller's
// arguments, the pair made active with the slot's settings, the errors
// reported back.

#ifndef TAVRIN_LIBRARY_TRAINING_CALL_H_
#define TAVRIN_LIBRARY_TRAINING_CALL_H_

#include <cstdint>

#include "checks.h"
#include "entry_point.h"
#include "training/training_calls.h"

namespace nrx {

// What every iterative training export takes before its algorithm's own
// settings, and where it reports the final errors.
struct TrainingCall {
  std::int32_t net;
  std::int32_t ds;
  std::int32_t epochs;
  std::int32_t verify;
  std::int32_t retain_best;
  double* training_error;
  double* verification_error;
};

inline void ReportErrors(const TrainingCall& call, double training, double verification) {
  if (call.training_error != nullptr) *call.training_error = training;
  if (call.verification_error != nullptr) *call.verification_error = verification;
}

// The head of every training export: the handles, the caller's arguments,
// then the pair made active with the slot's settings copied into the run.
// Null after recording a refusal.
inline NetworkSlot* SelectTrainingPair(const TrainingCall& call) {
  const NetworkAndDataSet pair = CheckNetworkAndDataSet(call.net, call.ds);
  if (pair.data == nullptr) return nullptr;
  if (call.training_error == nullptr || call.verification_error == nullptr) {
    Refuse(kNullOutput);
    return nullptr;
  }
  if (call.epochs < 0) {
    Refuse(kEpochsOutOfRange);
    return nullptr;
  }
  TrainingSettings& settings = *pair.network->training;
  settings.epochs = call.epochs;
  settings.retain_best = call.retain_best != 0 ? 1 : 0;
  tavrin::BeginTrainingCall(tavrin::Engine(), pair.network->network.get(), pair.data, settings);
  tavrin::Engine().training.history = pair.network->history;
  return pair.network;
}

inline tavrin::IterativeSettings RunSettings(const TrainingCall& call) {
  return {.epochs = call.epochs, .verify = call.verify != 0, .retain_best = call.retain_best != 0};
}

// Runs `train` (the engine's call for one algorithm) on the selected pair
// and keeps the history it leaves with the network's slot.
// The engine restores the best network in place, so the slot still holds
// the trained (or restored) network when it returns.
template <typename Train>
std::int32_t RunTraining(const TrainingCall& call, Train&& train) noexcept {
  const std::int32_t result = Guarded(kFailure, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    NetworkSlot* slot = SelectTrainingPair(call);
    if (slot == nullptr) return kFailure;
    const bool trained = train(tavrin::Engine(), RunSettings(call)).ok();
    const tavrin::TrainingRun& run = tavrin::Engine().training;
    // The run began from the network's own history; a refused run kept it.
    slot->history = run.history;
    if (!trained) return kFailure;
    ReportErrors(call, run.training_error, run.verification_error);
    return kSuccess;
  });
  if (result != kSuccess) ReportErrors(call, 0.0, 0.0);
  return result;
}

}  // namespace nrx

#endif  // TAVRIN_LIBRARY_TRAINING_CALL_H_
