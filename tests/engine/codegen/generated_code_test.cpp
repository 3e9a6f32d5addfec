// The generated source of every kind of network, compiled as C99 and C++17
// by gcc and clang with every warning an error, run on random cases with
// missing and out-of-range values, against the engine's own forward run:
// the decoded outputs and the output units must agree to the last bit.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "codegen/code_generator.h"
#include "common/missing.h"
#include "engine_state.h"
#include "file_test_support.h"
#include "network/forward_run.h"
#include "network/network_builder.h"

namespace tavrin {
namespace {

using Conv = ConversionFunction;

DesignVariable Var(Conv conversion, int nominals = 0) {
  DesignVariable v;
  v.conversion = static_cast<double>(conversion);
  for (int i = 0; i < nominals; ++i) v.nominals.push_back("v" + std::to_string(i));
  return v;
}

struct Kind {
  const char* name;
  DesignCode code;
  std::vector<int> units;  // the first and last are derived, except a Kohonen network's last
  std::vector<DesignVariable> inputs, outputs;
  std::vector<const char*> compilers;
  std::function<void(Network&)> adjust = [](Network&) {};
  int steps = 1;
};

std::string Text(double x, bool input = false) {
  if (input && IsMissing(x)) return "?";
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", x);
  return text;
}

std::string Row(const double* values, int n) {
  std::string row;
  for (int i = 0; i < n; ++i) row += (i == 0 ? "" : " ") + Text(values[i]);
  return row;
}

std::vector<std::string> Lines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class GeneratedCodeTest : public ::testing::TestWithParam<Kind> {
 protected:
  std::mt19937_64 rng_{20261207};
  double Uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }

  std::unique_ptr<Network> Build(const Kind& k) {
    NetworkDesign d;
    d.design_code = k.code;
    d.no_layers = static_cast<int>(k.units.size());
    for (std::size_t l = 0; l < k.units.size(); ++l) d.units[l] = k.units[l];
    d.no_inputs = static_cast<int>(k.inputs.size());
    d.no_outputs = static_cast<int>(k.outputs.size());
    d.variables = k.inputs;
    d.variables.insert(d.variables.end(), k.outputs.begin(), k.outputs.end());
    d.steps = k.steps;
    DeriveLayerSizes(d);
    auto net = BuildNetwork(d, Engine().random, Engine().reinitialisation);
    // Random weights, thresholds, classes and coding; a division layer's
    // weights select and divide, so they stay 1, -1 or 0.
    for (int l = 0; l < net->no_layers(); ++l) {
      Layer& layer = net->layers[l];
      for (Connection& block : layer.connections) {
        for (double& w : block.weights) {
          w = layer.psp_fn == PspFunction::kDivision ? std::floor(Uniform(-1, 2)) : Uniform(-2, 2);
        }
      }
      for (double& t : layer.thresholds) {
        t = layer.psp_fn == PspFunction::kRadial ? Uniform(0.1, 2) : Uniform(-1, 1);
      }
      for (double& c : layer.classes) c = Uniform(0, 5) < 4.5 ? std::floor(Uniform(0, 4)) : MISSING;
    }
    VariableCoding& c = net->coding;
    for (int v = 0; v < c.no_variables(); ++v) {
      if (c.conversion[v] == static_cast<double>(Conv::kKohonen)) continue;
      c.scale[v] = Uniform(0.5, 2);
      c.shift[v] = Uniform(-1, 1);
    }
    for (double& s : c.substitutes) s = Uniform(-1, 1);
    k.adjust(*net);
    return net;
  }

