// Running through the library: each output type reaches the engine and
// exactly its values come back, from an input vector or from a data set's
// case. The network works out on paper:
//   y1 = 2 a - b - 0.5, y2 = a + b (linear), y1 decoded with scale 2.

#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

class NrxRunTest : public LibraryTest {
 protected:
  void SetUp() override {
    net_ = Design{.design = NRX_DESIGN_LINEAR, .no_inputs = 2, .no_outputs = 2, .units = {2, 2}}
               .Create();
    ASSERT_GE(net_, 0) << ErrorText();
    const double weights[2][2] = {{2.0, -1.0}, {1.0, 1.0}};
    for (int32_t u = 0; u < 2; ++u) {
      for (int32_t s = 0; s < 2; ++s) Ok(NRXSetNetworkWeight(net_, 0, s, 1, u, weights[u][s]));
    }
    Ok(NRXSetNetworkUnitThreshold(net_, 1, 0, 0.5));
    Ok(NRXSetNetworkUnitThreshold(net_, 1, 1, 0.0));
    Ok(NRXSetNetworkScaleFactor(net_, 2, 2.0));
  }

  // The values a call wrote, up to four; the rest keep their marker.
  template <typename Run>
  static std::vector<double> Outputs(Run run) {
    std::vector<double> out(4, -9.0);
    Ok(run(out.data()));
    return out;
  }

  int32_t net_ = -1;
};

TEST_F(NrxRunTest, EachOutputTypeOfAnInputVector) {
  const double in[2] = {3.0, 1.0};
  const auto run = [&](int32_t type) {
    return Outputs([&](double* out) { return NRXRunNetwork(net_, type, in, out); });
  };
  // y = (4.5, 4); by confidence the first output unit wins, its weights (2, -1);
  // layer 1's winner is its smallest unit, the second.
  EXPECT_EQ(run(NRX_OUTPUT_DECODED), (std::vector<double>{2.25, 4.0, -9, -9}));
  EXPECT_EQ(run(NRX_OUTPUT_ACTIVATIONS), (std::vector<double>{4.5, 4.0, -9, -9}));
  EXPECT_EQ(run(NRX_OUTPUT_WINNER_WEIGHTS), (std::vector<double>{2.0, -1.0, -9, -9}));
  EXPECT_EQ(run(NRX_OUTPUT_LAYER1_WINNER), (std::vector<double>{2.0, -9, -9, -9}));
  // The run keeps its activations: unit 0 of layer 1, not unit 1 of layer 0.
  EXPECT_EQ(Get<double>(NRXGetNetworkUnitActivation, net_, 1, 0), 4.5);
}

TEST_F(NrxRunTest, EachOutputTypeOfADataSetsCase) {
  const int32_t ds = MakeDataSet(2, 2, {{3, 1, 0, 0}, {1, 2, 0, 0}});
  const auto run = [&](int32_t c, int32_t type) {
    return Outputs([&](double* out) { return NRXRunNetworkFromDataSet(net_, ds, c, type, out); });
  };
  // Case 0 as above; case 1, (1, 2): y = (-0.5, 3), the second unit is the
  // largest and layer 1's smallest is the first.
  EXPECT_EQ(run(0, NRX_OUTPUT_DECODED), (std::vector<double>{2.25, 4.0, -9, -9}));
  EXPECT_EQ(run(1, NRX_OUTPUT_DECODED), (std::vector<double>{-0.25, 3.0, -9, -9}));
  EXPECT_EQ(run(1, NRX_OUTPUT_ACTIVATIONS), (std::vector<double>{-0.5, 3.0, -9, -9}));
  EXPECT_EQ(run(1, NRX_OUTPUT_WINNER_WEIGHTS), (std::vector<double>{1.0, 1.0, -9, -9}));
  EXPECT_EQ(run(1, NRX_OUTPUT_LAYER1_WINNER), (std::vector<double>{1.0, -9, -9, -9}));
  EXPECT_EQ(run(1, NRX_OUTPUT_LAYER1_SMALLEST), (std::vector<double>{-0.5, -9, -9, -9}));
}

TEST_F(NrxRunTest, ATimeSeriesCaseNeedsOnlyItsOwnWindow) {
  // One input over two steps, lookahead 1: case c reads cases c - 2 and c - 1,
  // so case 2 is the first it can run: 1 x 1 + 10 x 2.
  const int32_t net = Design{.design = NRX_DESIGN_LINEAR, .steps = 2, .lookahead = 1}.Create();
  Ok(NRXSetNetworkWeight(net, 0, 0, 1, 0, 1.0));
  Ok(NRXSetNetworkWeight(net, 0, 1, 1, 0, 10.0));
  Ok(NRXSetNetworkUnitThreshold(net, 1, 0, 0.0));
  const int32_t ds = MakeDataSet(1, 1, {{1, 0}, {2, 0}, {3, 0}});
  EXPECT_EQ(Outputs([&](double* out) { return NRXRunNetworkFromDataSet(net, ds, 2, 0, out); }),
            (std::vector<double>{21.0, -9, -9, -9}));
}

}  // namespace
}  // namespace nrx_test
