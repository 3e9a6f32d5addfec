// The engine's one random generator: every figure below is worked out from
// state = state * 22695477 + 1 (mod 2^32), value = (state >> 16) & 0x7FFF,
// starting from state 1 as at load.
//
// Draws from state 1, by hand (products reduced mod 2^32 = 4294967296):
//   1 * 22695477 + 1                 = 22695478;   >> 16 = 346   -> value 346
//   22695478 * 22695477 + 1 = 515084698953007 = 119927 * 2^32 + 2156045615;
//                                     2156045615 >> 16 = 32898; & 0x7FFF -> 130
//   next states 2867233980, 71484141, 2911408402, 2613937339
//                                     -> values 10982, 1090, 11656, 7117

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "common/random_generator.h"
#include "engine_state.h"

namespace tavrin {
namespace {

TEST(RandomGeneratorTest, DeviatesIndicesAndRangesFromTheSameValues) {
  RandomGenerator random;
  ASSERT_EQ(random.state(), 1u);
  EXPECT_EQ(random.UniformDeviate(), 346.0 / 32768.0);  // 0.01055908203125
  EXPECT_EQ(random.state(), 22695478u);
  // Bit 31 of this state is set: only bits 16..30 may reach the value.
  EXPECT_EQ(random.RandomIndex(1000), 3);  // 130/32768 * 1000 = 3.967
  EXPECT_EQ(random.Uniform(-1.0, 1.0), -1.0 + 10982.0 / 32768.0 * 2.0);
  // A reversed range still follows a + u (b - a).
  EXPECT_EQ(random.Uniform(1.0, -1.0), 1.0 - 1090.0 / 32768.0 * 2.0);
  EXPECT_EQ(random.RandomIndex(1), 0);     // 11656/32768 * 1 < 1
  EXPECT_EQ(random.state(), 2911408402u);  // one draw per call
  // The largest value, 32767, must give 32767/32768, never 1.
  for (int i = 0; i < 70000; ++i) {
    const double u = random.UniformDeviate();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

TEST(RandomGeneratorTest, GaussianUsesThePolarMethodAndKeepsTheSecondValue) {
  // From state 1:
  //   p = 2(346/32768) - 1 = -0.9788818359375, q = 2(130/32768) - 1 =
  //   -0.9920654296875, s = p^2 + q^2 = 1.9424 >= 1: drawn again; p =
  //   2(10982/32768) - 1 = -0.3297119140625, q = 2(1090/32768) - 1 =
  //   -0.9334716796875, s = 0.98007932305336; f = sqrt(-2 ln s / s) =
  //   0.2026364...; first result q f = -0.18915534040744114, kept p f =
  //   -0.06681163520864372. Next pair p = 2(11656/32768) - 1 = -0.28857421875,
  //   q = 2(7117/32768) - 1 = -0.56561279296875, s = 0.4031929112970829: q f =
  //   -1.2006102079699226, p f = -0.6125482964585943.
  RandomGenerator random;
  EXPECT_NEAR(random.GaussianDeviate(), -0.18915534040744114, 1e-14);
  EXPECT_EQ(random.state(), 71484141u);  // four draws: one pair refused, one kept
  EXPECT_NEAR(random.GaussianDeviate(), -0.06681163520864372, 1e-14);
  EXPECT_EQ(random.state(), 71484141u);  // the kept value needs no draw
  EXPECT_NEAR(random.GaussianDeviate(), -1.2006102079699226, 1e-14);
  EXPECT_NEAR(random.GaussianDeviate(), -0.6125482964585943, 1e-14);
  EXPECT_EQ(random.state(), 2613937339u);
}

TEST(RandomGeneratorTest, SeedSetsTheStateAndDiscardsTwentyValues) {
  // Twenty steps of the recurrence from 0 reach 3619627052, from 12345 reach
  // 339801557 (iterating state * 22695477 + 1 mod 2^32).
  RandomGenerator random;
  random.Seed(0);
  EXPECT_EQ(random.state(), 3619627052u);
  random.Seed(12345);
  EXPECT_EQ(random.state(), 339801557u);

  RandomGenerator by_hand;
  by_hand.set_state(12345);
  for (int i = 0; i < 20; ++i) by_hand.NextValue();
  EXPECT_EQ(random.NextValue(), by_hand.NextValue());
}

TEST(RandomGeneratorTest, SeedClearsTheKeptGaussianValue) {
  RandomGenerator random;
  random.GaussianDeviate();  // leaves a value kept for the next call
  random.Seed(7);

  RandomGenerator fresh;
  fresh.Seed(7);
  const double expected = fresh.GaussianDeviate();
  EXPECT_EQ(random.GaussianDeviate(), expected);
  EXPECT_EQ(random.state(), fresh.state());
}

TEST(RandomGeneratorTest, ResetRestoresTheEnginesGeneratorAndRange) {
  Engine().random.set_state(99);
  Engine().random.GaussianDeviate();  // leaves a kept value behind
  Engine().reinitialisation = {0.25, 0.75};
  ResetEngineState();
  EXPECT_EQ(Engine().random.state(), 1u);
  EXPECT_NEAR(Engine().random.GaussianDeviate(), -0.18915534040744114, 1e-14);
  EXPECT_EQ(Engine().reinitialisation.a, -1.0);
  EXPECT_EQ(Engine().reinitialisation.b, 1.0);
}

}  // namespace
}  // namespace tavrin
