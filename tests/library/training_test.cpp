// Training through the library on a network of one linear unit,
//   y = w x - t  (w = 0.5, t = 0.1 to start),
// whose variables are coded "None" so that the scale factors every training
// call recalculates are the identity. Each expected figure is worked out by
// hand from the update rules, as shown beside it. Tolerances of 1e-12 cover
// the rounding of decimal figures such as 0.1 and 0.4, nothing more.

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxTrainingTest = LibraryTest;

constexpr double kTolerance = 1e-12;

int32_t MakeUnit(double w = 0.5, double t = 0.1) {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.conversions = {5, 5};
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  SetWeights(net, 1, {{w}});
  SetThresholds(net, 1, {t});
  return net;
}

// Two training cases, (x, d) = (1, 1) and (0.5, 0).
int32_t MakeTwoCases() {
  return MakeDataSet(1, 1, {{1.0, 1.0}, {0.5, 0.0}});
}

struct Errors {
  double training = 99.0;
  double verification = 99.0;
};

// Training calls keep a trainer's working arrays between calls of the same
// trainer with retain best set. A call of each with retain best clear and no
// epochs releases them, so a test starts from fresh arrays.
void ReleaseTrainers(int32_t net, int32_t ds) {
  Errors e;
  ASSERT_EQ(NRXQuickPropagation(net, ds, 0, 0, 0, 0.1, 2.0, 0.0, &e.training, &e.verification), 1)
      << ErrorText();
  ASSERT_EQ(
      NRXDeltaBarDelta(net, ds, 0, 0, 0, 0.1, 0.1, 0.8, 0.5, 0.0, &e.training, &e.verification), 1);
  ASSERT_EQ(NRXBackPropagation(net, ds, 0, 0, 0, 0, 0.1, 0.1, 0.0, 0.0, 0.0, &e.training,
                               &e.verification),
            1);
}

// Back propagation at a constant rate 0.5 and momentum `momentum`, in case
// order, without noise.
int32_t BackPropagate(int32_t net, int32_t ds, int32_t epochs, int32_t verify, int32_t retain,
                      double momentum, Errors& e) {
  return NRXBackPropagation(net, ds, epochs, verify, retain, 0, 0.5, 0.5, momentum, momentum, 0.0,
                            &e.training, &e.verification);
}

TEST_F(NrxTrainingTest, OneBackPropagationEpochByHand) {
  const int32_t net = MakeUnit();
  const int32_t ds = MakeTwoCases();
  ReleaseTrainers(net, ds);
  Errors e;
  ASSERT_EQ(BackPropagate(net, ds, 1, 0, 0, 0.5, e), 1) << ErrorText();
  // Case 1: y = 0.5 - 0.1 = 0.4, delta = 1 - 0.4 = 0.6, error 0.36;
  //   dw = 0.5 x 0.6 x 1 = 0.3 -> w = 0.8; dt = -0.5 x 0.6 = -0.3 -> t = -0.2.
  // Case 2: y = 0.8 x 0.5 + 0.2 = 0.6, delta = -0.6, error 0.36;
  //   dw = 0.5 x 0.3 + 0.5 x -0.6 x 0.5 = 0 -> w = 0.8;
  //   dt = 0.5 x -0.3 + 0.5 x 0.6 = 0.15 -> t = -0.05.
  // Training error sqrt((0.36 + 0.36) / 2) = 0.6, each measured before its
  // case's change; no verification.
  EXPECT_NEAR(Weight(net, 0, 0, 0), 0.8, kTolerance);
  EXPECT_NEAR(Threshold(net, 1, 0), -0.05, kTolerance);
  EXPECT_NEAR(e.training, 0.6, kTolerance);
  EXPECT_EQ(e.verification, 0.0);
}

TEST_F(NrxTrainingTest, RetainBestRestoresTheNetworkBeforeAWorseEpoch) {
  const int32_t net = MakeUnit();
  const int32_t ds = MakeTwoCases();
  ReleaseTrainers(net, ds);
  Errors e;
  ASSERT_EQ(BackPropagate(net, ds, 1, 0, 1, 0.5, e), 1) << ErrorText();
  // Before training: y = 0.4 and 0.15, error sqrt((0.36 + 0.0225) / 2),
  // below the epoch's 0.6 (previous test), so the start is the best.
  EXPECT_EQ(Weight(net, 0, 0, 0), 0.5);
  EXPECT_EQ(Threshold(net, 1, 0), 0.1);
  EXPECT_NEAR(e.training, std::sqrt(0.19125), kTolerance);
}

