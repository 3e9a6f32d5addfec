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
  const int units = static_cast<int>(centres.size());
  auto net =
      MakeDesigned(DesignCode::kKohonen, {inputs, units}, classes > 0 ? 1 : 0, classes, width);
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
