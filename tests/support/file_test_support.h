#pragma once

// Shared pieces of the network file and image tests: networks of every kind
// built the way the engine builds them and then given names, nominal values,
// classes, substitutes and missing values; writing and reading through
// memory streams; and the comparison of a network with the one read back.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/missing.h"
#include "network/network.h"
#include "network/network_builder.h"
#include "network/network_design.h"
#include "network/network_file.h"
#include "network/network_image.h"
#include "network/weight_initialiser.h"
#include "network_test_support.h"

namespace tavrin::testing {

struct DesignedKind {
  const char* label;
  DesignCode code;
  std::vector<double> units;
};

// One design of each kind the builders make, simple recurrent included.
inline std::vector<DesignedKind> EveryKind() {
  return {
      {"MLP", DesignCode::kMlp, {1, 4, 3, 1}},
      {"Kohonen", DesignCode::kKohonen, {1, 6}},
      {"RBF", DesignCode::kRbf, {1, 3, 1}},
      {"Linear", DesignCode::kLinear, {1, 1}},
      {"Probabilistic3", DesignCode::kProbabilistic, {1, 4, 1}},
      {"Probabilistic4", DesignCode::kProbabilistic, {1, 4, 3, 3}},
      {"Regression", DesignCode::kRegression, {1, 4, 2, 1}},
      {"SimpleRecurrent", DesignCode::kSimpleRecurrent, {1, 3, 1}},
  };
}

// A design with two inputs (one numeric, one nominal of three values coded
// One-of-N) and one nominal output of three values, whose conversion suits
// the kind: Kohonen for a Kohonen network, One-of-N for the others.
inline NetworkDesign DesignOf(const DesignedKind& kind) {
  NetworkDesign d;
  d.design_code = kind.code;
  d.no_layers = static_cast<int>(kind.units.size());
  for (std::size_t l = 0; l < kind.units.size(); ++l) d.units[l] = kind.units[l];
  d.width[kind.units.size() - 1] = kind.code == DesignCode::kKohonen ? 3 : 1;
  d.no_inputs = 2;
  d.no_outputs = 1;
  DesignVariable numeric;
  DesignVariable colour;
  colour.nominals = {"red", "green", "blue"};
  colour.conversion = static_cast<double>(ConversionFunction::kOneOfN);
  DesignVariable output = colour;
  output.nominals = {"low", "mid", "high"};
  if (kind.code == DesignCode::kKohonen) {
    output.conversion = static_cast<double>(ConversionFunction::kKohonen);
  }
  d.variables = {numeric, colour, output};
  return d;
}

// Gives a built network what the builders leave empty: names (one unit left
// nameless, one named), classes on some units, substitutes, coding factors,
// a missing weight and a missing substitute. Every real is exact in six
// significant digits, so that the text file keeps it too.
inline void Decorate(Network& net) {
  VariableCoding& c = net.coding;
  c.variable_names = {"Weight", "", "Grade"};
  if (c.no_variables() != 3) c.variable_names.resize(c.no_variables());
  for (int v = 0; v < c.no_variables(); ++v) {
    c.min_mean[v] = 0.125 * v;
    c.max_sd[v] = 1.0 + 0.5 * v;
    c.shift[v] = -0.25 * (v + 1);
    c.scale[v] = 2.0 + v;
    c.missing_fn[v] = static_cast<double>(v % kMissingFunctionCount);
  }
  for (std::size_t i = 0; i < c.substitutes.size(); ++i) c.substitutes[i] = 0.0625 * (i + 1);
  if (!c.substitutes.empty()) c.substitutes.back() = MISSING;
  c.accept = 0.875;
  c.reject = 0.125;
  for (int l = 0; l < net.no_layers(); ++l) {
    Layer& layer = net.layers[l];
    for (int u = 0; u < layer.no_units; ++u) {
      layer.thresholds[u] = -1.5 + 0.25 * u + l;
      layer.activations[u] = 0.5 + u;
    }
    layer.unit_names[0] = "L" + std::to_string(l) + " first";
    if (l >= 1 && layer.no_units >= 2) layer.classes[1] = 2;
    for (Connection& block : layer.connections) {
      for (std::size_t w = 0; w < block.weights.size(); ++w) {
        block.weights[w] = -0.75 + static_cast<double>(w % 96) / 64;
      }
    }
  }
  // A missing weight where every kind has one: into the last layer.
  Connection& last = net.output_layer().connections[net.no_layers() - 2];
  if (!last.weights.empty()) last.weights[0] = MISSING;
}

inline std::unique_ptr<Network> BuildKind(const DesignedKind& kind) {
  NetworkDesign design = DesignOf(kind);
  DeriveLayerSizes(design);
  RandomGenerator random;
  ReinitialisationRange range;
  auto net = BuildNetwork(design, random, range);
  if (net) Decorate(*net);
  return net;
}

inline std::string ImageOf(const Network& net) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(WriteNetworkImage(net, out).ok());
  return out.str();
}

inline std::unique_ptr<Network> ReadImage(const std::string& bytes, std::int64_t offset = 0) {
  std::istringstream in(bytes, std::ios::binary);
  return ReadNetworkImage(in, offset);
}

inline std::string TextOf(const Network& net) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(WriteNetworkFile(net, out).ok());
  return out.str();
}

inline std::unique_ptr<Network> ReadText(const std::string& text) {
  std::istringstream in(text, std::ios::binary);
  return ReadNetworkFile(in);
}

// The network as a reader gives it back: activations are not stored.
inline Network WithoutActivations(const Network& net) {
  Network copy = net;
  ClearActivations(copy);
  return copy;
}

inline std::size_t LongestLine(const std::string& text) {
  std::size_t longest = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    longest = std::max(longest, end - start);
    start = end + 1;
  }
  return longest;
}

}  // namespace tavrin::testing
