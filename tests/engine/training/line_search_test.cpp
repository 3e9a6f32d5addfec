// The line searches on functions of one variable whose minima are known in
// closed form; the steps are worked out by hand beside each case.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "training/line_search.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

// f(saved + lambda x direction) for one value, with a record of where the
// value was left and of every point measured.
class FunctionLine : public Line {
 public:
  FunctionLine(std::function<double(double)> f, double saved, const std::vector<double>& direction)
      : f_(std::move(f)), saved_(saved), direction_(direction) {}
  double Error(double lambda) override {
    MoveTo(lambda);
    measured.push_back(at);
    return f_(at);
  }
  void MoveTo(double lambda) override { at = saved_ + lambda * direction_[0]; }
  void Restore() override { at = saved_; }

  double at = 0.0;
  std::vector<double> measured;

 private:
  std::function<double(double)> f_;
  double saved_;
  const std::vector<double>& direction_;
};

class LineSearchTest : public EngineTest {};

TEST_F(LineSearchTest, BracketingFindsTheMinimaOfAParabolaAndAKink) {
  struct Case {
    const char* name;
    std::function<double(double)> f;
    double minimum;
  };
  // With D = 1 the value is lambda itself.
  // (x - 3)^2 + 1: E0 = 10, E(1) = 5 <= 10, so expand: E(2.618034) = 1.1459
  //   is lower, then E(5.236069) = 6.0 is not: Brent on (1, 5.236069) from
  //   2.618034, whose first parabola through the three points is exact: 3.
  // |x - 0.3|: E0 = 0.3, E(1) = 0.7 is higher, so shrink: E(0.618034) =
  //   0.318 is still not below E0, E(0.381966) = 0.082 is: Brent on
  //   (0, 0.618034) from 0.381966, by golden sections at the kink.
  const Case cases[] = {
      {"quadratic", [](double x) { return (x - 3.0) * (x - 3.0) + 1.0; }, 3.0},
      {"kink", [](double x) { return std::fabs(x - 0.3); }, 0.3},
  };
  const std::vector<double> direction = {1.0};
  for (const Case& c : cases) {
    FunctionLine line(c.f, 0.0, direction);
    ASSERT_TRUE(BracketingLineSearch(line, c.f(0.0), 0.0001)) << c.name;
    // Brent stops once the bracket is within about 4 x (0.0001 |x| + 1e-10).
    EXPECT_NEAR(line.at, c.minimum, 4.0 * (0.0001 * c.minimum + 1e-10)) << c.name;
  }
}

TEST_F(LineSearchTest, BrentCutShortEndsAtTheBestPointFound) {
  // The minimum lies near 1e10, where neighbouring doubles are 2e-6 apart,
  // far wider than the convergence test's 4e-10: Brent cannot converge and
  // stops after 100 iterations, reporting it, yet succeeds.
  const std::vector<double> direction = {1.0};
  const auto f = [](double x) { return (x - 1.0e10) * (x - 1.0e10) / 1.0e20; };
  FunctionLine line(f, 0.0, direction);
  ASSERT_TRUE(BracketingLineSearch(line, f(0.0), 1e-20));
  EXPECT_EQ(last_message(), "Line Search Algorithm Iterating too many times");
  const auto lower = [&](double a, double b) { return f(a) < f(b); };
  EXPECT_EQ(f(line.at), f(*std::min_element(line.measured.begin(), line.measured.end(), lower)));
}

TEST_F(LineSearchTest, BacktrackingCutsTheStepByItsModels) {
  // f(x) = 100 x^4 - x from x = 0: G = f'(0) = -1, D = 3, slope = -3, E0 = 0.
  // lambda 1: x = 3, E = 8097, above E0 + 1e-4 x slope: the quadratic model
  //   gives t = 3 / (2 (8097 + 3)) = 0.000185, raised to 0.1 x 1 = 0.1.
  // lambda 0.1: x = 0.3, E = 0.51, still too high: the cubic through both
  //   points, r1 = 0.51 + 0.3 = 0.81, r2 = 8097 + 3 = 8100,
  //   A = (81 - 8100) / -0.9 = 8910, B = (-81 + 810) / -0.9 = -810,
  //   t = (810 + sqrt(810^2 + 9 x 8910)) / (3 x 8910) = 0.0624, cut to
  //   0.5 x 0.1 = 0.05.
  // lambda 0.05: x = 0.15, E = -0.099375, low enough: D becomes 0.15.
  std::vector<double> direction = {3.0};
  FunctionLine line([](double x) { return 100.0 * std::pow(x, 4) - x; }, 0.0, direction);
  ASSERT_TRUE(BacktrackingLineSearch(line, 0.0, direction, {-1.0}, {0.0}));
  EXPECT_DOUBLE_EQ(direction[0], 0.15);
  EXPECT_DOUBLE_EQ(line.at, 0.15);
  EXPECT_EQ(line.measured, (std::vector<double>{3.0, 0.1 * 3.0, 0.05 * 3.0}));
}

TEST_F(LineSearchTest, BacktrackingRefusesUphillAndShrinksPastNonFiniteErrors) {
  // An uphill direction (slope 2 > 0): nothing measured, nothing moved.
  std::vector<double> uphill = {1.0};
  FunctionLine flat([](double) { return 0.0; }, 0.5, uphill);
  EXPECT_FALSE(BacktrackingLineSearch(flat, 0.0, uphill, {2.0}, {0.5}));
  EXPECT_TRUE(flat.measured.empty());
  EXPECT_EQ(uphill[0], 1.0);

  // (x - 1)^2, undefined beyond 2: D = 10 lands on a NaN, which counts as
  // too long a step (x 0.1): x = 1 then meets the test.
  std::vector<double> direction = {10.0};
  FunctionLine line(
      [](double x) {
        return x > 2.0 ? std::numeric_limits<double>::quiet_NaN() : (x - 1.0) * (x - 1.0);
      },
      0.0, direction);
  ASSERT_TRUE(BacktrackingLineSearch(line, 1.0, direction, {-2.0}, {0.0}));
  EXPECT_DOUBLE_EQ(line.at, 1.0);
  EXPECT_DOUBLE_EQ(direction[0], 1.0);
}

}  // namespace
}  // namespace tavrin::testing