TEST_F(NrxTrainingTest, VerificationCasesAreMeasuredAfterEachEpoch) {
  const int32_t net = MakeUnit();
  const int32_t ds = MakeTwoCases();
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 1, 1, NRX_CASE_VERIFICATION), 1);
  ReleaseTrainers(net, ds);
  Errors e;
  // No epochs: the starting errors, |1 - 0.4| and |0 - 0.15|.
  ASSERT_EQ(BackPropagate(net, ds, 0, 1, 0, 0.0, e), 1) << ErrorText();
  EXPECT_NEAR(e.training, 0.6, kTolerance);
  EXPECT_NEAR(e.verification, 0.15, kTolerance);
  // One epoch trains case 1 only: w = 0.8, t = -0.2; the verification case
  // then gives y = 0.4 + 0.2 = 0.6.
  ASSERT_EQ(BackPropagate(net, ds, 1, 1, 0, 0.0, e), 1) << ErrorText();
  EXPECT_NEAR(e.training, 0.6, kTolerance);
  EXPECT_NEAR(e.verification, 0.6, kTolerance);
  // Without verify the verification error is 0 though the cases exist.
  ASSERT_EQ(BackPropagate(net, ds, 0, 0, 0, 0.0, e), 1) << ErrorText();
  EXPECT_EQ(e.verification, 0.0);
}

TEST_F(NrxTrainingTest, AMetTargetErrorEndsTheRunAfterTheFirstEpoch) {
  const int32_t net = MakeUnit();
  const int32_t ds = MakeTwoCases();
  ReleaseTrainers(net, ds);
  ASSERT_EQ(NRXSetStoppingConditions(net, 0, 1.0, 0.0, 0.0, 0.0), 1);
  Errors e;
  ASSERT_EQ(BackPropagate(net, ds, 50, 0, 0, 0.5, e), 1) << ErrorText();
  // The first epoch's error 0.6 is below 1.0, so only that epoch runs (its
  // figures as in OneBackPropagationEpochByHand).
  EXPECT_NEAR(Weight(net, 0, 0, 0), 0.8, kTolerance);
  EXPECT_NEAR(Threshold(net, 1, 0), -0.05, kTolerance);
  EXPECT_NEAR(e.training, 0.6, kTolerance);
}

TEST_F(NrxTrainingTest, TheWeigendPenaltyShrinksWeightsAndAddsToTheError) {
  const int32_t net = MakeUnit();
  const int32_t ds = MakeDataSet(1, 1, {{1.0, 1.0}});
  ReleaseTrainers(net, ds);
  ASSERT_EQ(NRXSetWeigend(net, 0.1, 1.0), 1);
  Errors e;
  ASSERT_EQ(BackPropagate(net, ds, 1, 0, 0, 0.0, e), 1) << ErrorText();
  // delta = 0.6; P'(0.5) = 2 x 0.1 x 1 x 0.5 / (0.25 + 1)^2 = 0.064;
  // dw = 0.5 x (0.6 - 0.064) x 1 = 0.268 -> w = 0.768. The threshold has no
  // penalty: t = 0.1 - 0.3.
  EXPECT_NEAR(Weight(net, 0, 0, 0), 0.768, kTolerance);
  EXPECT_NEAR(Threshold(net, 1, 0), -0.2, kTolerance);
  // Error: sqrt(0.36 + 0.1 x w^2 / (1 + w^2)) with the weight after the epoch.
  const double w2 = 0.768 * 0.768;
  EXPECT_NEAR(e.training, std::sqrt(0.36 + 0.1 * w2 / (1.0 + w2)), kTolerance);
}

TEST_F(NrxTrainingTest, QuickPropagationsFirstEpochIsAGradientStep) {
  const int32_t net = MakeUnit();
  const int32_t ds = MakeTwoCases();
  ReleaseTrainers(net, ds);
  Errors e;
  ASSERT_EQ(NRXQuickPropagation(net, ds, 1, 0, 0, 0.5, 2.0, 0.0, &e.training, &e.verification), 1)
      << ErrorText();
  // Deltas at the unchanged weights: 0.6 (x = 1) and -0.15 (x = 0.5).
  // Gradient: w: -(0.6 x 1) - (-0.15 x 0.5) = -0.525; t: 0.6 - 0.15 = 0.45.
  // First epoch: step = -0.5 x gradient: w = 0.5 + 0.2625, t = 0.1 - 0.225.
  EXPECT_NEAR(Weight(net, 0, 0, 0), 0.7625, kTolerance);
  EXPECT_NEAR(Threshold(net, 1, 0), -0.125, kTolerance);
  // The errors were measured before the epoch's single change.
  EXPECT_NEAR(e.training, std::sqrt(0.19125), kTolerance);
}

