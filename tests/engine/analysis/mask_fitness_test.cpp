// The kernel estimate of a mask's error, worked out by hand on coded cases
// built directly, and the coding it is given from a data set.

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/mask_fitness.h"
#include "common/missing.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

InputMask Mask(int inputs, std::initializer_list<int> set) {
  InputMask m(inputs);
  for (int i : set) m.set(i, true);
  return m;
}

// Rows (x1, x2, y); y MISSING marks a missing target.
CodedCases Coded(const std::vector<std::array<double, 3>>& rows) {
  CodedCases c;
  c.width = 2;
  c.no_targets = 1;
  c.first_value = {0, 1};
  c.value_count = {1, 1};
  for (const auto& r : rows) {
    c.inputs.insert(c.inputs.end(), {r[0], r[1]});
    c.targets.push_back(IsMissing(r[2]) ? 0.5 : r[2]);
    c.has_target.push_back(IsMissing(r[2]) ? 0 : 1);
  }
  return c;
}

// References 0-3, evaluations 4-7. With q = e^-0.3:
// - case 4 (0,0): r0 weighs 1, r1 q, r2 (d^2 400, a 120 >= 100) is skipped,
//   r3 has no target: estimate p0 = (1 + 3q) / (1 + q) = 1.85111496637668.
// - case 5 (0,5): r0 e^-7.5, r1 e^-7.8, the same ratio: p0 again.
// - case 6 (1,30): every a >= 100; the nearest reference r1 (900 < 901) gives 3.
// - case 7 has no target and counts nowhere.
// Both inputs: sqrt(((2 - p0)^2 + p0^2 + (7 - 3)^2) / 3) + 2 x 1e-5
//   = 2.5461800743067173 (penalty 0 is raised to the floor 1e-5).
// x1 only, penalty 0.25: case 6 sees r0 at d^2 1 and r1 at 0, r2 at 361
//   skipped: p2 = (q + 3) / (q + 1) = 2.14888503362332;
//   sqrt(((2 - p0)^2 + p0^2 + (7 - p2)^2) / 3) + 0.25 = 3.249005934693728.
TEST(MaskFitnessTest, RegressionEstimateByHand) {
  const CodedCases cases = Coded({{0, 0, 1},
                                  {1, 0, 3},
                                  {20, 0, 100},
                                  {0, 0, MISSING},
                                  {0, 0, 2},
                                  {0, 5, 0},
                                  {1, 30, 7},
                                  {0, 0, MISSING}});
  const CaseLists lists{{0, 1, 2, 3}, {4, 5, 6, 7}};
  MaskFitness fitness(cases);
  EXPECT_NEAR(fitness(Mask(2, {0, 1}), lists, 0.0), 2.5461800743067173, 1e-12);
  EXPECT_NEAR(fitness(Mask(2, {0}), lists, 0.25), 3.249005934693728, 1e-12);
  // A far reference alone: the nearest one's target, never 0 / 0.
  EXPECT_NEAR(fitness(Mask(2, {0, 1}), CaseLists{{2}, {4}}, 1e-6), 98.0 + 2e-5, 1e-9);
}

// One input x, a two-valued class coded one of N. References: x 0 class 1,
// x 1 class 2, x 0 class missing (skipped). Evaluations x 0 class 1 and x 1
// class 1. With q = e^-0.3 the class scores are (1, q) / (1 + q) and
// (q, 1) / (1 + q): squared errors 2 q^2 / (1 + q)^2 and 2 / (1 + q)^2 over
// 2 classes x 2 cases: sqrt((q^2 + 1) / (2 (1 + q)^2)) + 1e-5 =
// 0.5055213137302212.
TEST(MaskFitnessTest, ClassificationEstimateThroughTheCoding) {
  auto data = MakeData(1, 1, {{0, 1}, {1, 2}, {0, MISSING}, {0, 1}, {1, 1}});
  ASSERT_TRUE(SetDataNoNominals(*data, 1, 2));
  const VariableCoding coding = EstimatorCoding(*data);
  EXPECT_EQ(coding.conversion[1], static_cast<double>(ConversionFunction::kOneOfN));
  const CodedCases cases = CodeCases(*data);
  ASSERT_EQ(cases.no_targets, 2);
  MaskFitness fitness(cases);
  EXPECT_NEAR(fitness(Mask(1, {0}), CaseLists{{0, 1, 2}, {3, 4}}, 0.0), 0.5055213137302212, 1e-12);
}

}  // namespace
}  // namespace tavrin::testing
