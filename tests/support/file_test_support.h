#pragma once

// Shared by the tests of stored files: a directory of a test's own, a file's
// bytes, and for the two stored forms of a network, the text network file and
// the binary image, networks of every kind built the way the engine builds
// them and then given names, nominal values, classes, substitutes and missing
// values, and both forms behind one interface.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

inline std::string FileContent(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// A directory of the running test's own, removed with all it holds.
class TestDirectory {
 public:
  TestDirectory()
      : path_(std::filesystem::temp_directory_path() /
              ("tavrin-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::create_directories(path_);
  }
  ~TestDirectory() { std::filesystem::remove_all(path_); }
  TestDirectory(const TestDirectory&) = delete;
  TestDirectory& operator=(const TestDirectory&) = delete;

  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // The names of what it holds, in order.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

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

// Two inputs (one numeric, one nominal of three values coded One-of-N) and
// one nominal output of three values, coded as suits the kind.
inline NetworkDesign DesignOf(const DesignedKind& kind) {
  NetworkDesign d;
  d.design_code = kind.code;
  d.no_layers = static_cast<int>(kind.units.size());
  for (std::size_t l = 0; l < kind.units.size(); ++l) d.units[l] = kind.units[l];
  d.width[kind.units.size() - 1] = kind.code == DesignCode::kKohonen ? 3 : 1;
  d.no_inputs = 2;
  d.no_outputs = 1;
  DesignVariable colour;
  colour.nominals = {"red", "green", "blue"};
  colour.conversion = static_cast<double>(ConversionFunction::kOneOfN);
  DesignVariable output = colour;
  output.nominals = {"low", "mid", "high"};
  if (kind.code == DesignCode::kKohonen) {
    output.conversion = static_cast<double>(ConversionFunction::kKohonen);
  }
  d.variables = {DesignVariable(), colour, output};
  return d;
}

// Gives a built network what the builders leave empty: names (one variable
// nameless), classes, substitutes, coding factors, a missing weight and a
// missing substitute, and activations, which neither form stores.
inline void Decorate(Network& net) {
  VariableCoding& c = net.coding;
  c.variable_names = {"Weight", "", "Grade"};
  for (int v = 0; v < c.no_variables(); ++v) {
    c.min_mean[v] = 0.125 * v;
    c.max_sd[v] = 1.0 + 0.5 * v;
    c.shift[v] = -0.25 * (v + 1);
    c.scale[v] = 2.0 + v;
    c.missing_fn[v] = static_cast<double>(v % kMissingFunctionCount);
  }
  for (std::size_t i = 0; i < c.substitutes.size(); ++i) c.substitutes[i] = 0.0625 * (i + 1);
  c.substitutes.back() = MISSING;
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
  Connection& last = net.output_layer().connections[net.no_layers() - 2];
  last.weights[0] = MISSING;
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

// The network as a reader gives it back: activations are not stored.
inline Network WithoutActivations(const Network& net) {
  Network copy = net;
  ClearActivations(copy);
  return copy;
}

// One stored form: its writer and its reader, over streams.
struct NetworkFormat {
  const char* name;
  Status (*write)(const Network&, std::ostream&);
  std::unique_ptr<Network> (*read)(std::istream&);
};

inline const NetworkFormat kTextFile = {
    "TextFile", [](const Network& n, std::ostream& out) { return WriteNetworkFile(n, out); },
    [](std::istream& in) { return ReadNetworkFile(in); }};
inline const NetworkFormat kImage = {
    "Image", [](const Network& n, std::ostream& out) { return WriteNetworkImage(n, out); },
    [](std::istream& in) { return ReadNetworkImage(in, 0); }};

inline std::string Written(const NetworkFormat& format, const Network& net) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(format.write(net, out).ok()) << format.name;
  return out.str();
}

inline std::unique_ptr<Network> Read(const NetworkFormat& format, const std::string& bytes) {
  std::istringstream in(bytes, std::ios::binary);
  return format.read(in);
}

}  // namespace tavrin::testing
