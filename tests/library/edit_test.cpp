// The edits hand their layer, position and count to the engine as given, and
// position -1 means "at the end": marked units, variables and cases show
// where each edit acted. What the engine does to weights and codings then is
// its own business.

#include <string>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxEditTest = LibraryTest;

TEST_F(NrxEditTest, UnitsAndLayers) {
  // Layers 1, 3, 2, 1; unit u of hidden layer l has threshold 10 l + u.
  const int32_t net = Design{.units = {1, 3, 2, 1}}.Create();
  for (int32_t u = 0; u < 3; ++u) Ok(NRXSetNetworkUnitThreshold(net, 1, u, 10 + u));
  for (int32_t u = 0; u < 2; ++u) Ok(NRXSetNetworkUnitThreshold(net, 2, u, 20 + u));
  Ok(NRXAddNetworkUnits(net, 2, 1, 3));
  Ok(NRXAddNetworkUnits(net, 2, -1, 1));
  Ok(NRXDeleteNetworkUnits(net, 2, 1, 3));
  Ok(NRXDeleteNetworkLayer(net, 1));
  EXPECT_EQ(Each<double>(3, NRXGetNetworkUnitThreshold, net, 1), (std::vector<double>{20, 21, 0}));
}

TEST_F(NrxEditTest, DataSetVariablesAndCases) {
  const int32_t ds = MakeDataSet(2, 1, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  int32_t i = 0;
  for (const char* name : {"a", "b", "c"}) Ok(NRXSetDataVariableName(ds, i++, name));
  for (i = 0; i < 3; ++i) Ok(NRXSetDataCaseName(ds, i, std::to_string(i).c_str()));
  Ok(NRXAddDataVariables(ds, 1, 2));
  Ok(NRXAddDataVariables(ds, -1, 1));
  Ok(NRXAddDataCases(ds, 1, 2));
  Ok(NRXAddDataCases(ds, -1, 1));
  Ok(NRXDeleteDataVariables(ds, 1, 2));
  Ok(NRXDeleteDataVariables(ds, -1, 1));
  Ok(NRXDeleteDataCases(ds, 1, 2));
  Ok(NRXDeleteDataCases(ds, -1, 2));
  EXPECT_EQ(Each<std::string>(3, NRXGetDataVariableName, ds),
            (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(Each<std::string>(2, NRXGetDataCaseName, ds), (std::vector<std::string>{"0", "1"}));
}

TEST_F(NrxEditTest, Sorting) {
  const int32_t ds = MakeDataSet(1, 1, {{5, 20}, {6, 30}, {7, 10}});
  Ok(NRXSortDataSet(ds, 1, 0));  // by the second column, descending
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 0, 0), 6.0);
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 2, 0), 7.0);
}

}  // namespace
}  // namespace nrx_test
