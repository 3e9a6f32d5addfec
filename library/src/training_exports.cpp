// Training: the per-slot stopping conditions and Weigend terms, weight
// reinitialisation, the gradient-descent and the second-order trainers.

#include <cmath>
#include <cstdint>

#include "checks.h"
#include "entry_point.h"
#include "nrx32.h"
#include "training/network_adjust.h"
#include "training/training_calls.h"
#include "training_call.h"

namespace nrx {
namespace {

constexpr std::int32_t kLastReinitMethod = static_cast<std::int32_t>(tavrin::ReinitMethod::kZero);

}  // namespace
}  // namespace nrx

using nrx::Refuse;
using tavrin::Network;

NRX_API int32_t NRX_CALL NRXSetStoppingConditions(int32_t net, int32_t window, double target_error,
                                                  double target_verification_error,
                                                  double error_improvement,
                                                  double verification_improvement) {
  return nrx::Guarded(nrx::kFailure, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    nrx::NetworkSlot* slot = nrx::CheckNetworkIndex(net, nrx::kNoNetwork);
    if (slot == nullptr) return nrx::kFailure;
    return tavrin::SetStoppingConditions(*slot->training, window, target_error,
                                         target_verification_error, error_improvement,
                                         verification_improvement)
        .ok();
  });
}

NRX_API int32_t NRX_CALL NRXSetWeigend(int32_t net, double lambda, double scale) {
  return nrx::Guarded(nrx::kFailure, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    nrx::NetworkSlot* slot = nrx::CheckNetworkIndex(net, nrx::kNoNetwork);
    if (slot == nullptr) return nrx::kFailure;
    return tavrin::SetWeigend(*slot->training, lambda, scale).ok();
  });
}

NRX_API int32_t NRX_CALL NRXReinitializeNetwork(int32_t net, int32_t method, int32_t layer,
                                                double a, double b) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (layer < -1 || layer >= n.no_layers()) return Refuse(nrx::kLayerOutOfBounds);
    // An unknown method leaves even the engine's range as it was.
    if (method < 0 || method > nrx::kLastReinitMethod) return true;
    return tavrin::ReinitialiseNetwork(tavrin::Engine(), n, method, layer, a, b).ok();
  });
}

NRX_API int32_t NRX_CALL NRXBackPropagation(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                            int32_t retain_best, int32_t shuffle, double start_rate,
                                            double end_rate, double start_momentum,
                                            double end_momentum, double noise,
                                            double* training_error, double* verification_error) {
  const nrx::TrainingCall call{
      net, ds, epochs, verify, retain_best, training_error, verification_error};
  return nrx::RunTraining(
      call, [&](tavrin::EngineState& engine, const tavrin::IterativeSettings& run) {
        return tavrin::TrainBackPropagation(engine, run, shuffle != 0, start_rate, end_rate,
                                            start_momentum, end_momentum, noise);
      });
}

NRX_API int32_t NRX_CALL NRXQuickPropagation(int32_t net, int32_t ds, int32_t epochs,
                                             int32_t verify, int32_t retain_best, double rate,
                                             double acceleration, double noise,
                                             double* training_error, double* verification_error) {
  const nrx::TrainingCall call{
      net, ds, epochs, verify, retain_best, training_error, verification_error};
  return nrx::RunTraining(
      call, [&](tavrin::EngineState& engine, const tavrin::IterativeSettings& run) {
        return tavrin::TrainQuickPropagation(engine, run, rate, acceleration, noise);
      });
}

NRX_API int32_t NRX_CALL NRXDeltaBarDelta(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                          int32_t retain_best, double initial_rate,
                                          double increment, double decay, double smoothing,
                                          double noise, double* training_error,
                                          double* verification_error) {
  const nrx::TrainingCall call{
      net, ds, epochs, verify, retain_best, training_error, verification_error};
  return nrx::RunTraining(call,
                          [&](tavrin::EngineState& engine, const tavrin::IterativeSettings& run) {
                            return tavrin::TrainDeltaBarDelta(engine, run, initial_rate, increment,
                                                              decay, smoothing, noise);
                          });
}

NRX_API int32_t NRX_CALL NRXConjugateGradients(int32_t net, int32_t ds, int32_t epochs,
                                               int32_t verify, int32_t retain_best,
                                               double* training_error, double* verification_error) {
  return nrx::RunTraining(
      {net, ds, epochs, verify, retain_best, training_error, verification_error},
      tavrin::TrainConjugateGradients);
}

NRX_API int32_t NRX_CALL NRXQuasiNewton(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                        int32_t retain_best, double* training_error,
                                        double* verification_error) {
  return nrx::RunTraining(
      {net, ds, epochs, verify, retain_best, training_error, verification_error},
      tavrin::TrainQuasiNewton);
}

NRX_API int32_t NRX_CALL NRXLevenbergMarquardt(int32_t net, int32_t ds, int32_t epochs,
                                               int32_t verify, int32_t retain_best,
                                               double* training_error, double* verification_error) {
  return nrx::RunTraining(
      {net, ds, epochs, verify, retain_best, training_error, verification_error},
      tavrin::TrainLevenbergMarquardt);
}
