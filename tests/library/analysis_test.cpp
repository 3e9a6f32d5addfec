// The result-statistics exports through the shared object: which of the six
// out-arguments gets what, and that a refusal writes none of them.

#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxAnalysisTest = LibraryTest;

// y = x1 + 2 x2 fits the two training cases exactly and misses the
// verification case (1, 1 -> 4) by 1.
TEST_F(NrxAnalysisTest, SensitivityFillsEachOutArgument) {
  const int32_t net = Design{.design = NRX_DESIGN_LINEAR, .no_inputs = 2, .units = {2, 1}}.Create();
  Ok(NRXSetNetworkWeight(net, 0, 0, 1, 0, 1.0));
  Ok(NRXSetNetworkWeight(net, 0, 1, 1, 0, 2.0));
  Ok(NRXSetNetworkUnitThreshold(net, 1, 0, 0.0));
  const int32_t ds = MakeDataSet(2, 1, {{1, 0, 1}, {0, 1, 2}, {1, 1, 4}});
  Ok(NRXSetDataCaseTypes(ds, 2, 1, NRX_CASE_VERIFICATION));
  int32_t ranks[2][2] = {};
  double base[2] = {-1, -1}, errors[2][2] = {{-1, -1}, {-1, -1}};
  const auto call = [&](int32_t* training_ranks) {
    return NRXSensitivityAnalysis(net, ds, training_ranks, ranks[1], &base[0], &base[1], errors[0],
                                  errors[1]);
  };
  EXPECT_EQ(call(nullptr), 0);
  EXPECT_EQ(base[0], -1.0);
  EXPECT_EQ(errors[1][0], -1.0);

  Ok(call(ranks[0]));
  EXPECT_EQ(base[0], 0.0);
  EXPECT_GT(base[1], 0.0);
  for (int s = 0; s < 2; ++s) {
    EXPECT_GT(errors[s][0] + errors[s][1], 0.0) << s;
    // The larger error ranks first.
    EXPECT_EQ(ranks[s][0], errors[s][0] > errors[s][1] ? 1 : 2) << s;
    EXPECT_EQ(ranks[s][0] + ranks[s][1], 3) << s;
  }
}

}  // namespace
}  // namespace nrx_test
