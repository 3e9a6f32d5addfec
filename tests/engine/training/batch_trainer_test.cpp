// Quick propagation, delta-bar-delta and model-trust steps on a 1-1 linear
// network, where one case (x = 1, target T) gives the weight the gradient
// -(T - y) and the threshold the gradient T - y (its step has the opposite
// sign).

#include <gtest/gtest.h>

#include <cmath>

#include "training/batch_trainer.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

class BatchTrainerTest : public UnitNetworkTest {
 protected:
  // One epoch of one case with target `target` (x = 1).
  void Epoch(Trainer& trainer, double target) {
    const double v[2] = {1.0, target};
    trainer.EpochStart(Engine(), *net_);
    trainer.TrainCase(Engine(), *net_, v);
    trainer.EpochUpdate(Engine(), *net_);
  }
};

TEST_F(BatchTrainerTest, QuickPropagationFirstEpochIsAScaledGradientStepWithTheWeigendTerm) {
  // Two training cases and a verification case: n = 2. P'(0.5) = 2 x 0.1 x
  // 1 x 0.5 / (0.25 + 1)^2 = 0.064 on the weight, none on the threshold.
  auto data = MakeData(1, 1, {{1, 1}, {1, 1}, {1, 1}});
  SetCaseSubsets(*data, 2, 1, Subset::kVerification);
  Engine().active_data_set = data.get();
  Engine().training.weigend_lambda = 0.1;
  Engine().training.weigend_scale = 1.0;
  w() = 0.5;
  QuickPropagation qp;
  ASSERT_TRUE(qp.StateInit(Engine(), *net_));
  Engine().training.learning_rate.current = 0.25;
  Epoch(qp, 2.0);  // y = 0.5: G_w = -1.5 + 2 x 0.064, G_t = 1.5
  EXPECT_DOUBLE_EQ(w(), 0.5 + 0.25 * (1.5 - 0.128));
  EXPECT_DOUBLE_EQ(t(), -0.375);
}

TEST_F(BatchTrainerTest, QuickPropagationAfterASmallGradientStepsByTheGradientItself) {
  QuickPropagation qp;
  ASSERT_TRUE(qp.StateInit(Engine(), *net_));
  Engine().training.learning_rate.current = 7.0;  // must not matter after the first epoch
  Epoch(qp, 0.0);                                 // perfect fit: G = 0 for both values
  Epoch(qp, -0.5);  // d = -0.5: G_w = 0.5, G_t = -0.5, previous gradients 0
  EXPECT_DOUBLE_EQ(w(), -0.5);
  EXPECT_DOUBLE_EQ(t(), 0.5);
}

TEST_F(BatchTrainerTest, QuickPropagationSmallBoundsAreExclusive) {
  QuickPropagation qp;
  ASSERT_TRUE(qp.StateInit(Engine(), *net_));
  Engine().training.learning_rate.current = 0.5;
  Epoch(qp, 0.0);  // y = 0 stays: every gradient 0

  // Below 0.0001 in magnitude: nothing moves.
  QuickPropagation quiet = qp;
  Epoch(quiet, -0.00005);
  EXPECT_EQ(w(), 0.0);
  EXPECT_EQ(t(), 0.0);

  // Exactly 0.0001 counts as large: with a small previous gradient the step
  // is -G.
  Epoch(qp, -0.0001);  // d = -0.0001: G_w = 0.0001, G_t = -0.0001
  EXPECT_DOUBLE_EQ(w(), -0.0001);
  EXPECT_DOUBLE_EQ(t(), 0.0001);
}

TEST_F(BatchTrainerTest, QuickPropagationSameSignUsesTheSecantOrTheAcceleration) {
  Engine().algorithms.quickprop_accel = 2.0;  // r = 2/3
  QuickPropagation qp;
  ASSERT_TRUE(qp.StateInit(Engine(), *net_));
  Engine().training.learning_rate.current = 0.1;
  Epoch(qp, 1.0);  // G_w = -1: S = 0.1, w = 0.1, t = -0.1, y = 0.2
  // G_w = -(1 - 0.2) = -0.8 >= r * Gp = -2/3 fails, so S = a * S = 0.2.
  Epoch(qp, 1.0);
  EXPECT_DOUBLE_EQ(w(), 0.1 + 0.2);
  // y = 0.6; G_w = -0.4 >= r * (-0.8): secant S = G / (Gp - G) * S = -0.4 /
  // -0.4 * 0.2.
  Epoch(qp, 1.0);
  EXPECT_NEAR(w(), 0.3 + 0.2, 1e-15);
}

