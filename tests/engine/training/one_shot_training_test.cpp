// The one-shot trainers against values worked out independently: the
// pseudo-inverse of dependent units against the least-squares line (the
// minimum-norm solve itself is tested with the kernels), PNN and GRNN
// outputs against the direct Parzen and Nadaraya-Watson sums, PCA against
// eigenvalues in closed form; and every refusal leaves the network as it was.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "network/forward_run.h"
#include "network/structure_edits.h"
#include "training/principal_components.h"
#include "training/probabilistic_training.h"
#include "training/pseudo_inverse.h"
#include "training/regression_training.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

constexpr double kNone = static_cast<double>(ConversionFunction::kNone);

// A built network of the kind: inputs numeric and passed through, one output
// variable, nominal with `classes` values when classes > 0.
std::unique_ptr<Network> Build(DesignCode code, const std::vector<int>& units, int inputs,
                               int classes = 0) {
  NetworkDesign d;
  d.design_code = code;
  d.no_layers = static_cast<int>(units.size());
  d.no_inputs = inputs;
  d.no_outputs = 1;
  for (std::size_t l = 0; l < units.size(); ++l) d.units[l] = units[l];
  d.variables.resize(inputs + 1);
  for (DesignVariable& v : d.variables) v.conversion = kNone;
  if (classes > 0) {
    d.variables.back().conversion = static_cast<double>(ConversionFunction::kOneOfN);
    for (int i = 0; i < classes; ++i)
      d.variables.back().nominals.push_back("c" + std::to_string(i));
  }
  DeriveLayerSizes(d);
  return BuildNetwork(d, Engine().random, Engine().reinitialisation);
}

std::unique_ptr<DataSet> Data(int inputs, const std::vector<std::vector<double>>& rows,
                              int classes = 0) {
  auto data = MakeData(inputs, 1, rows);
  for (int i = 0; i < classes; ++i) data->nominals[inputs].push_back("c" + std::to_string(i));
  return data;
}

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

class OneShotTest : public EngineTest {
 protected:
  void Use(Network& net, DataSet& data) { Begin(net, data); }
};

TEST_F(OneShotTest, PseudoInverseOfTwoEqualUnitsIsTheLeastSquaresLine) {
  // Two radial units with the same centre 0 and width 1 give h = exp(-x^2)
  // twice. The least-squares line t = a h + b through (h, t) has, with
  // the -1 column, threshold -b and weight a, which the shortest solution
  // splits as a / 2 to each unit. Its residuals give the training error.
  auto net = Build(DesignCode::kRbf, {1, 2, 1}, 1);
  for (int u = 0; u < 2; ++u) {
    net->layers[1].connections[0].at(u, 0) = 0.0;
    net->layers[1].thresholds[u] = 1.0;
  }
  const std::vector<std::vector<double>> rows = {{0.0, 1.0}, {0.5, 2.0}, {1.0, 2.5}, {2.0, 4.0}};
  auto data = Data(1, rows);
  Use(*net, *data);
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
  const Connection& out = net->layers[2].connections[1];
  EXPECT_NEAR(out.at(0, 0), a / 2, 1e-9);
  EXPECT_NEAR(out.at(0, 1), a / 2, 1e-9);
  EXPECT_NEAR(net->layers[2].thresholds[0], -b, 1e-9);
  EXPECT_NEAR(Engine().training.training_error, std::sqrt(sse / n), 1e-9);
  EXPECT_EQ(last_message(), "Stage 6 of 6");
}

// Two inputs, classes 1 and 2: case 0 in class 1, cases 1 .. 4 in class 2.
const std::vector<std::vector<double>> kPnnRows = {
    {0.0, 0.0, 1}, {1.0, 0.0, 2}, {0.0, 1.0, 2}, {1.0, 1.0, 2}, {2.0, 1.0, 2}};

