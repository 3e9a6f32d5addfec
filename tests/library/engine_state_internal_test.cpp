// How the exports meet the engine's state: each training argument reaches the
// run (distinct values, so that a swap shows), the slot's settings are copied
// into it, the calls that work through the engine make their network and data
// set active, and freeing a slot leaves no engine pointer to it. Linked
// against the library's objects, whose state the shared object hides.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine_state.h"
#include "frame.h"
#include "library_test_support.h"

namespace nrx {
namespace {

using nrx_test::Design;
using nrx_test::Get;
using nrx_test::Ok;

class NrxEngineStateTest : public nrx_test::LibraryTest {
 protected:
  void SetUp() override {
    // y = w x + t, coded "None"; two training cases and one verification case.
    net_ = Design{.design = NRX_DESIGN_LINEAR, .conversions = {5, 5}}.Create();
    ds_ = nrx_test::MakeDataSet(1, 1, {{1.0, 1.0}, {0.5, 0.0}, {2.0, 1.5}});
    Ok(NRXSetDataCaseTypes(ds_, 2, 1, NRX_CASE_VERIFICATION));
  }

  tavrin::EngineState& engine_ = tavrin::Engine();
  const tavrin::TrainingRun& run_ = engine_.training;
  std::int32_t net_ = -1;
  std::int32_t ds_ = -1;
  double training_ = -1.0;
  double verification_ = -1.0;
};

TEST_F(NrxEngineStateTest, BackPropagationHandsEveryArgumentOn) {
  Ok(NRXSetStoppingConditions(net_, 7, 1e-9, 2e-9, 0.125, 0.0625));
  Ok(NRXSetWeigend(net_, 0.01, 2.0));
  // Two epochs, so that each schedule's step shows its start: (end - start) / 2.
  Ok(NRXBackPropagation(net_, ds_, 2, 1, 0, 1, 0.25, 0.125, 0.5, 0.75, 0.0625, &training_,
                        &verification_));
  EXPECT_EQ(run_.epochs, 2);
  EXPECT_TRUE(run_.verify);
  EXPECT_FALSE(run_.retain_best);
  EXPECT_TRUE(run_.shuffle);
  EXPECT_EQ(run_.learning_rate.end, 0.125);
  EXPECT_EQ(run_.learning_rate.step, -0.0625);
  EXPECT_EQ(run_.momentum.end, 0.75);
  EXPECT_EQ(run_.momentum.step, 0.125);
  EXPECT_EQ(run_.noise, 0.0625);
  EXPECT_EQ(run_.stop_error_window, 7);
  EXPECT_EQ(run_.stop_error_threshold, 1e-9);
  EXPECT_EQ(run_.stop_verification_threshold, 2e-9);
  EXPECT_EQ(run_.stop_error_delta, 0.125);
  EXPECT_EQ(run_.stop_verification_delta, 0.0625);
  EXPECT_EQ(run_.weigend_lambda, 0.01);
  EXPECT_EQ(run_.weigend_scale, 2.0);
  EXPECT_EQ(training_, run_.training_error);
  EXPECT_EQ(verification_, run_.verification_error);
  EXPECT_NE(training_, verification_);
  const TrainingSettings& settings = *Networks()[net_].training;
  EXPECT_EQ(settings.epochs, 2);
  EXPECT_EQ(settings.retain_best, 0);

  // Retain best restores the best network into the slot's own object.
  const tavrin::Network* object = Networks()[net_].network.get();
  Ok(NRXBackPropagation(net_, ds_, 1, 0, 7, 0, 0.25, 0.25, 0.5, 0.5, 0.0, &training_,
                        &verification_));
  EXPECT_EQ(settings.retain_best, 1);
  EXPECT_TRUE(run_.retain_best);
  EXPECT_FALSE(run_.verify);
  EXPECT_FALSE(run_.shuffle);
  EXPECT_EQ(Networks()[net_].network.get(), object);
}

TEST_F(NrxEngineStateTest, QuickPropagationHandsEveryArgumentOn) {
  Ok(NRXQuickPropagation(net_, ds_, 1, 0, 0, 0.375, 1.5, 0.03125, &training_, &verification_));
  EXPECT_EQ(run_.epochs, 1);
  EXPECT_EQ(run_.learning_rate.end, 0.375);
  EXPECT_EQ(engine_.algorithms.quickprop_accel, 1.5);
  EXPECT_EQ(run_.noise, 0.03125);
}

TEST_F(NrxEngineStateTest, DeltaBarDeltaHandsEveryArgumentOn) {
  Ok(NRXDeltaBarDelta(net_, ds_, 1, 0, 0, 0.375, 0.0625, 0.875, 0.25, 0.015625, &training_,
                      &verification_));
  EXPECT_EQ(run_.learning_rate.end, 0.375);
  EXPECT_EQ(engine_.algorithms.dbd_increment, 0.0625);
  EXPECT_EQ(engine_.algorithms.dbd_decay, 0.875);
  EXPECT_EQ(engine_.algorithms.dbd_smoothing, 0.25);
  EXPECT_EQ(run_.noise, 0.015625);
}

TEST_F(NrxEngineStateTest, SecondOrderTrainersHandEveryArgumentOnWithoutNoise) {
  using Train = int32_t(NRX_CALL*)(int32_t, int32_t, int32_t, int32_t, int32_t, double*, double*);
  const std::pair<Train, const char*> trainers[] = {
      {NRXConjugateGradients, "CG"}, {NRXQuasiNewton, "QN"}, {NRXLevenbergMarquardt, "LM"}};
  for (auto [train, code] : trainers) {
    SCOPED_TRACE(code);
    // Noise left behind by another trainer must not reach these.
    Ok(NRXQuickPropagation(net_, ds_, 0, 0, 0, 0.375, 1.5, 0.03125, &training_, &verification_));
    Ok(train(net_, ds_, 2, 1, 0, &training_, &verification_));
    EXPECT_EQ(std::tuple(run_.epochs, run_.verify, run_.retain_best, run_.noise, training_,
                         verification_),
              std::tuple(2, true, false, 0.0, run_.training_error, run_.verification_error));
    EXPECT_NE(run_.history.find(code), std::string::npos);  // this trainer ran
    Ok(train(net_, ds_, 1, 0, 1, &training_, &verification_));
    EXPECT_EQ(std::pair(run_.verify, run_.retain_best), std::pair(false, true));
  }
}

// A request made while no training runs stops the next one after its first epoch.
TEST_F(NrxEngineStateTest, AStopRequestEndsTheNextTrainingCall) {
  NRXRequestStop();
  Ok(NRXBackPropagation(net_, ds_, 50, 0, 0, 0, 0.1, 0.1, 0.0, 0.0, 0.0, &training_,
                        &verification_));
  EXPECT_EQ(run_.epoch, 1);
}

TEST_F(NrxEngineStateTest, ReinitialisationTakesItsMethodLayerAndRange) {
  const std::int32_t net = Design{.units = {1, 2, 1}}.Create();
  const auto weight_and_threshold = [&](std::int32_t layer) {
    return std::pair{Get<double>(NRXGetNetworkWeight, net, layer - 1, 0, layer, 0),
                     Get<double>(NRXGetNetworkUnitThreshold, net, layer, 0)};
  };
  // Uniform in (1.5, 1.5) can only give 1.5, in every layer.
  Ok(NRXReinitializeNetwork(net, NRX_REINIT_UNIFORM, -1, 1.5, 1.5));
  Ok(NRXReinitializeNetwork(net, NRX_REINIT_ZERO, 1, 2.5, 3.5));
  EXPECT_EQ(weight_and_threshold(1), std::pair(0.0, 0.0));
  EXPECT_EQ(weight_and_threshold(2), std::pair(1.5, 1.5));
  EXPECT_EQ(engine_.reinitialisation.a, 2.5);
  EXPECT_EQ(engine_.reinitialisation.b, 3.5);
  // An unknown method changes nothing, not even the range, and succeeds.
  Ok(NRXReinitializeNetwork(net, 4, 2, 5.0, 6.0));
  EXPECT_EQ(engine_.reinitialisation.a, 2.5);
  EXPECT_EQ(weight_and_threshold(2), std::pair(1.5, 1.5));
}

TEST_F(NrxEngineStateTest, CallsThatWorkThroughTheEngineMakeTheirPairActive) {
  const std::int32_t edited = Design{.units = {1, 2, 1}}.Create();
  struct Activating {
    std::int32_t net;
    bool with_data_set;
    std::function<std::int32_t()> call;
  };
  const std::vector<Activating> calls = {
      {edited + 1, false, [] { return Design{}.Create(); }},
      {edited, false, [&] { return NRXAddNetworkUnits(edited, 1, -1, 1); }},
      {edited, false, [&] { return NRXDeleteNetworkUnits(edited, 1, 0, 1); }},
      {edited, false, [&] { return NRXDeleteNetworkLayer(edited, 1); }},
      {edited, false, [&] { return NRXAppendNetwork(edited, edited); }},
      {edited, false, [&] { return NRXAddNetworkInputVariables(edited, -1, 1); }},
      {edited, false, [&] { return NRXAddNetworkOutputVariables(edited, -1, 1); }},
      {edited, false, [&] { return NRXDeleteNetworkInputVariables(edited, 0, 1); }},
      {edited, false, [&] { return NRXDeleteNetworkOutputVariables(edited, 0, 1); }},
      {edited, false, [&] { return NRXSetNetworkNoNominals(edited, 0, 2); }},
      {edited, false, [&] { return NRXSetNetworkConvertFunction(edited, 0, 1); }},
      {edited, false, [&] { return NRXSetNetworkSteps(edited, 2); }},
      {net_, true, [&] { return NRXCalculateScaleFactors(net_, ds_); }},
      {net_, true, [&] { return NRXRunNetworkFromDataSet(net_, ds_, 2, 0, &training_); }},
      {net_, true,
       [&] {
         return NRXBackPropagation(net_, ds_, 0, 0, 0, 0, 0, 0, 0, 0, 0, &training_,
                                   &verification_);
       }},
  };
  for (const Activating& c : calls) {
    SCOPED_TRACE(&c - calls.data());
    engine_.active_network = nullptr;
    engine_.active_data_set = nullptr;
    EXPECT_GT(c.call(), 0) << nrx_test::ErrorText();
    EXPECT_EQ(engine_.active_network, Networks()[c.net].network.get());
    EXPECT_EQ(engine_.active_data_set, c.with_data_set ? DataSets()[ds_].get() : nullptr);
  }
  engine_.active_network = nullptr;
  Ok(NRXSetNetworkUnitThreshold(net_, 1, 0, 1.0));
  EXPECT_EQ(engine_.active_network, nullptr) << "a plain setter";
}

TEST_F(NrxEngineStateTest, FreeingASlotLeavesNoEnginePointerToIt) {
  const std::int32_t other = nrx_test::MakeDataSet(1, 1, {{0, 0}});
  Ok(NRXCalculateScaleFactors(net_, ds_));
  Ok(NRXFreeDataSet(other));
  EXPECT_EQ(engine_.active_data_set, DataSets()[ds_].get()) << "another data set's free";
  Ok(NRXFreeDataSet(ds_));
  EXPECT_EQ(engine_.active_data_set, nullptr);
  const std::int32_t second = Design{}.Create();
  Ok(NRXFreeNetwork(net_));
  EXPECT_EQ(engine_.active_network, Networks()[second].network.get()) << "another network's free";
  Ok(NRXFreeNetwork(second));
  EXPECT_EQ(engine_.active_network, nullptr);
}

}  // namespace
}  // namespace nrx
