#pragma once

// Radial layers with chosen centres, and small data sets with a nominal
// class, for the tests of the radial and self-organising trainers.

#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>
#include <tuple>
#include <vector>

#include "training_test_support.h"

namespace tavrin::testing {

using Rows = std::vector<std::vector<double>>;

// A two-layer network: `inputs` inputs passed unchanged (conversion None) to
// a Radial layer 1 whose unit u has centre centres[u], laid out `width`
// columns wide. With `classes` > 0 the network has one nominal output
// variable of that many values.
inline std::unique_ptr<Network> MakeRadial(int inputs, const Rows& centres, int width = 1,
                                           int classes = 0) {
  NetworkDesign d;
  d.design_code = DesignCode::kKohonen;
  d.no_layers = 2;
  d.no_inputs = inputs;
  d.no_outputs = classes > 0 ? 1 : 0;
  d.units[0] = inputs;
  d.units[1] = static_cast<double>(centres.size());
  d.width[1] = width;
  d.variables.resize(inputs + d.no_outputs);
  for (int v = 0; v < inputs; ++v) d.variables[v].conversion = 5;
  if (classes > 0) {
    d.variables[inputs].conversion = 6;
    for (int c = 0; c < classes; ++c)
      d.variables[inputs].nominals.push_back("c" + std::to_string(c));
  }
  DeriveLayerSizes(d);
  auto net = BuildNetwork(d, Engine().random, Engine().reinitialisation);
  EXPECT_TRUE(net);
  if (!net) return net;
  Connection& block = net->layers[1].connections[0];
  for (std::size_t u = 0; u < centres.size(); ++u)
    std::copy(centres[u].begin(), centres[u].end(), block.row(int(u)));
  return net;
}

inline std::vector<double> Centre(const Network& net, int unit) {
  const Connection& block = net.layers[1].connections[0];
  return {block.row(unit), block.row(unit) + block.no_from};
}

// Training cases of `inputs` inputs and, with `classes` > 0, a last column
// holding a nominal class of that many values.
inline std::unique_ptr<DataSet> MakeClassData(int inputs, int classes, const Rows& rows) {
  auto data = MakeData(inputs, classes > 0 ? 1 : 0, rows);
  EXPECT_TRUE(classes == 0 || SetDataNoNominals(*data, inputs, classes));
  return data;
}

// A call on a network and data set that must fail with a message.
using Refusal = std::tuple<Network*, DataSet*, std::string_view, std::function<Status()>>;

class RadialTest : public EngineTest {
 protected:
  void Activate(Network* net, DataSet* data = nullptr) {
    Engine().active_network = net;
    Engine().active_data_set = data;
  }
  // Each call fails with its message and leaves its network as it was.
  void ExpectRefusals(const std::vector<Refusal>& rows) {
    for (const auto& [net, data, message, call] : rows) {
      const auto before = net ? std::make_unique<Network>(*net) : nullptr;
      Activate(net, data);
      EXPECT_FALSE(call());
      EXPECT_EQ(last_message(), message);
      if (before) ExpectSameNetwork(*net, *before);
    }
  }
};

}  // namespace tavrin::testing
