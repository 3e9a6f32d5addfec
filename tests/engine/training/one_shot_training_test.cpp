// The one-shot trainers against values worked out independently: the
// pseudo-inverse of dependent units against the least-squares line (the
// minimum-norm solve itself is tested with the kernels), PNN and GRNN
// outputs against the direct Parzen and Nadaraya-Watson sums, PCA against
// eigenvalues in closed form; and every refusal leaves the network as it was.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "network/forward_run.h"
#include "network/structure_edits.h"
#include "radial_test_support.h"
#include "training/principal_components.h"
#include "training/probabilistic_training.h"
#include "training/pseudo_inverse.h"
#include "training/regression_training.h"

namespace tavrin::testing {
namespace {

class OneShotTest : public EngineTest {};

std::vector<double> Outputs(Network& net, const std::vector<double>& raw) {
  std::vector<double> out(net.output_layer().no_units);
  RunForwardAs(net, raw.data(), RunOutput::kOutputLayer, out.data());
  return out;
}

double Kernel(const std::vector<double>& x, const std::vector<double>& c, double sigma) {
  double d = 0.0;
  for (std::size_t i = 0; i < x.size(); ++i) d += (x[i] - c[i]) * (x[i] - c[i]);
  return std::exp(-d / (2.0 * sigma * sigma));
}

TEST_F(OneShotTest, PseudoInverseOfTwoEqualUnitsIsTheLeastSquaresLine) {
  // Two radial units with the same centre 0 and width 1 give h = exp(-x^2)
  // twice: a rank-deficient system that only a cutoff relative to the
  // largest singular value solves. The least-squares line t = a h + b has,
  // with the -1 column, threshold -b and weight a, split as a / 2 to each
  // unit. Its residuals give the training error.
  auto net = MakeDesigned(DesignCode::kRbf, {1, 2, 1}, 1);
  for (int u = 0; u < 2; ++u) {
    net->layers[1].connections[0].at(u, 0) = 0.0;
    net->layers[1].thresholds[u] = 1.0;
  }
  const Rows rows = {{0.0, 1.0}, {0.5, 2.0}, {1.0, 2.5}, {2.0, 4.0}};
  auto data = MakeData(1, 1, rows);
  Begin(*net, *data);
  ASSERT_TRUE(TrainPseudoInverse(Engine())) << last_message();

  double sh = 0, st = 0, shh = 0, sht = 0;
  for (const auto& r : rows) {
    const double h = std::exp(-r[0] * r[0]);
    sh += h, st += r[1], shh += h * h, sht += h * r[1];
  }
  const double n = rows.size();
  const double a = (n * sht - sh * st) / (n * shh - sh * sh);
  const double b = (st - a * sh) / n;
  double sse = 0.0;
  for (const auto& r : rows) sse += std::pow(a * std::exp(-r[0] * r[0]) + b - r[1], 2);
  for (int u = 0; u < 2; ++u) EXPECT_NEAR(Row(*net, 2, 1, 0)[u], a / 2, 1e-9) << u;
  EXPECT_NEAR(net->layers[2].thresholds[0], -b, 1e-9);
  EXPECT_NEAR(Engine().training.training_error, std::sqrt(sse / n), 1e-9);
  EXPECT_EQ(last_message(), "Stage 6 of 6");
}

// Two inputs, classes 1 and 2: case 0 in class 1, cases 1 .. 4 in class 2.
const Rows kPnnRows = {{0.0, 0.0, 1}, {1.0, 0.0, 2}, {0.0, 1.0, 2}, {1.0, 1.0, 2}, {2.0, 1.0, 2}};

TEST_F(OneShotTest, ProbabilisticOutputsAreTheParzenEstimates) {
  // With priors (0.6, 0.4) each class's weights are prior / its case count:
  // 0.6 / 1 and 0.4 / 4. The class unit sums those kernels and the outputs
  // are normalised to sum to 1.
  const double sigma = 0.7;
  const double priors[] = {0.6, 0.4};
  for (const double* p : {static_cast<const double*>(nullptr), priors}) {
    SCOPED_TRACE(p ? "priors" : "no priors");
    auto net = MakeDesigned(DesignCode::kProbabilistic, {2, 5, 2}, 1, 2);
    auto data = MakeClassData(2, 2, kPnnRows);
    Begin(*net, *data);
    ASSERT_TRUE(TrainProbabilistic(Engine(), sigma, p)) << last_message();
    EXPECT_EQ(last_message(), "Network trained: testing cases");
    const double w0 = p ? 0.6 : 1.0, w1 = p ? 0.1 : 1.0;
    EXPECT_EQ(net->layers[2].connections[1].weights,
              std::vector<double>({w0, 0, 0, 0, 0, 0, w1, w1, w1, w1}));
    for (const std::vector<double>& x : {std::vector<double>{0.3, 0.2}, {1.4, 0.9}}) {
      double f[2] = {0, 0};
      for (const auto& r : kPnnRows) f[r[2] == 1 ? 0 : 1] += Kernel(x, {r[0], r[1]}, sigma);
      f[0] *= w0, f[1] *= w1;
      const std::vector<double> y = Outputs(*net, x);
      EXPECT_NEAR(y[0], f[0] / (f[0] + f[1]), 1e-12);
      EXPECT_NEAR(y[1], f[1] / (f[0] + f[1]), 1e-12);
    }
  }
}

TEST_F(OneShotTest, RegressionOutputsAreTheNadarayaWatsonSums) {
  // Centres at 0, 1, 3; cases at 0.1 and 0.5 (as near 1, so to the lower
  // unit) fall to centre 0, 1.2 to centre 1, 2.9 to centre 3. Centre 0
  // counts 2 with the summed target 1 + 3; the output is
  // sum(S_w k_w) / sum(n_w k_w).
  const double sigma = 0.8;
  auto net = MakeDesigned(DesignCode::kRegression, {1, 3, 2, 1}, 1);
  const double centres[] = {0.0, 1.0, 3.0};
  for (int u = 0; u < 3; ++u) net->layers[1].connections[0].at(u, 0) = centres[u];
  auto data = MakeData(1, 1, {{0.1, 1.0}, {1.2, 5.0}, {0.5, 3.0}, {2.9, -2.0}});
  Begin(*net, *data);
  ASSERT_TRUE(TrainRegression(Engine(), sigma)) << last_message();
  const double s[] = {4.0, 5.0, -2.0}, n[] = {2, 1, 1};
  for (double x : {0.0, 0.7, 2.2}) {
    double num = 0.0, den = 0.0;
    for (int w = 0; w < 3; ++w) {
      num += s[w] * Kernel({x}, {centres[w]}, sigma);
      den += n[w] * Kernel({x}, {centres[w]}, sigma);
    }
    EXPECT_NEAR(Outputs(*net, {x})[0], num / den, 1e-12) << x;
  }
}

TEST_F(OneShotTest, PrincipalComponentsCentreThePreparedInputs) {
  // Inputs 5 + (3, 1), 5 - (3, 1), 5 + (1, 1), 5 - (1, 1) scatter about their
  // mean as [[20, 8], [8, 4]]; prepared by Minimax as s x + shift, as
  // [[20 s0^2, 8 s0 s1], [8 s0 s1, 4 s1^2]], whose eigenvalues are closed
  // form. Layer 1 with 1, 2 and 3 units: the leading components, then zeros.
  for (int units : {1, 2, 3}) {
    SCOPED_TRACE(units);
    auto net = MakeDesigned(DesignCode::kLinear, {2, 1}, 1);
    ASSERT_TRUE(ResizeLayer(*net, 1, 0, units - 1));
    net->coding.conversion[0] = net->coding.conversion[1] =
        static_cast<double>(ConversionFunction::kMinimax);
    auto data = MakeData(2, 1, {{8, 6, 0}, {2, 4, 0}, {6, 6, 0}, {4, 4, 0}});
    Begin(*net, *data);
    ASSERT_TRUE(TrainPrincipalComponents(Engine())) << last_message();
    EXPECT_EQ(last_message(), "Stage 4 of 4: Sorting Components");
    const double s0 = net->coding.scale[0], s1 = net->coding.scale[1];
    ASSERT_NE(s0, 1.0);
    const double a = 20 * s0 * s0, b = 8 * s0 * s1, d = 4 * s1 * s1;
    const double r = std::sqrt((a - d) * (a - d) / 4 + b * b);
    const std::vector<double> want = {(a + d) / 2 + r, (a + d) / 2 - r};
    ASSERT_EQ(Engine().pca_eigenvalues.size(), 2u);
    for (int i = 0; i < 2; ++i) EXPECT_NEAR(Engine().pca_eigenvalues[i], want[i], 1e-12) << i;
    // The first unit's weights are the leading eigenvector (either sign).
    const std::vector<double> v = Row(*net, 1, 0, 0);
    EXPECT_NEAR(a * v[0] + b * v[1], want[0] * v[0], 1e-12);
    EXPECT_NEAR(std::hypot(v[0], v[1]), 1.0, 1e-12);
    for (int u = 2; u < units; ++u) EXPECT_EQ(Row(*net, 1, 0, u), std::vector<double>({0.0, 0.0}));
    for (double t : net->layers[1].thresholds) EXPECT_EQ(t, 0.0);
  }
}

struct Refusal {
  std::string_view message;
  DesignCode code;
  std::vector<int> units;
  std::function<Status()> train;
};

TEST_F(OneShotTest, RefusalsChangeNothing) {
  const auto pi = [] { return TrainPseudoInverse(Engine()); };
  const auto pnn = [](double s) {
    return [s] { return TrainProbabilistic(Engine(), s, nullptr); };
  };
  const auto grnn = [](double s) { return [s] { return TrainRegression(Engine(), s); }; };
  const double negative_prior[] = {0.5, -0.1};
  const auto pnn_priors = [&] { return TrainProbabilistic(Engine(), 1.0, negative_prior); };
  const auto pca = [] { return TrainPrincipalComponents(Engine()); };
  using enum DesignCode;
  const std::vector<Refusal> refusals = {
      {kLinearOutputLayerNeeded, kRbf, {2, 2, 1}, pi},  // its output layer made Logistic
      {kSmoothingOutOfRange, kProbabilistic, {2, 5, 2}, pnn(0.0)},
      {kSmoothingOutOfRange, kProbabilistic, {2, 5, 2}, pnn(-1.0)},
      {kSmoothingOutOfRange, kProbabilistic, {2, 5, 2}, pnn(std::nan(""))},
      {kSmoothingOutOfRange, kRegression, {2, 5, 2, 1}, grnn(1e-300)},
      {kWrongNetworkType, kRbf, {2, 5, 1}, pnn(1.0)},
      {kFewerCasesThanRadialUnits, kProbabilistic, {2, 6, 2}, pnn(1.0)},
      {kPriorOutOfRange, kProbabilistic, {2, 5, 2}, pnn_priors},
      {kWrongNetworkType, kProbabilistic, {2, 5, 2}, grnn(1.0)},
      {kPcaNeedsLinearLayer, kRbf, {2, 2, 1}, pca},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.message);
    const int classes = r.code == kProbabilistic ? 2 : 0;
    auto net = MakeDesigned(r.code, r.units, 1, classes);
    ASSERT_TRUE(net) << last_message();
    if (r.message == kLinearOutputLayerNeeded)
      net->layers[2].act_fn = ActivationFunction::kLogistic;
    const Network before = *net;
    auto data = classes ? MakeClassData(2, 2, kPnnRows) : MakeData(2, 1, kPnnRows);
    Begin(*net, *data);
    EXPECT_FALSE(r.train());
    EXPECT_EQ(last_message(), r.message);
    ExpectSameNetwork(*net, before);
  }
}

TEST_F(OneShotTest, PrincipalComponentsThatDoNotConvergeChangeNothing) {
  // Inputs near the largest double overflow the scatter matrix; the
  // reduction turns its infinities into non-numbers that never converge.
  auto net = MakeDesigned(DesignCode::kLinear, {3, 3}, 1);
  const Network before = *net;
  Engine().pca_eigenvalues = {7.0};
  auto data = MakeData(3, 1, {{1e300, -1e300, 1e300, 0}, {-1e300, 1e300, 1e299, 0}, {0, 0, 0, 0}});
  Begin(*net, *data);
  EXPECT_FALSE(TrainPrincipalComponents(Engine()));
  EXPECT_EQ(last_message(), "PCA Algorithm failed to converge");
  ExpectSameNetwork(*net, before);
  EXPECT_EQ(Engine().pca_eigenvalues, std::vector<double>({7.0}));
}

}  // namespace
}  // namespace tavrin::testing