TEST_F(NrxTrainingTest, DeltaBarDeltaAdaptsEachRateByHand) {
  const int32_t net = MakeUnit();
  const int32_t ds = MakeTwoCases();
  ReleaseTrainers(net, ds);
  Errors e;
  ASSERT_EQ(
      NRXDeltaBarDelta(net, ds, 2, 0, 0, 0.5, 0.1, 0.8, 0.5, 0.0, &e.training, &e.verification), 1)
      << ErrorText();
  // Epoch 1: gradient (-0.525, 0.45) as for quick propagation; bar-deltas 0,
  //   so the rates stay 0.5: w = 0.7625, t = -0.125; bar-deltas become
  //   0.5 x gradient = (-0.2625, 0.225).
  // Epoch 2: y = 0.8875 and 0.50625, deltas 0.1125 and -0.50625;
  //   gradient w: -0.1125 + 0.253125 = 0.140625, t: 0.1125 - 0.50625 = -0.39375.
  //   Both signs differ from their bar-deltas: rates 0.5 x 0.8 = 0.4.
  //   w = 0.7625 - 0.4 x 0.140625 = 0.70625; t = -0.125 + 0.4 x 0.39375 = 0.0325.
  EXPECT_NEAR(Weight(net, 0, 0, 0), 0.70625, kTolerance);
  EXPECT_NEAR(Threshold(net, 1, 0), 0.0325, kTolerance);
  EXPECT_NEAR(e.training, std::sqrt((0.1125 * 0.1125 + 0.50625 * 0.50625) / 2), kTolerance);
}

TEST_F(NrxTrainingTest, DivergenceStopsTheRunButTheCallSucceeds) {
  const std::string message =
      "Training algorithm has stopped prematurely because the weights are diverging rapidly. "
      "Try Reinitialising your network and run the algorithm again with a lower learning rate "
      "(the current learning rate is probably unsuitable for the type of activation functions "
      "in this network).";
  for (int32_t retain : {0, 1}) {
    const int32_t net = MakeUnit();
    // Target 1e13: the first output delta, 1e13 - 0.4, is beyond 1e12, so
    // the run stops before any weight changes.
    const int32_t ds = MakeDataSet(1, 1, {{1.0, 1e13}});
    Errors e;
    ASSERT_EQ(BackPropagate(net, ds, 5, 0, retain, 0.0, e), 1) << ErrorText();
    EXPECT_EQ(ErrorText(), message.substr(0, 128));
    EXPECT_EQ(Weight(net, 0, 0, 0), 0.5);
    EXPECT_EQ(Threshold(net, 1, 0), 0.1);
    // The errors are those measured before the first epoch.
    EXPECT_DOUBLE_EQ(e.training, 1e13 - 0.4);
    EXPECT_EQ(e.verification, 0.0);
  }
}

// What a refused training call must leave alone.
struct NetworkState {
  double weight, threshold, scale;
  bool operator==(const NetworkState&) const = default;
};

NetworkState StateOf(int32_t net) {
  double scale = 0.0;
  EXPECT_EQ(NRXGetNetworkScaleFactor(net, 0, &scale), 1);
  return {Weight(net, 0, 0, 0), Threshold(net, 1, 0), scale};
}

