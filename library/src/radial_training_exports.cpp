// Radial and self-organising training: Kohonen's map and LVQ through the
// epoch driver, the one-shot placing of centres and setting of widths, and
// the class labels of radial units.

#include <cstdint>

#include "checks.h"
#include "entry_point.h"
#include "nrx32.h"
#include "training/centre_assignment.h"
#include "training/radial_class_labels.h"
#include "training/radial_deviation.h"
#include "training/training_calls.h"
#include "training_call.h"

namespace nrx {
namespace {

// A one-shot operation on a network and a data set: the handle checks, the
// pair made active as for a training call, then `operation(engine)`.
template <typename Operation>
std::int32_t OnTrainingPair(std::int32_t net, std::int32_t ds, Operation&& operation) noexcept {
  return OnPair(net, ds, tavrin::kNotEnoughMemory, [&](NetworkSlot& slot, tavrin::DataSet& data) {
    tavrin::BeginTrainingCall(tavrin::Engine(), slot.network.get(), &data, *slot.training);
    return operation(tavrin::Engine()).ok();
  });
}

// A width setting on a network alone, made the active network.
template <typename Operation>
std::int32_t OnRadialNetwork(std::int32_t net, Operation&& operation) noexcept {
  return OnNetwork(net, {.no_network = kNoNetworkCapital, .make_active = true},
                   [&](tavrin::Network&) { return operation(tavrin::Engine()).ok(); });
}

}  // namespace
}  // namespace nrx

NRX_API int32_t NRX_CALL NRXKohonen(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                    int32_t retain_best, int32_t shuffle, double start_rate,
                                    double end_rate, double start_neighbourhood,
                                    double end_neighbourhood, double* training_error,
                                    double* verification_error) {
  const nrx::TrainingCall call{
      net, ds, epochs, verify, retain_best, training_error, verification_error};
  return nrx::RunTraining(
      call, [&](tavrin::EngineState& engine, const tavrin::IterativeSettings& run) {
        return tavrin::TrainKohonen(engine, run, shuffle != 0, start_rate, end_rate,
                                    start_neighbourhood, end_neighbourhood);
      });
}

NRX_API int32_t NRX_CALL NRXLVQ(int32_t net, int32_t ds, int32_t epochs, int32_t verify,
                                int32_t retain_best, int32_t shuffle, int32_t method,
                                double start_rate, double end_rate, double epsilon, double beta,
                                double* training_error, double* verification_error) {
  const nrx::TrainingCall call{
      net, ds, epochs, verify, retain_best, training_error, verification_error};
  return nrx::RunTraining(call, [&](tavrin::EngineState& engine,
                                    const tavrin::IterativeSettings& run) {
    return tavrin::TrainLvq(engine, run, shuffle != 0, method, start_rate, end_rate, epsilon, beta);
  });
}

NRX_API int32_t NRX_CALL NRXSubsample(int32_t net, int32_t ds) {
  return nrx::OnTrainingPair(net, ds, [](tavrin::EngineState& engine) {
    return tavrin::AssignCentresBySubsample(engine);
  });
}

NRX_API int32_t NRX_CALL NRXKMeans(int32_t net, int32_t ds) {
  return nrx::OnTrainingPair(
      net, ds, [](tavrin::EngineState& engine) { return tavrin::AssignCentresByKMeans(engine); });
}

NRX_API int32_t NRX_CALL NRXKNearestDeviation(int32_t net, int32_t ds, int32_t k) {
  return nrx::OnTrainingPair(net, ds, [&](tavrin::EngineState& engine) {
    return tavrin::SetKNearestDeviation(engine, k);
  });
}

NRX_API int32_t NRX_CALL NRXIsotropicDeviation(int32_t net, double deviation) {
  return nrx::OnRadialNetwork(net, [&](tavrin::EngineState& engine) {
    return tavrin::SetIsotropicDeviation(engine, deviation);
  });
}

NRX_API int32_t NRX_CALL NRXExplicitDeviation(int32_t net, double deviation) {
  return nrx::OnRadialNetwork(net, [&](tavrin::EngineState& engine) {
    return tavrin::SetExplicitDeviation(engine, deviation);
  });
}

NRX_API int32_t NRX_CALL NRXWinFrequencyClassLabel(int32_t net, int32_t ds, double proportion) {
  return nrx::OnTrainingPair(net, ds, [&](tavrin::EngineState& engine) {
    return tavrin::LabelByWinFrequency(engine, proportion);
  });
}

NRX_API int32_t NRX_CALL NRXKNearestClassLabel(int32_t net, int32_t ds, int32_t k, int32_t l) {
  return nrx::OnTrainingPair(net, ds, [&](tavrin::EngineState& engine) {
    return tavrin::LabelByKNearestCases(engine, k, l);
  });
}
