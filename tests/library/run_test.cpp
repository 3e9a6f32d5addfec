// Running through the library: the output type and the case reach the
// engine and exactly their values come back. The network works out on paper:
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

// The first and the last output type of each export, so that both bounds
// and the type itself show; which values each type gives is the engine's.
TEST_F(NrxRunTest, AnInputVector) {
  const double in[2] = {3.0, 1.0};
  const auto run = [&](int32_t type) {
    return Outputs([&](double* out) { return NRXRunNetwork(net_, type, in, out); });
  };
  // y = (4.5, 4), the first decoded by 2; layer 1's winner is its smallest unit.
  EXPECT_EQ(run(NRX_OUTPUT_DECODED), (std::vector<double>{2.25, 4.0, -9, -9}));
  EXPECT_EQ(run(NRX_OUTPUT_LAYER1_WINNER), (std::vector<double>{2.0, -9, -9, -9}));
  // The run keeps its activations: unit 0 of layer 1, not unit 1 of layer 0.
  EXPECT_EQ(Get<double>(NRXGetNetworkUnitActivation, net_, 1, 0), 4.5);
}

TEST_F(NrxRunTest, ADataSetsCase) {
  const int32_t ds = MakeDataSet(2, 2, {{3, 1, 0, 0}, {1, 2, 0, 0}});
  const auto run = [&](int32_t type) {
    return Outputs([&](double* out) { return NRXRunNetworkFromDataSet(net_, ds, 1, type, out); });
  };
  // Case 1, (1, 2): y = (-0.5, 3).
  EXPECT_EQ(run(NRX_OUTPUT_DECODED), (std::vector<double>{-0.25, 3.0, -9, -9}));
  EXPECT_EQ(run(NRX_OUTPUT_LAYER1_SMALLEST), (std::vector<double>{-0.5, -9, -9, -9}));
}

}  // namespace
}  // namespace nrx_test