TEST_F(NrxTrainingTest, RefusedCallsChangeNothingAndReportZeroErrors) {
  // Minimax inputs, so that a call that got as far as recalculating the
  // scale factors would replace the hand-set 0.7.
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  const int32_t net = d.Create();
  ASSERT_EQ(NRXSetNetworkScaleFactor(net, 0, 0.7), 1);
  const int32_t ds = MakeTwoCases();
  const int32_t wide = MakeDataSet(2, 1, {{1, 2, 3}});
  const int32_t untrainable = MakeTwoCases();
  ASSERT_EQ(NRXSetDataCaseTypes(untrainable, 0, 2, NRX_CASE_VERIFICATION), 1);
  Design two_outputs;
  two_outputs.no_outputs = 2;
  two_outputs.units = {1, 2};
  const int32_t entropy = two_outputs.Create();
  ASSERT_EQ(NRXSetNetworkErrorFunction(entropy, 2), 1);  // Entropy (single)
  const int32_t narrow = MakeDataSet(1, 2, {{1, 0, 1}});
  const int32_t one_layer = MakeUnit();
  ASSERT_EQ(NRXDeleteNetworkLayer(one_layer, 1), 1);
  const NetworkState before = StateOf(net);

  double training = 99.0, verification = 99.0;
  struct Refusal {
    int32_t net, ds, epochs;
    double* training;
    double* verification;
    const char* message;
  };
  const Refusal refusals[] = {
      {-1, -1, -1, nullptr, nullptr, "Network index out of range"},
      {63, -1, -1, nullptr, nullptr, "No Network loaded with this index"},
      {net, 64, -1, nullptr, nullptr, "Data Set index out of range"},
      {net, 63, -1, nullptr, nullptr, "No Data Set loaded with this index"},
      {net, ds, -1, nullptr, &verification, "Output argument cannot be NULL"},
      {net, ds, -1, &training, nullptr, "Output argument cannot be NULL"},
      {net, ds, -1, &training, &verification, "Number of epochs out of range"},
      {net, wide, 3, &training, &verification,
       "Network and Data Set have differing number of inputs and outputs, or differing nominal "
       "variable"},
      {net, untrainable, 3, &training, &verification,
       "The current Data Set contains no Training cases"},
      {entropy, narrow, 3, &training, &verification,
       "Cannot use single node cross-entropy function on a multiple output network"},
      {one_layer, ds, 3, &training, &verification, "At least two layers required in Network"},
  };
  for (const Refusal& r : refusals) {
    const auto call = [&](int algorithm) {
      training = verification = 99.0;
      MarkErrorText();
      switch (algorithm) {
        case 0:
          return NRXBackPropagation(r.net, r.ds, r.epochs, 1, 1, 0, 0.5, 0.5, 0.0, 0.0, 0.0,
                                    r.training, r.verification);
        case 1:
          return NRXQuickPropagation(r.net, r.ds, r.epochs, 1, 1, 0.5, 2.0, 0.0, r.training,
                                     r.verification);
        default:
          return NRXDeltaBarDelta(r.net, r.ds, r.epochs, 1, 1, 0.5, 0.1, 0.8, 0.5, 0.0, r.training,
                                  r.verification);
      }
    };
    for (int algorithm = 0; algorithm < 3; ++algorithm) {
      EXPECT_EQ(call(algorithm), 0) << r.message << " / algorithm " << algorithm;
      EXPECT_EQ(ErrorText(), r.message) << "algorithm " << algorithm;
      // The out-parameters that exist read 0.
      if (r.training != nullptr) {
        EXPECT_EQ(training, 0.0) << r.message;
      }
      if (r.verification != nullptr) {
        EXPECT_EQ(verification, 0.0) << r.message;
      }
    }
  }
  EXPECT_EQ(StateOf(net), before);
}

TEST_F(NrxTrainingTest, SettingsExportsCheckTheirHandles) {
  const int32_t net = MakeUnit();
  EXPECT_EQ(NRXSetStoppingConditions(64, 1, 0, 0, 0, 0), 0);
  EXPECT_EQ(ErrorText(), "Network index out of range");
  EXPECT_EQ(NRXSetStoppingConditions(net + 1, 1, 0, 0, 0, 0), 0);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
  EXPECT_EQ(NRXSetWeigend(-1, 0.1, 1.0), 0);
  EXPECT_EQ(ErrorText(), "Network index out of range");
  EXPECT_EQ(NRXSetWeigend(net + 1, 0.1, 1.0), 0);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
  EXPECT_EQ(NRXReinitializeNetwork(64, 0, -1, 0, 1), 0);
  EXPECT_EQ(ErrorText(), "Network index out of range");
  EXPECT_EQ(NRXReinitializeNetwork(net + 1, 0, -1, 0, 1), 0);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
}

TEST_F(NrxTrainingTest, WeigendTermsThatWouldDivideByZeroAreRefused) {
  const int32_t net = MakeUnit();
  const int32_t ds = MakeDataSet(1, 1, {{1.0, 1.0}});
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  for (double lambda : {-0.1, nan, infinity}) {
    EXPECT_EQ(NRXSetWeigend(net, lambda, 1.0), 0);
    EXPECT_EQ(ErrorText(), "Weigend lambda must be a number not below 0");
  }
  for (double scale : {0.0, -1.0, nan, infinity}) {
    EXPECT_EQ(NRXSetWeigend(net, 0.1, scale), 0);
    EXPECT_EQ(ErrorText(), "Weigend scale must be a number above 0");
  }
  // None was stored: training sees no penalty (one plain step, w = 0.5 + 0.3).
  ReleaseTrainers(net, ds);
  Errors e;
  ASSERT_EQ(BackPropagate(net, ds, 1, 0, 0, 0.0, e), 1) << ErrorText();
  EXPECT_NEAR(Weight(net, 0, 0, 0), 0.8, kTolerance);
  EXPECT_NEAR(e.training, 0.6, kTolerance);
}

