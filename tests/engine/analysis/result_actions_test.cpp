// What the program does with results: adding a run's results to its data set
// and pruning inputs by their sensitivity.

#include <gtest/gtest.h>

#include <vector>

#include "analysis/results_to_data.h"
#include "analysis/run_all.h"
#include "analysis/sensitivity.h"
#include "common/messages.h"
#include "common/missing.h"
#include "linear_test_network.h"

namespace tavrin::testing {
namespace {

using ResultsToDataTest = EngineTest;
using PruneInputsTest = EngineTest;

// y = 2x on the cases (1, 2), (2, 5), (3, missing) and an ignored (4, 8).
TEST_F(ResultsToDataTest, EachModeAddsItsVariablesWithNoRole) {
  auto net = MakeLinear(1, ConversionFunction::kNone);
  ASSERT_TRUE(net);
  SetRow(*net, 1, 0, {2.0});
  net->layers[1].thresholds[0] = 0.0;
  net->coding.variable_names[1] = "y";
  net->layers[0].unit_names[0] = "in";
  auto data = MakeData(1, 1, {{1, 2}, {2, 5}, {3, MISSING}, {4, 8}});
  data->subset[3] = static_cast<std::int32_t>(Subset::kIgnore);
  Engine().active_network = net.get();
  Engine().active_data_set = data.get();

  ASSERT_TRUE(RunAll(Engine(), RunAllMode::kOutputs, 1));
  ASSERT_TRUE(AppendRunResults(Engine()));
  ASSERT_EQ(data->no_variables, 5);
  EXPECT_EQ(data->no_inputs + data->no_outputs, 2);
  EXPECT_EQ(data->variable_names[2], "PR_y");
  EXPECT_EQ(data->variable_names[3], "E_y");
  EXPECT_EQ(data->variable_names[4], "RMSERROR");
  const auto column = [&](int v) {
    std::vector<double> values;
    for (int c = 0; c < data->no_cases; ++c) values.push_back(data->at(c, v));
    return values;
  };
  EXPECT_EQ(column(2), (std::vector<double>{2, 4, 6, MISSING}));
  EXPECT_EQ(column(3), (std::vector<double>{0, -1, MISSING, MISSING}));
  EXPECT_EQ(column(4), Engine().training.case_errors);

  // The data set has changed shape since: these results no longer fit it.
  ASSERT_TRUE(ResizeCases(*data, 0, 1));
  EXPECT_FALSE(AppendRunResults(Engine()));
  EXPECT_EQ(last_message(), kNoRunResults);
  EXPECT_EQ(data->no_variables, 5);

  const std::pair<RunAllMode, const char*> modes[] = {{RunAllMode::kOutputLayer, "OUT1"},
                                                      {RunAllMode::kLayerBefore, "CB_IN"},
                                                      {RunAllMode::kLayer1Winner, "WINNER"}};
  for (const auto& [mode, name] : modes) {
    ASSERT_TRUE(RunAll(Engine(), mode, 1));
    ASSERT_TRUE(AppendRunResults(Engine()));
    EXPECT_EQ(data->variable_names.back(), name);
  }
  EXPECT_EQ(data->at(2, data->no_variables - 3), 4.0);  // OUT1 of input 2
}

TEST_F(PruneInputsTest, InputsBelowTheThresholdGoFromTheLast) {
  auto net = MakeDesigned(DesignCode::kLinear, {3, 1}, 1);
  ASSERT_TRUE(net);
  SensitivityResults r;
  r.training.ratios = {0.5, 2.0, 0.9};
  r.verification.ratios = {0.5, 0.5, 2.0};
  r.verification.base_error = 1.0;
  int deleted = -1;
  ASSERT_TRUE(PruneInputs(*net, r, 0.0, &deleted));  // 0 stands for 1
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(net->coding.no_inputs, 2);

  EXPECT_FALSE(PruneInputs(*net, r, 1.0, &deleted));  // results of three inputs
  EXPECT_EQ(last_message(), kNoSensitivityResults);
  net = MakeDesigned(DesignCode::kLinear, {3, 1}, 1);
  r.verification.base_error = 0.0;  // only the training ratios count
  ASSERT_TRUE(PruneInputs(*net, r, 1.0, &deleted));
  EXPECT_EQ(deleted, 2);  // the first input is the last one left
  EXPECT_EQ(net->coding.no_inputs, 1);
}

}  // namespace
}  // namespace tavrin::testing