TEST_F(BatchTrainerTest, SecondStateInitKeepsTheArrays) {
  QuickPropagation qp;
  ASSERT_TRUE(qp.StateInit(Engine(), *net_));
  Engine().training.learning_rate.current = 0.5;
  Epoch(qp, 1.0);  // S_w = 0.5: w = 0.5, t = -0.5, y = 1
  ASSERT_TRUE(qp.StateInit(Engine(), *net_));
  // Past the first epoch, G_w = -0.5 against Gp = -1 takes the secant step
  // -0.5 / (-1 + 0.5) * 0.5 = 0.5; a fresh first epoch would step 0.25.
  Epoch(qp, 1.5);
  EXPECT_DOUBLE_EQ(w(), 1.0);
}

TEST_F(BatchTrainerTest, DeltaBarDeltaWithSmoothingOneKeepsItsRates) {
  Engine().algorithms.dbd_smoothing = 1.0;
  Engine().algorithms.dbd_increment = 0.1;
  Engine().training.learning_rate.current = 0.1;
  DeltaBarDelta dbd;
  ASSERT_TRUE(dbd.StateInit(Engine(), *net_));
  // Each epoch w -= 0.1 * G_w with G_w = -(1 - y); y = w - t = 2w.
  double expected_w = 0.0;
  for (int epoch = 0; epoch < 3; ++epoch) {
    const double g = -(1.0 - 2.0 * expected_w);
    expected_w -= 0.1 * g;
    Epoch(dbd, 1.0);
    EXPECT_DOUBLE_EQ(w(), expected_w) << epoch;
  }
}

TEST_F(BatchTrainerTest, DeltaBarDeltaRaisesTheRateWhileTheSignHoldsAndDecaysItOnAFlip) {
  Engine().algorithms.dbd_smoothing = 0.5;
  Engine().algorithms.dbd_increment = 0.05;
  Engine().algorithms.dbd_decay = 0.8;
  Engine().training.learning_rate.current = 0.1;
  DeltaBarDelta dbd;
  ASSERT_TRUE(dbd.StateInit(Engine(), *net_));
  Epoch(dbd, 1.0);  // G = -1, bar 0: rate stays 0.1; w = 0.1, bar = -0.5
  ASSERT_DOUBLE_EQ(w(), 0.1);
  Epoch(dbd, 1.0);  // y = 0.2, G = -0.8, G * bar > 0: rate 0.15; bar -0.65
  ASSERT_DOUBLE_EQ(w(), 0.1 + 0.15 * 0.8);
  Epoch(dbd, -1.0);  // y = 0.44, G = 1.44 against bar -0.65: rate 0.15 x 0.8
  EXPECT_DOUBLE_EQ(w(), 0.22 - 0.12 * 1.44);
}

TEST_F(BatchTrainerTest, ModelTrustStepsItsRadiusAgainstTheGradientTrustingFallingErrors) {
  // The gradient of w and t always has the direction (-1, 1) here, so each
  // step moves w by radius / sqrt(2) and t by the opposite.
  ModelTrust mt;
  Engine().training.learning_rate.current = 0.5;  // the first radius
  ASSERT_TRUE(mt.StateInit(Engine(), *net_));
  const double diagonal = std::sqrt(2.0);
  Epoch(mt, 2.0);  // no earlier error: the radius stays 0.5
  EXPECT_DOUBLE_EQ(w(), 0.5 / diagonal);
  EXPECT_DOUBLE_EQ(t(), -0.5 / diagonal);
  Epoch(mt, 2.0);  // error 4 -> 1.67: trusted more, radius 0.6
  EXPECT_DOUBLE_EQ(w(), 1.1 / diagonal);
  Epoch(mt, -5.0);  // the error rises: radius 0.3, towards the new target
  EXPECT_DOUBLE_EQ(w(), 0.8 / diagonal);
  EXPECT_DOUBLE_EQ(t(), -0.8 / diagonal);
}

}  // namespace
}  // namespace tavrin::testing
