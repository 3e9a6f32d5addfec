// Training in one step: the pseudo-inverse output layer, probabilistic and
// regression networks, principal components.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "checks.h"
#include "entry_point.h"
#include "nrx32.h"
#include "training/principal_components.h"
#include "training/probabilistic_training.h"
#include "training/pseudo_inverse.h"
#include "training/regression_training.h"
#include "training/training_calls.h"

namespace nrx {
namespace {

// The handles and the error out-arguments checked (when `errors` is set),
// then the pair made active with the slot's settings; the engine's own
// checks follow. Null after recording a refusal.
NetworkSlot* SelectOneShotPair(std::int32_t net, std::int32_t ds, const double* training_error,
                               const double* verification_error, bool errors = true) {
  const NetworkAndDataSet pair = CheckNetworkAndDataSet(net, ds);
  if (pair.data == nullptr) return nullptr;
  if (errors && (training_error == nullptr || verification_error == nullptr)) {
    Refuse(kNullOutput);
    return nullptr;
  }
  tavrin::BeginTrainingCall(tavrin::Engine(), pair.network->network.get(), pair.data,
                            *pair.network->training);
  return pair.network;
}

// A one-shot trainer that reports the training and verification errors,
// which a refusal sets to 0.
template <typename Train>
std::int32_t RunOneShot(std::int32_t net, std::int32_t ds, double* training_error,
                        double* verification_error, Train&& train) noexcept {
  const std::int32_t result = Guarded(kFailure, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    NetworkSlot* slot = SelectOneShotPair(net, ds, training_error, verification_error);
    if (slot == nullptr || !train(tavrin::Engine()).ok()) return kFailure;
    *training_error = tavrin::Engine().training.training_error;
    *verification_error = tavrin::Engine().training.verification_error;
    return kSuccess;
  });
  if (result != kSuccess) {
    if (training_error != nullptr) *training_error = 0.0;
    if (verification_error != nullptr) *verification_error = 0.0;
  }
  return result;
}

}  // namespace
}  // namespace nrx

NRX_API int32_t NRX_CALL NRXPseudoInverse(int32_t net, int32_t ds, double* training_error,
                                          double* verification_error) {
  return nrx::RunOneShot(net, ds, training_error, verification_error, tavrin::TrainPseudoInverse);
}

NRX_API int32_t NRX_CALL NRXProbabilisticTrain(int32_t net, int32_t ds, double smoothing,
                                               const double* priors, double* training_error,
                                               double* verification_error) {
  return nrx::RunOneShot(net, ds, training_error, verification_error,
                         [&](tavrin::EngineState& engine) {
                           return tavrin::TrainProbabilistic(engine, smoothing, priors);
                         });
}

NRX_API int32_t NRX_CALL NRXRegressionTrain(int32_t net, int32_t ds, double smoothing,
                                            double* training_error, double* verification_error) {
  return nrx::RunOneShot(
      net, ds, training_error, verification_error,
      [&](tavrin::EngineState& engine) { return tavrin::TrainRegression(engine, smoothing); });
}

NRX_API int32_t NRX_CALL NRXPrincipalComponents(int32_t net, int32_t ds, double* eigenvalues) {
  return nrx::Guarded(nrx::kFailure, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    if (nrx::SelectOneShotPair(net, ds, nullptr, nullptr, false) == nullptr) return nrx::kFailure;
    tavrin::EngineState& engine = tavrin::Engine();
    if (!tavrin::TrainPrincipalComponents(engine).ok()) return nrx::kFailure;
    if (eigenvalues != nullptr) {
      std::copy(engine.pca_eigenvalues.begin(), engine.pca_eigenvalues.end(), eigenvalues);
    }
    return nrx::kSuccess;
  });
}
