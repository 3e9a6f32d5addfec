// Running through the library: the output type and the case reach the
// engine and exactly their values come back. The network works out on paper:
//   y1 = 2 a - b - 0.5, y2 = a + b (linear), y1 decoded with scale 2.
// Which values each type gives is the engine's; the types here are the
// bounds of each export's range.

#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxRunTest = LibraryTest;

TEST_F(NrxRunTest, TheTypeAndTheCaseReachTheEngine) {
  const int32_t net = Design{
      .design = NRX_DESIGN_LINEAR,
      .no_inputs = 2,
      .no_outputs = 2,
      .units = {2, 2}}.Create();
  const double weights[2][2] = {{2.0, -1.0}, {1.0, 1.0}};
  for (int32_t u = 0; u < 2; ++u) {
    for (int32_t s = 0; s < 2; ++s) Ok(NRXSetNetworkWeight(net, 0, s, 1, u, weights[u][s]));
  }
  Ok(NRXSetNetworkUnitThreshold(net, 1, 0, 0.5));
  Ok(NRXSetNetworkUnitThreshold(net, 1, 1, 0.0));
  Ok(NRXSetNetworkScaleFactor(net, 2, 2.0));
  // (3, 1): y = (4.5, 4); layer 1's winner is its smallest unit.
  const double in[2] = {3.0, 1.0};
  std::vector<double> out(4, -9.0);
  Ok(NRXRunNetwork(net, NRX_OUTPUT_LAYER1_WINNER, in, out.data()));
  EXPECT_EQ(out, (std::vector<double>{2.0, -9, -9, -9}));
  // The run keeps its activations: unit 0 of layer 1, not unit 1 of layer 0.
  EXPECT_EQ(Get<double>(NRXGetNetworkUnitActivation, net, 1, 0), 4.5);
  // Case 1, (1, 2): y = (-0.5, 3).
  const int32_t ds = MakeDataSet(2, 2, {{3, 1, 0, 0}, {1, 2, 0, 0}});
  Ok(NRXRunNetworkFromDataSet(net, ds, 1, NRX_OUTPUT_DECODED, out.data()));
  EXPECT_EQ(out, (std::vector<double>{-0.25, 3.0, -9, -9}));
  Ok(NRXRunNetworkFromDataSet(net, ds, 1, NRX_OUTPUT_LAYER1_SMALLEST, out.data()));
  EXPECT_EQ(out, (std::vector<double>{-0.5, 3.0, -9, -9}));
}

}  // namespace
}  // namespace nrx_test
