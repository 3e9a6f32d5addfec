// How the exports meet the engine's state: which calls make a network and a
// data set active, that freeing a slot leaves no engine pointer to it, and
// that a training call hands the slot's settings to the run and leaves the
// slot holding its network object. Linked against the library's objects.

#include <gtest/gtest.h>

#include <type_traits>

#include "engine_state.h"
#include "frame.h"
#include "nrx32.h"

namespace nrx {
namespace {

static_assert(std::is_same_v<TrainingSettings, tavrin::TrainingSettings>,
              "the slots keep the engine's own settings record");

class NrxEngineStateTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (int i = 0; i < kNetworkSlotCount; ++i) NRXFreeNetwork(i);
    for (int i = 0; i < kDataSetSlotCount; ++i) NRXFreeDataSet(i);
  }

  // A linear network of one input and one output, coded "None".
  static std::int32_t MakeNetwork() {
    const std::int32_t units[] = {1, 1};
    const std::int32_t conversions[] = {5, 5};
    return NRXCreateNetwork(NRX_DESIGN_LINEAR, 1, 1, 2, 0, 1, nullptr, conversions, units, units);
  }

  static std::int32_t MakeDataSet() {
    const std::int32_t ds = NRXCreateDataSet(1, 1);
    EXPECT_EQ(NRXSetDataEntry(ds, 0, 0, 1.0), 1);
    EXPECT_EQ(NRXSetDataEntry(ds, 0, 1, 1.0), 1);
    return ds;
  }
};

TEST_F(NrxEngineStateTest, PairExportsMakeTheirNetworkAndDataSetActive) {
  const std::int32_t first = MakeNetwork();
  const std::int32_t second = MakeNetwork();
  const std::int32_t ds = MakeDataSet();
  tavrin::EngineState& engine = tavrin::Engine();
  ASSERT_EQ(engine.active_network, Networks()[second].network.get()) << "the last created";

  ASSERT_EQ(NRXCalculateScaleFactors(first, ds), 1);
  EXPECT_EQ(engine.active_network, Networks()[first].network.get());
  EXPECT_EQ(engine.active_data_set, DataSets()[ds].get());

  double out = 0.0;
  ASSERT_EQ(NRXRunNetworkFromDataSet(second, ds, 0, 0, &out), 1);
  EXPECT_EQ(engine.active_network, Networks()[second].network.get());
}

TEST_F(NrxEngineStateTest, FreeingASlotLeavesNoEnginePointerToIt) {
  const std::int32_t net = MakeNetwork();
  const std::int32_t ds = MakeDataSet();
  const std::int32_t other = MakeDataSet();
  ASSERT_EQ(NRXCalculateScaleFactors(net, ds), 1);
  tavrin::EngineState& engine = tavrin::Engine();

  ASSERT_EQ(NRXFreeDataSet(other), 1);
  EXPECT_EQ(engine.active_data_set, DataSets()[ds].get()) << "another data set's free";
  ASSERT_EQ(NRXFreeDataSet(ds), 1);
  EXPECT_EQ(engine.active_data_set, nullptr);
  ASSERT_EQ(NRXFreeNetwork(net), 1);
  EXPECT_EQ(engine.active_network, nullptr);
}

TEST_F(NrxEngineStateTest, TrainingCopiesTheSlotsSettingsAndKeepsItsNetworkObject) {
  const std::int32_t net = MakeNetwork();
  const std::int32_t ds = MakeDataSet();
  ASSERT_EQ(NRXSetStoppingConditions(net, 7, 0.25, 0.5, 0.125, 0.0625), 1);
  ASSERT_EQ(NRXSetWeigend(net, 0.01, 2.0), 1);
  const tavrin::Network* object = Networks()[net].network.get();

  double training = 0.0, verification = 0.0;
  ASSERT_EQ(
      NRXBackPropagation(net, ds, 3, 0, 1, 0, 0.1, 0.1, 0.0, 0.0, 0.0, &training, &verification),
      1);
  const TrainingSettings& settings = *Networks()[net].training;
  EXPECT_EQ(settings.epochs, 3);
  EXPECT_EQ(settings.retain_best, 1);
  const tavrin::TrainingRun& run = tavrin::Engine().training;
  EXPECT_EQ(run.stop_error_window, 7);
  EXPECT_EQ(run.stop_error_threshold, 0.25);
  EXPECT_EQ(run.stop_verification_threshold, 0.5);
  EXPECT_EQ(run.stop_error_delta, 0.125);
  EXPECT_EQ(run.stop_verification_delta, 0.0625);
  EXPECT_EQ(run.weigend_lambda, 0.01);
  EXPECT_EQ(run.weigend_scale, 2.0);
  EXPECT_EQ(run.epochs, 3);
  EXPECT_EQ(training, run.training_error);
  // The best network was restored into the slot's own object.
  EXPECT_EQ(Networks()[net].network.get(), object);
  EXPECT_EQ(tavrin::Engine().active_network, object);

  // A call with retain best clear stores that in the slot too.
  ASSERT_EQ(
      NRXBackPropagation(net, ds, 2, 0, 0, 0, 0.1, 0.1, 0.0, 0.0, 0.0, &training, &verification),
      1);
  EXPECT_EQ(settings.epochs, 2);
  EXPECT_EQ(settings.retain_best, 0);
}

TEST_F(NrxEngineStateTest, RefusedWeigendTermsLeaveTheSlotsSettings) {
  const std::int32_t net = MakeNetwork();
  ASSERT_EQ(NRXSetWeigend(net, 0.5, 3.0), 1);
  EXPECT_EQ(NRXSetWeigend(net, 0.5, 0.0), 0);
  EXPECT_EQ(NRXSetWeigend(net, -0.5, 1.0), 0);
  const TrainingSettings& settings = *Networks()[net].training;
  EXPECT_EQ(settings.weigend_lambda, 0.5);
  EXPECT_EQ(settings.weigend_scale, 3.0);
}

TEST_F(NrxEngineStateTest, AnUnknownReinitialisationMethodLeavesTheRangeAlone) {
  const std::int32_t net = MakeNetwork();
  ASSERT_EQ(NRXReinitializeNetwork(net, 3, -1, -2.0, 2.0), 1);
  EXPECT_EQ(tavrin::Engine().reinitialisation.a, -2.0);
  EXPECT_EQ(tavrin::Engine().reinitialisation.b, 2.0);
  ASSERT_EQ(NRXReinitializeNetwork(net, 4, -1, 5.0, 6.0), 1);
  EXPECT_EQ(tavrin::Engine().reinitialisation.a, -2.0);
  EXPECT_EQ(tavrin::Engine().reinitialisation.b, 2.0);
}

}  // namespace
}  // namespace nrx