TEST_F(OneShotTest, ProbabilisticOutputsAreTheParzenEstimates) {
  // With priors (0.2, 0.8) each class's weights are prior / its case
  // count: 0.2 / 1 and 0.8 / 4, both 0.2. The class unit sums those
  // kernels and the outputs are normalised to sum to 1.
  const double sigma = 0.7;
  const double priors[] = {0.2, 0.8};
  for (const double* p : {static_cast<const double*>(nullptr), priors}) {
    SCOPED_TRACE(p ? "priors" : "no priors");
    auto net = Build(DesignCode::kProbabilistic, {2, 5, 2}, 2, 2);
    auto data = Data(2, kPnnRows, 2);
    Use(*net, *data);
    ASSERT_TRUE(TrainProbabilistic(Engine(), sigma, p)) << last_message();
    EXPECT_EQ(last_message(), "Network trained: testing cases");
    const Connection& sums = net->layers[2].connections[1];
    for (int k = 0; k < 5; ++k) {
      const int own = kPnnRows[k][2] == 1 ? 0 : 1;
      EXPECT_EQ(sums.at(own, k), p ? 0.2 : 1.0) << k;
      EXPECT_EQ(sums.at(1 - own, k), 0.0) << k;
    }
    for (const std::vector<double>& x : {std::vector<double>{0.3, 0.2}, {1.4, 0.9}}) {
      double f[2] = {0, 0};
      for (const auto& r : kPnnRows) {
        const int i = r[2] == 1 ? 0 : 1;
        f[i] += (p ? p[i] / (i == 0 ? 1 : 4) : 1.0) * Kernel(x, {r[0], r[1]}, sigma);
      }
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
  auto net = Build(DesignCode::kRegression, {1, 3, 2, 1}, 1);
  const double centres[] = {0.0, 1.0, 3.0};
  for (int u = 0; u < 3; ++u) net->layers[1].connections[0].at(u, 0) = centres[u];
  auto data = Data(1, {{0.1, 1.0}, {1.2, 5.0}, {0.5, 3.0}, {2.9, -2.0}});
  Use(*net, *data);
  ASSERT_TRUE(TrainRegression(Engine(), sigma)) << last_message();
  const Connection& sums = net->layers[2].connections[1];
  EXPECT_EQ(std::vector<double>({sums.at(0, 0), sums.at(1, 0)}), std::vector<double>({4.0, 2.0}));
  const double s[] = {4.0, 5.0, -2.0}, n[] = {2, 1, 1};
  for (double x : {0.0, 0.7, 2.2}) {
    double num = 0.0, den = 0.0;
    for (int w = 0; w < 3; ++w) {
      const double k = Kernel({x}, {centres[w]}, sigma);
      num += s[w] * k;
      den += n[w] * k;
    }
    EXPECT_NEAR(Outputs(*net, {x})[0], num / den, 1e-12) << x;
  }
}

// Cases whose inputs are 5 + (3, 1), 5 - (3, 1), 5 + (1, 1), 5 - (1, 1):
// about their mean 5 the scatter is [[20, 8], [8, 4]].
const std::vector<std::vector<double>> kPcaRows = {{8, 6, 0}, {2, 4, 0}, {6, 6, 0}, {4, 4, 0}};

// The eigenvalues of [[a, b], [b, d]], largest first.
std::vector<double> Eigenvalues2(double a, double b, double d) {
  const double r = std::sqrt((a - d) * (a - d) / 4 + b * b);
  return {(a + d) / 2 + r, (a + d) / 2 - r};
}

TEST_F(OneShotTest, PrincipalComponentsCentreThePreparedInputs) {
  // Minimax inputs are prepared as s x + shift: the scatter of the prepared
  // inputs about their own mean is [[20 s0^2, 8 s0 s1], [8 s0 s1, 4 s1^2]].
  // Layer 1 with 1, 2 and 3 units: the leading components, then zeros.
  for (int units : {1, 2, 3}) {
    SCOPED_TRACE(units);
    auto net = Build(DesignCode::kLinear, {2, 1}, 2);
    ASSERT_TRUE(ResizeLayer(*net, 1, 0, units - 1));
    net->coding.conversion[0] = net->coding.conversion[1] =
        static_cast<double>(ConversionFunction::kMinimax);
    auto data = Data(2, kPcaRows);
    Use(*net, *data);
    ASSERT_TRUE(TrainPrincipalComponents(Engine())) << last_message();
    EXPECT_EQ(last_message(), "Stage 4 of 4: Sorting Components");
    const double s0 = net->coding.scale[0], s1 = net->coding.scale[1];
    ASSERT_NE(s0, 1.0);
    const std::vector<double> want = Eigenvalues2(20 * s0 * s0, 8 * s0 * s1, 4 * s1 * s1);
    ASSERT_EQ(Engine().pca_eigenvalues.size(), 2u);
    for (int i = 0; i < 2; ++i) EXPECT_NEAR(Engine().pca_eigenvalues[i], want[i], 1e-12) << i;
    // The first unit's weights are the leading eigenvector (either sign).
    const std::vector<double> v = Row(*net, 1, 0, 0);
    const double a = 20 * s0 * s0, b = 8 * s0 * s1;
    EXPECT_NEAR(a * v[0] + b * v[1], want[0] * v[0], 1e-12);
    EXPECT_NEAR(std::hypot(v[0], v[1]), 1.0, 1e-12);
    if (units == 3) {
      EXPECT_EQ(Row(*net, 1, 0, 2), std::vector<double>({0.0, 0.0}));
    }
    for (double t : net->layers[1].thresholds) EXPECT_EQ(t, 0.0);
  }
}

TEST_F(OneShotTest, PrincipalComponentsOfEqualCasesAreZero) {
  auto net = Build(DesignCode::kLinear, {2, 2}, 2);
  auto data = Data(2, {{1, 2, 0}, {1, 2, 0}, {1, 2, 0}});
  Use(*net, *data);
  ASSERT_TRUE(TrainPrincipalComponents(Engine())) << last_message();
  EXPECT_EQ(Engine().pca_eigenvalues, std::vector<double>({0.0, 0.0}));
}

struct Refusal {
  const char* message;
  DesignCode code;
  std::vector<int> units;
  std::function<void(Network&)> edit;
  std::function<Status()> train;
};

TEST_F(OneShotTest, RefusalsChangeNothing) {
  const auto pi = [] { return TrainPseudoInverse(Engine()); };
  const auto pnn = [](double s) {
    return [s] { return TrainProbabilistic(Engine(), s, nullptr); };
  };
  const auto grnn = [](double s) { return [s] { return TrainRegression(Engine(), s); }; };
  const auto pca = [] { return TrainPrincipalComponents(Engine()); };
  const auto none = [](Network&) {};
  const double nan = std::nan("");
  const double negative_prior[] = {0.5, -0.1};
  const char* const smoothing = "Smoothing factor must be a number above 0";
  const std::vector<Refusal> refusals = {
      {"This algorithm can only be used on Networks with a Linear output layer",
       DesignCode::kRbf,
       {2, 2, 1},
       [](Network& n) { n.layers[2].act_fn = ActivationFunction::kLogistic; },
       pi},
      {smoothing, DesignCode::kProbabilistic, {2, 5, 2}, none, pnn(0.0)},
      {smoothing, DesignCode::kProbabilistic, {2, 5, 2}, none, pnn(-1.0)},
      {smoothing, DesignCode::kProbabilistic, {2, 5, 2}, none, pnn(nan)},
      {smoothing, DesignCode::kRegression, {2, 5, 2, 1}, none, grnn(1e-300)},
      {"This algorithm cannot be used on this type of Network",
       DesignCode::kRbf,
       {2, 5, 1},
       none,
       pnn(1.0)},
      {"There must be more Training cases than Radial Units to use this algorithm",
       DesignCode::kProbabilistic,
       {2, 6, 2},
       none,
       pnn(1.0)},
      {"Class priors must be numbers not below 0",
       DesignCode::kProbabilistic,
       {2, 5, 2},
       none,
       [&] { return TrainProbabilistic(Engine(), 1.0, negative_prior); }},
      {"This algorithm cannot be used on this type of Network",
       DesignCode::kProbabilistic,
       {2, 5, 2},
       none,
       grnn(1.0)},
      {"Only Linear networks can be trained using Principal Components Analysis",
       DesignCode::kRbf,
       {2, 2, 1},
       none,
       pca},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.message);
    const int classes = r.code == DesignCode::kProbabilistic ? 2 : 0;
    auto net = Build(r.code, r.units, 2, classes);
    ASSERT_TRUE(net) << last_message();
    r.edit(*net);
    const Network before = *net;
    auto data = Data(2, kPnnRows, classes);
    Use(*net, *data);
    EXPECT_FALSE(r.train());
    EXPECT_EQ(last_message(), r.message);
    ExpectSameNetwork(*net, before);
  }
}

TEST_F(OneShotTest, PrincipalComponentsThatDoNotConvergeChangeNothing) {
  // Inputs near the largest double overflow the scatter matrix; the
  // reduction turns its infinities into non-numbers that never converge.
  auto net = Build(DesignCode::kLinear, {3, 3}, 3);
  const Network before = *net;
  Engine().pca_eigenvalues = {7.0};
  auto data = Data(3, {{1e300, -1e300, 1e300, 0}, {-1e300, 1e300, 1e299, 0}, {0, 0, 0, 0}});
  Use(*net, *data);
  EXPECT_FALSE(TrainPrincipalComponents(Engine()));
  EXPECT_EQ(last_message(), "PCA Algorithm failed to converge");
  ExpectSameNetwork(*net, before);
  EXPECT_EQ(Engine().pca_eigenvalues, std::vector<double>({7.0}));
}

}  // namespace
}  // namespace tavrin::testing
