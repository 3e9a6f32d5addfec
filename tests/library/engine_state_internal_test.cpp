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
  EXPECT_EQ(
      std::tuple(run_.epochs, run_.verify, run_.retain_best, run_.shuffle, run_.learning_rate.end,
                 run_.learning_rate.step, run_.momentum.end, run_.momentum.step, run_.noise),
      std::tuple(2, true, false, true, 0.125, -0.0625, 0.75, 0.125, 0.0625));
  EXPECT_EQ(std::tuple(run_.stop_error_window, run_.stop_error_threshold,
                       run_.stop_verification_threshold, run_.stop_error_delta,
                       run_.stop_verification_delta, run_.weigend_lambda, run_.weigend_scale),
            std::tuple(7, 1e-9, 2e-9, 0.125, 0.0625, 0.01, 2.0));
  EXPECT_EQ(std::tuple(training_, verification_),
            std::tuple(run_.training_error, run_.verification_error));
  EXPECT_NE(training_, verification_);
  EXPECT_EQ(Networks()[net_].training->epochs, 2) << "kept with the slot";
}

TEST_F(NrxEngineStateTest, QuickPropagationHandsEveryArgumentOn) {
  Ok(NRXQuickPropagation(net_, ds_, 1, 0, 0, 0.375, 1.5, 0.03125, &training_, &verification_));
  EXPECT_EQ(std::tuple(run_.epochs, run_.learning_rate.end, engine_.algorithms.quickprop_accel,
                       run_.noise),
            std::tuple(1, 0.375, 1.5, 0.03125));
}

TEST_F(NrxEngineStateTest, DeltaBarDeltaHandsEveryArgumentOn) {
  Ok(NRXDeltaBarDelta(net_, ds_, 1, 0, 0, 0.375, 0.0625, 0.875, 0.25, 0.015625, &training_,
                      &verification_));
  EXPECT_EQ(std::tuple(run_.learning_rate.end, engine_.algorithms.dbd_increment,
                       engine_.algorithms.dbd_decay, engine_.algorithms.dbd_smoothing, run_.noise),
            std::tuple(0.375, 0.0625, 0.875, 0.25, 0.015625));
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

TEST_F(NrxEngineStateTest, ReinitialisationTakesItsMethodLayerAndRange) {
  const std::int32_t net = Design{.units = {1, 2, 1}}.Create();
  // Uniform in (1.5, 1.5) can only give 1.5, in every layer.
  Ok(NRXReinitializeNetwork(net, NRX_REINIT_UNIFORM, -1, 1.5, 1.5));
  Ok(NRXReinitializeNetwork(net, NRX_REINIT_ZERO, 1, 2.5, 3.5));
  EXPECT_EQ(Get<double>(NRXGetNetworkWeight, net, 0, 0, 1, 0), 0.0);
  EXPECT_EQ(Get<double>(NRXGetNetworkWeight, net, 1, 0, 2, 0), 1.5);
  EXPECT_EQ(engine_.reinitialisation.a, 2.5);
  EXPECT_EQ(engine_.reinitialisation.b, 3.5);
}

// A row for each way an export makes its pair active: structure
// edits, appending, the two kinds of variable edit, the exports on a network
// and a data set, and training.
TEST_F(NrxEngineStateTest, CallsThatWorkThroughTheEngineMakeTheirPairActive) {
  const std::int32_t edited = Design{.units = {1, 2, 1}}.Create();
  const std::tuple<std::int32_t, bool, std::function<std::int32_t()>> calls[] = {
      {edited, false, [&] { return NRXAddNetworkUnits(edited, 1, -1, 1); }},
      {edited, false, [&] { return NRXAppendNetwork(edited, edited); }},
      {edited, false, [&] { return NRXAddNetworkInputVariables(edited, -1, 1); }},
      {edited, false, [&] { return NRXSetNetworkNoNominals(edited, 0, 2); }},
      {net_, true, [&] { return NRXCalculateScaleFactors(net_, ds_); }},
      {net_, true,
       [&] {
         return NRXBackPropagation(net_, ds_, 0, 0, 0, 0, 0, 0, 0, 0, 0, &training_,
                                   &verification_);
       }},
  };
  int row = 0;
  for (const auto& [net, with_data_set, call] : calls) {
    SCOPED_TRACE(row++);
    engine_.active_network = nullptr;
    engine_.active_data_set = nullptr;
    EXPECT_GT(call(), 0) << nrx_test::ErrorText();
    EXPECT_EQ(engine_.active_network, Networks()[net].network.get());
    EXPECT_EQ(engine_.active_data_set, with_data_set ? DataSets()[ds_].get() : nullptr);
  }
  engine_.active_network = nullptr;
  Ok(NRXSetNetworkUnitThreshold(net_, 1, 0, 1.0));
  EXPECT_EQ(engine_.active_network, nullptr) << "a plain setter";
}

TEST_F(NrxEngineStateTest, FreeingASlotLeavesNoEnginePointerToIt) {
  Ok(NRXCalculateScaleFactors(net_, ds_));
  Ok(NRXFreeDataSet(ds_));
  Ok(NRXFreeNetwork(net_));
  EXPECT_EQ(engine_.active_data_set, nullptr);
  EXPECT_EQ(engine_.active_network, nullptr);
}

}  // namespace
}  // namespace nrx
