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
  const int32_t net = Design{
      .design = NRX_DESIGN_LINEAR,
      .no_inputs = 2,
      .no_outputs = 1,
      .units = {2, 1}}.Create();
  Ok(NRXSetNetworkWeight(net, 0, 0, 1, 0, 1.0));
  Ok(NRXSetNetworkWeight(net, 0, 1, 1, 0, 2.0));
  Ok(NRXSetNetworkUnitThreshold(net, 1, 0, 0.0));
  const int32_t ds = MakeDataSet(2, 1, {{1, 0, 1}, {0, 1, 2}, {1, 1, 4}});
  Ok(NRXSetDataCaseTypes(ds, 2, 1, NRX_CASE_VERIFICATION));
  std::vector<int32_t> training_ranks(2, -1), verification_ranks(2, -1);
  std::vector<double> training(2, -1.0), verification(2, -1.0);
  double training_base = -1.0, verification_base = -1.0;
  const auto call = [&](int32_t* ranks) {
    return NRXSensitivityAnalysis(net, ds, ranks, verification_ranks.data(), &training_base,
                                  &verification_base, training.data(), verification.data());
  };
  EXPECT_EQ(call(nullptr), 0);
  EXPECT_EQ(training_base, -1.0);
  EXPECT_EQ(verification, (std::vector<double>(2, -1.0)));

  Ok(call(training_ranks.data()));
  EXPECT_EQ(training_base, 0.0);
  EXPECT_GT(verification_base, 0.0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_GT(training[i], 0.0) << i;
    EXPECT_NE(verification[i], -1.0) << i;
  }
  // The larger error ranks first.
  EXPECT_EQ(training_ranks,
            (training[0] > training[1] ? std::vector<int32_t>{1, 2} : std::vector<int32_t>{2, 1}));
  EXPECT_EQ(verification_ranks, (verification[0] > verification[1] ? std::vector<int32_t>{1, 2}
                                                                   : std::vector<int32_t>{2, 1}));
}

}  // namespace
}  // namespace nrx_test