  // A case per row: numbers, missing values and NaN, and for nominal
  // variables value numbers in and out of range.
  std::vector<std::vector<double>> Cases(const Network& net, int count) {
    const VariableCoding& c = net.coding;
    std::vector<std::vector<double>> cases(count);
    for (auto& raw : cases) {
      for (int v = 0; v < c.no_inputs; ++v) {
        for (int s = 0; s < c.steps; ++s) {
          const double p = Uniform(0, 1);
          const double nominal[] = {1, 2, 3, 1, 2, 3, 0, 4, 1.5};
          raw.push_back(p < 0.08  ? MISSING
                        : p < 0.1 ? std::nan("")
                        : c.is_nominal(v) || c.conversion[v] == static_cast<double>(Conv::kTwoState)
                            ? nominal[static_cast<int>(Uniform(0, 9))]
                            : Uniform(-3, 3));
        }
      }
    }
    return cases;
  }
};

TEST_P(GeneratedCodeTest, CompiledSourceRunsAsTheEngine) {
  const Kind& k = GetParam();
  const testing::TestDirectory dir;
  const std::unique_ptr<Network> net = Build(k);
  ASSERT_TRUE(net);

  const std::vector<std::vector<double>> cases = Cases(*net, 300);
  const std::filesystem::path input = dir / (std::string(k.name) + ".in");
  std::vector<std::string> decoded, units;
  {
    std::ofstream rows(input);
    std::vector<double> out(net->coding.no_outputs);
    for (std::size_t i = 0; i < cases.size(); ++i) {
      for (std::size_t j = 0; j < cases[i].size(); ++j) {
        rows << (j == 0 ? "" : i % 2 ? ", " : " ") << Text(cases[i][j], true);
      }
      rows << '\n';
      RunForward(*net, cases[i].data(), out.data());
      decoded.push_back(Row(out.data(), net->coding.no_outputs));
      units.push_back(Row(net->output_layer().activations.data(), net->output_layer().no_units));
    }
  }

  for (const std::string compiler : k.compilers) {
    SCOPED_TRACE(compiler);
    const bool cpp = compiler.ends_with("++");
    const std::filesystem::path base = dir / (std::string(k.name) + "_" + compiler);
    CodeOptions options{"tv_", base.string() + (cpp ? ".cpp" : ".c"), TAVRIN_CTEMPLATE_FILE, cpp,
                        true};
    ASSERT_TRUE(GenerateCode(net.get(), options));
    const std::string build = compiler + (cpp ? " -std=c++17" : " -std=c99") +
                              " -O2 -ffp-contract=off -Wall -Wextra -Wpedantic -Werror " +
                              options.output.string() + " -o " + base.string() + " -lm 2>" +
                              base.string() + ".log";
    ASSERT_EQ(std::system(build.c_str()), 0) << std::ifstream(base.string() + ".log").rdbuf();
    for (const auto& [argument, expected] : {std::pair{"", &decoded}, std::pair{" 1", &units}}) {
      const std::string out = base.string() + ".out";
      const std::string run = base.string() + argument + " < " + input.string() + " > " + out;
      ASSERT_EQ(std::system(run.c_str()), 0);
      EXPECT_EQ(Lines(out), *expected) << argument;
    }
  }
}

const auto kOneOfN3 = Var(Conv::kOneOfN, 3);
const auto kTwoState = Var(Conv::kTwoState, 2);
const auto kNumeric = Var(Conv::kMinimax);

INSTANTIATE_TEST_SUITE_P(
    EveryKind, GeneratedCodeTest,
    ::testing::Values(
        // Every activation, a radial and a division layer among them; every
        // input coding over two steps; a nominal output through the linear map.
        Kind{"mlp",
             DesignCode::kMlp,
             {1, 4, 4, 4, 4, 4, 4, 4, 4, 4, 1},
             {kNumeric, Var(Conv::kNone), kOneOfN3, kTwoState},
             {kNumeric, Var(Conv::kMinimax, 3)},
             {"gcc", "clang", "g++", "clang++"},
             [](Network& net) {
               using Act = ActivationFunction;
               const Act order[] = {Act::kSine,           Act::kHyperbolic, Act::kLinear,
                                    Act::kLogistic,       Act::kUnitsum,    Act::kRamp,
                                    Act::kNegExponential, Act::kSquareRoot, Act::kSoftmax};
               for (int l = 1; l <= 9; ++l) net.layers[l].act_fn = order[l - 1];
               net.layers[3].psp_fn = PspFunction::kRadial;
               // The output layer's values about 1 .. 3, the nominal output's values.
               for (double& t : net.layers[10].thresholds) t = -2.0;
               net.coding.scale[5] = 1.0;
               net.coding.shift[5] = 0.0;
               net.coding.scale[1] = 1.0;
               net.coding.shift[1] = 0.0;
               net.coding.input_normalisation = 1;
             },
             2},
        Kind{"two_state_by_error",
             DesignCode::kMlp,
             {1, 5, 1},
             {kNumeric, kTwoState, kOneOfN3},
             {kTwoState},
             {"gcc"},
             [](Network& net) {
               net.layers[1].act_fn = ActivationFunction::kStep;
               net.coding.classify_by = 0;
               net.coding.accept = 0.4;
               net.coding.reject = 0.6;
             }},
        Kind{"one_of_n",
             DesignCode::kMlp,
             {1, 5, 1},
             {kNumeric, kNumeric},
             {kOneOfN3},
             {"clang"},
             [](Network& net) {
               net.coding.accept = 0.5;
               net.coding.reject = 0.4;
               net.coding.input_normalisation = 2;
               net.coding.output_normalisation = 2;
             }},
        Kind{"linear",
             DesignCode::kLinear,
             {1, 1},
             {kNumeric, kNumeric},
             {kNumeric, kNumeric},
             {"g++"},
             [](Network& net) { net.coding.output_normalisation = 1; }},
        Kind{"rbf", DesignCode::kRbf, {1, 6, 1}, {kNumeric, kNumeric}, {kTwoState}, {"clang++"}},
        // The output layer is the radial layer, normalised before its classes vote.
        Kind{"kohonen",
             DesignCode::kKohonen,
             {1, 7},
             {kNumeric, kNumeric},
             {Var(Conv::kKohonen), Var(Conv::kKohonen)},
             {"gcc"},
             [](Network& net) {
               net.coding.accept = 1.5;
               net.coding.scale[3] = 3.0;
               net.coding.shift[3] = 1.0;
               net.coding.output_normalisation = 1;
             }},
        Kind{"probabilistic",
             DesignCode::kProbabilistic,
             {1, 8, 1},
             {kNumeric, kNumeric},
             {kOneOfN3},
             {"clang"},
             [](Network& net) {
               net.coding.accept = 0.4;
               net.coding.reject = 0.45;
             }},
        Kind{"probabilistic_loss",
             DesignCode::kProbabilistic,
             {1, 8, 3, 1},
             {kNumeric},
             {kOneOfN3},
             {"g++"},
             [](Network& net) {
               net.coding.accept = 0.6;
               net.coding.reject = 0.2;
             }},
        Kind{"regression",
             DesignCode::kRegression,
             {1, 8, 3, 1},
             {kNumeric, kNumeric},
             {kNumeric, kNumeric},
             {"gcc"}},
        Kind{"recurrent",
             DesignCode::kSimpleRecurrent,
             {1, 4, 1},
             {kNumeric, kNumeric},
             {kNumeric},
             {"gcc", "clang++"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavrin
