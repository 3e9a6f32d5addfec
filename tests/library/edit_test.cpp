// The edits hand their layer, position and count to the engine as given, and
// position -1 means "at the end": marked units, variables and cases show
// where each edit acted. What the engine does to weights and codings then is
// its own business.

#include <string>
#include <type_traits>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxEditTest = LibraryTest;

// What a getter delivers for items 0 .. count - 1 after the given arguments.
template <typename T, typename Getter, typename... Args>
std::vector<T> Each(int32_t count, Getter get, Args... args) {
  std::vector<T> values;
  for (int32_t i = 0; i < count; ++i) {
    if constexpr (std::is_same_v<T, std::string>) {
      values.push_back(Name(get, args..., i));
    } else {
      values.push_back(Get<T>(get, args..., i));
    }
  }
  return values;
}

TEST_F(NrxEditTest, UnitsAndLayers) {
  // Layers 1, 3, 2, 1; unit u of hidden layer l has threshold 10 l + u.
  const int32_t net = Design{.units = {1, 3, 2, 1}}.Create();
  for (int32_t u = 0; u < 3; ++u) Ok(NRXSetNetworkUnitThreshold(net, 1, u, 10 + u));
  for (int32_t u = 0; u < 2; ++u) Ok(NRXSetNetworkUnitThreshold(net, 2, u, 20 + u));
  Ok(NRXAddNetworkUnits(net, 2, 1, 3));
  Ok(NRXAddNetworkUnits(net, 2, -1, 1));
  EXPECT_EQ(Each<double>(6, NRXGetNetworkUnitThreshold, net, 2),
            (std::vector<double>{20, 0, 0, 0, 21, 0}));
  Ok(NRXDeleteNetworkUnits(net, 2, 1, 3));
  EXPECT_EQ(Each<double>(3, NRXGetNetworkUnitThreshold, net, 2), (std::vector<double>{20, 21, 0}));
  Ok(NRXDeleteNetworkLayer(net, 1));
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkNoLayers, net), 3);
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
  EXPECT_EQ(Each<std::string>(11, NRXGetNetworkVariableName, net),
            (std::vector<std::string>{"a", "", "", "b", "", "y", "", "", "", "z", ""}));
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerNoUnits, net, 2), 6);
  Ok(NRXDeleteNetworkInputVariables(net, 1, 2));
  Ok(NRXDeleteNetworkOutputVariables(net, 2, 3));
  EXPECT_EQ(Each<std::string>(6, NRXGetNetworkVariableName, net),
            (std::vector<std::string>{"a", "b", "", "y", "", ""}));
  EXPECT_EQ(Get<int32_t>(NRXGetNetworkLayerNoUnits, net, 0), 3);
}

TEST_F(NrxEditTest, AppendingJoinsACopyOfTheSecondNetwork) {
  // Layers 2, 1 then 1, 3, 1: the second's input layer merges with the first's
  // output layer, and the second stays as it was. A network may follow itself.
  const int32_t first = Design{.no_inputs = 2, .units = {2, 1}}.Create();
  const int32_t second = Design{.units = {1, 3, 1}}.Create();
  Ok(NRXSetNetworkVariableName(second, 1, "result"));
  Ok(NRXAppendNetwork(first, second));
  EXPECT_EQ(Each<int32_t>(4, NRXGetNetworkLayerNoUnits, first), (std::vector<int32_t>{2, 1, 3, 1}));
  EXPECT_EQ(Name(NRXGetNetworkVariableName, first, 2), "result");
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
  // New variables are named by the position they were inserted at.
  EXPECT_EQ(Each<std::string>(6, NRXGetDataVariableName, ds),
            (std::vector<std::string>{"a", "VAR2", "VAR3", "b", "c", "VAR6"}));
  EXPECT_EQ(Each<std::string>(6, NRXGetDataCaseName, ds),
            (std::vector<std::string>{"0", "", "", "1", "2", ""}));
  Ok(NRXDeleteDataVariables(ds, 1, 2));
  Ok(NRXDeleteDataVariables(ds, -1, 1));
  Ok(NRXDeleteDataVariables(ds, 0, 1));
  Ok(NRXDeleteDataCases(ds, 1, 2));
  Ok(NRXDeleteDataCases(ds, -1, 2));
  Ok(NRXDeleteDataCases(ds, 0, 1));
  EXPECT_EQ(Each<std::string>(2, NRXGetDataVariableName, ds), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(Each<std::string>(1, NRXGetDataCaseName, ds), std::vector<std::string>{"1"});
}

TEST_F(NrxEditTest, SortingAndTheCaseIndex) {
  const int32_t ds = MakeDataSet(1, 1, {{5, 20}, {6, 30}, {7, 10}});
  Ok(NRXSortDataSet(ds, 1, 0));  // by the second column, descending
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 0, 0), 6.0);
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 2, 0), 7.0);
  Ok(NRXSortDataSet(ds, 0, 1));
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 0, 0), 5.0);
  Ok(NRXShuffleDataSet(ds, 0));
  Ok(NRXShuffleDataSet(ds, 4));  // the case number as a new first variable
  EXPECT_EQ(Name(NRXGetDataVariableName, ds, 0), "NNINDEX");
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 2, 0), 3.0);
}

// Mode 2 deals the case types over every case but those the active network
// needs as history: cases 0 and 1 for two steps and lookahead 1. Without an
// active network, or once it is freed, nothing is held back.
TEST_F(NrxEditTest, ShufflingHoldsBackTheActiveNetworksHistory) {
  const int32_t ds = MakeDataSet(1, 1, std::vector<std::vector<double>>(10, {1, 2}));
  const auto history_kept = [&] {
    Ok(NRXSetDataCaseTypes(ds, 0, 2, NRX_CASE_IGNORED));
    for (int round = 0; round < 20; ++round) {
      Ok(NRXShuffleDataSet(ds, 2));
      if (Each<int32_t>(2, NRXGetDataCaseType, ds) != std::vector<int32_t>{3, 3}) return false;
    }
    return true;
  };
  EXPECT_FALSE(history_kept());
  const int32_t net = Design{.steps = 2, .lookahead = 1}.Create();  // now the active network
  EXPECT_TRUE(history_kept());
  Ok(NRXFreeNetwork(net));
  EXPECT_FALSE(history_kept());
}

TEST_F(NrxEditTest, ScaleFactorsComeFromTheDataSet) {
  // Minimax over 2, 4, 6 onto 0 .. 1: scale 1 / 4.
  const int32_t net = Design{}.Create();
  Ok(NRXCalculateScaleFactors(net, MakeDataSet(1, 1, {{2, 0}, {4, 0}, {6, 0}})));
  EXPECT_EQ(Get<double>(NRXGetNetworkScaleFactor, net, 0), 0.25);
}

}  // namespace
}  // namespace nrx_test
