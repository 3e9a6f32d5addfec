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

TEST_F(NrxEditTest, NetworkVariables) {
  const int32_t net = Design{.no_inputs = 2, .no_outputs = 2, .units = {2, 2, 2}}.Create();
  int32_t v = 0;
  for (const char* name : {"a", "b", "y", "z"}) Ok(NRXSetNetworkVariableName(net, v++, name));
  Ok(NRXAddNetworkInputVariables(net, 1, 2));
  Ok(NRXAddNetworkInputVariables(net, -1, 1));
  Ok(NRXAddNetworkOutputVariables(net, 1, 3));  // after the first output
  Ok(NRXAddNetworkOutputVariables(net, -1, 1));
  Ok(NRXDeleteNetworkInputVariables(net, 1, 2));
  Ok(NRXDeleteNetworkOutputVariables(net, 2, 3));
  EXPECT_EQ(Each<std::string>(6, NRXGetNetworkVariableName, net),
            (std::vector<std::string>{"a", "b", "", "y", "", ""}));
}

TEST_F(NrxEditTest, AppendingJoinsACopyOfTheSecondNetwork) {
  // Layers 2, 1 then 1, 3, 1: the second's input layer merges with the first's
  // output layer, and the second stays as it was. A network may follow itself.
  const int32_t first = Design{.no_inputs = 2, .units = {2, 1}}.Create();
  const int32_t second = Design{.units = {1, 3, 1}}.Create();
  Ok(NRXAppendNetwork(first, second));
  EXPECT_EQ(Each<int32_t>(4, NRXGetNetworkLayerNoUnits, first), (std::vector<int32_t>{2, 1, 3, 1}));
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkNoLayers, second), 3);
  Ok(NRXAppendNetwork(second, second));
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkNoLayers, second), 5);
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