// Three layers 1, 2, 1 (MLP).
int32_t MakeThreeLayers() {
  Design d;
  d.units = {1, 2, 1};
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  return net;
}

std::vector<double> LayerValues(int32_t net, int32_t layer) {
  std::vector<double> values;
  for (int32_t u = 0; u < LayerUnits(net, layer); ++u) {
    for (int32_t s = 0; s < LayerUnits(net, layer - 1); ++s)
      values.push_back(Weight(net, layer - 1, s, u));
    values.push_back(Threshold(net, layer, u));
  }
  return values;
}

TEST_F(NrxTrainingTest, ReinitialisationFillsOneLayerOrAll) {
  const int32_t net = MakeThreeLayers();
  // Uniform in (2, 2) can only give 2: every weight and threshold of layer 1.
  const std::vector<double> layer2 = LayerValues(net, 2);
  ASSERT_EQ(NRXReinitializeNetwork(net, NRX_REINIT_UNIFORM, 1, 2.0, 2.0), 1) << ErrorText();
  EXPECT_EQ(LayerValues(net, 1), std::vector<double>(4, 2.0));
  EXPECT_EQ(LayerValues(net, 2), layer2) << "other layers keep theirs";
  // Gaussian a + b x g with b = 0 gives a.
  ASSERT_EQ(NRXReinitializeNetwork(net, NRX_REINIT_GAUSSIAN, 2, 1.5, 0.0), 1);
  EXPECT_EQ(LayerValues(net, 2), std::vector<double>(3, 1.5));
  // Normalised uniform: each unit's (weight, threshold) = (2, 2) scaled to
  // length 1, i.e. 1/sqrt(2) each.
  ASSERT_EQ(NRXReinitializeNetwork(net, NRX_REINIT_NORMALISED_UNIFORM, 1, 2.0, 2.0), 1);
  for (double v : LayerValues(net, 1)) EXPECT_NEAR(v, 1.0 / std::sqrt(2.0), kTolerance);
  ASSERT_EQ(NRXReinitializeNetwork(net, NRX_REINIT_ZERO, -1, 5.0, 6.0), 1);
  EXPECT_EQ(LayerValues(net, 1), std::vector<double>(4, 0.0));
  EXPECT_EQ(LayerValues(net, 2), std::vector<double>(3, 0.0));
}

TEST_F(NrxTrainingTest, RadialLayersTakeThresholdOne) {
  Design d;
  d.design = NRX_DESIGN_RBF;
  d.units = {1, 2, 1};
  const int32_t net = d.Create();
  ASSERT_GE(net, 0) << ErrorText();
  ASSERT_EQ(NRXReinitializeNetwork(net, NRX_REINIT_ZERO, -1, 0.0, 0.0), 1);
  EXPECT_EQ(LayerValues(net, 1), (std::vector<double>{0.0, 1.0, 0.0, 1.0}));
  EXPECT_EQ(LayerValues(net, 2), (std::vector<double>{0.0, 0.0, 0.0}));
}

TEST_F(NrxTrainingTest, ReinitialisationRefusesBadLayersAndIgnoresUnknownMethods) {
  const int32_t net = MakeThreeLayers();
  const std::vector<double> before1 = LayerValues(net, 1);
  const std::vector<double> before2 = LayerValues(net, 2);
  for (int32_t layer : {3, -2}) {
    EXPECT_EQ(NRXReinitializeNetwork(net, NRX_REINIT_ZERO, layer, 0.0, 0.0), 0);
    EXPECT_EQ(ErrorText(), "Layer number out of bounds");
  }
  // The layer is checked even when the method is unknown.
  EXPECT_EQ(NRXReinitializeNetwork(net, 9, 3, 0.0, 0.0), 0);
  EXPECT_EQ(ErrorText(), "Layer number out of bounds");
  for (int32_t method : {4, -1}) {
    MarkErrorText();
    EXPECT_EQ(NRXReinitializeNetwork(net, method, -1, 0.0, 0.0), 1);
    EXPECT_EQ(ErrorText(), kMarkText);
  }
  EXPECT_EQ(LayerValues(net, 1), before1);
  EXPECT_EQ(LayerValues(net, 2), before2);
}

}  // namespace
}  // namespace nrx_test
