// NRXInputSelection through the shared object: its checks in order, each
// refusal leaving the data set's inputs, and a search whose mask is applied.

#include <cmath>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxInputSelectionTest = LibraryTest;

int32_t NoInputs(int32_t ds) {
  int32_t n = -1;
  Ok(NRXGetDataNoInputs(ds, &n));
  return n;
}

TEST_F(NrxInputSelectionTest, ChecksInOrderThenTheMaskIsApplied) {
  std::vector<std::vector<double>> rows;
  for (int c = 0; c < 12; ++c) rows.push_back({c / 12.0, (c % 3) / 3.0, (c % 2) * 1.0});
  const int32_t ds = MakeDataSet(2, 1, rows);
  const auto refused = [&](int32_t handle, int32_t method, int32_t population, double sampling,
                           const char* message) {
    EXPECT_EQ(NRXInputSelection(handle, method, population, 10, 1.0, 0.3, 0.0, 0.5, sampling), 0);
    EXPECT_EQ(ErrorText(), message);
    EXPECT_EQ(NoInputs(ds), 2);
  };
  refused(64, 3, 0, NAN, "Data Set index out of range");
  refused(ds + 1, 3, 0, NAN, "No Data Set loaded with this index");
  refused(ds, 3, 0, NAN, "Sampling rate out of range");
  refused(ds, 3, 0, 1.0, "Method out of range");
  refused(ds, 0, 0, 1.0, "Population size must be at least 1");
  refused(ds, 0, 10, 0.5,
          "There are not enough training and verification cases to use Genetic Algorithm input "
          "selection");

  // Two inputs: 4 masks < 10 x 10, so every mask is scored; a penalty of 10
  // per input outweighs any error of coded values in [0, 1], so none is kept.
  Ok(NRXInputSelection(ds, 0, 10, 10, 1.0, 0.3, 10.0, 0.5, 1.0));
  EXPECT_EQ(ErrorText(), "Using exhaustive evaluation (no. inputs small)");
  EXPECT_EQ(NoInputs(ds), 0);
}

}  // namespace
}  // namespace nrx_test
