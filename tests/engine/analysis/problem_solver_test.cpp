// The automatic design search end to end on small data sets: what it leaves
// in the caller's set, what it puts back, and how it ends.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "analysis/problem_solver.h"
#include "analysis/problem_transfer.h"
#include "common/messages.h"
#include "common/stop_request.h"
#include "file_test_support.h"
#include "network/forward_run.h"
#include "network/network_set_edits.h"
#include "network/network_set_file.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

// Two classes split by x1 + x2 = 1 over a 6 x 6 grid, and a numeric output
// y = x1 - x2 for the regression cases.
std::unique_ptr<DataSet> GridData(bool classes) {
  std::vector<std::vector<double>> rows;
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      const double x1 = i / 5.0;
      const double x2 = j / 5.0;
      rows.push_back({x1, x2, classes ? (x1 + x2 > 1.0 ? 2.0 : 1.0) : x1 - x2});
    }
  }
  auto data = MakeData(2, 1, rows);
  if (classes) data->nominals[2] = {"low", "high"};
  return data;
}

class ProblemSolverTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    std::filesystem::create_directories(temporary_);
    ::setenv("TMPDIR", temporary_.c_str(), 1);
    ASSERT_TRUE(CreateNetworkSetFile(set_file_, 10, 0, 0));
    settings_.budget = 3;
    settings_.kinds[static_cast<int>(SolverKind::kLinear)] = true;
    settings_.kinds[static_cast<int>(SolverKind::kBayesian)] = true;
  }
  void TearDown() override {
    ::unsetenv("TMPDIR");
    Engine().training.search_callback = nullptr;
    EngineTest::TearDown();
  }

  Status Solve(DataSet& data) {
    NetworkSet set;
    EXPECT_TRUE(ReadNetworkSetFile(set_file_, set));
    return SolveProblem(Engine(), data, settings_, set, set_file_);
  }
  NetworkSet Result() const {
    NetworkSet set;
    EXPECT_TRUE(ReadNetworkSetFile(set_file_, set));
    return set;
  }
  // Counts the candidates through the progress callback.
  void CountCandidates(int stop_after = 0) {
    Engine().training.search_callback = [this, stop_after](std::int64_t done, std::int64_t total) {
      progress_.emplace_back(done, total);
      return stop_after == 0 || done < stop_after;
    };
  }

  // Whether the temporary directory holds nothing.
  bool NoTemporaryFiles() const { return std::filesystem::is_empty(temporary_); }

  TestDirectory files_;
  std::filesystem::path temporary_ = files_ / "tmp";
  std::filesystem::path set_file_ = files_ / "final.set";
  ProblemSolverSettings settings_;
  std::vector<std::pair<std::int64_t, std::int64_t>> progress_;
};

TEST_F(ProblemSolverTest, QuickKindsFillTheSetWithNetworksThatRun) {
  auto data = GridData(true);
  settings_.budget = 5;
  settings_.kinds[static_cast<int>(SolverKind::kRbf)] = true;
  settings_.training_proportion = 0.6;
  settings_.verification_proportion = 0.2;
  settings_.accept = 0.7;
  settings_.reject = 0.3;
  const std::vector<std::int32_t> inputs = data->is_input;
  CountCandidates();
  ASSERT_TRUE(Solve(*data)) << last_message();

  // 36 cases: 21 / 7 / 8, and each kind tried in turn within the budget.
  EXPECT_EQ(std::tuple(data->no_training, data->no_verification, data->no_test),
            std::tuple(21, 7, 8));
  EXPECT_EQ(progress_.size(), 5u);
  EXPECT_EQ(progress_.back(), std::make_pair(std::int64_t{5}, std::int64_t{5}));
  EXPECT_EQ(data->is_input, inputs);
  EXPECT_TRUE(NoTemporaryFiles());

  const NetworkSet set = Result();
  ASSERT_GE(set.network_count(), 2);
  EXPECT_EQ(set.current_network, set.network_count());
  for (std::int32_t i = 0; i < set.network_count(); ++i) {
    // Worst first, so the best is added last and becomes current.
    if (i > 0) {
      EXPECT_GE(set.entries[i - 1].summary.verification_error,
                set.entries[i].summary.verification_error);
    }
    std::unique_ptr<Network> network = LoadSetNetwork(set, i);
    ASSERT_TRUE(network);
    EXPECT_EQ(network->coding.accept, 0.7);
    EXPECT_EQ(network->coding.reject, 0.3);
    const VariableCoding& coding = network->coding;
    const std::vector<double> raw(coding.no_inputs * coding.steps, 0.3);
    std::vector<double> outputs(coding.no_outputs);
    RunForward(*network, raw.data(), outputs.data());
    EXPECT_TRUE(outputs[0] == 1.0 || outputs[0] == 2.0) << outputs[0];
  }
}

TEST_F(ProblemSolverTest, RegressionKeepsItsSubsetsAndGetsFixedThresholds) {
  auto data = GridData(false);
  SetCaseSubsets(*data, 30, 6, Subset::kVerification);
  const std::vector<std::int32_t> subsets = data->subset;
  // A time series with a negative proportion leaves every subset alone.
  settings_.steps = 2;
  ASSERT_TRUE(Solve(*data)) << last_message();
  EXPECT_EQ(data->subset, subsets);
  const NetworkSet set = Result();
  ASSERT_GE(set.network_count(), 1);
  for (std::int32_t i = 0; i < set.network_count(); ++i) {
    std::unique_ptr<Network> network = LoadSetNetwork(set, i);
    ASSERT_TRUE(network);
    EXPECT_EQ(std::pair(network->coding.accept, network->coding.reject), std::pair(0.95, 0.05));
    EXPECT_EQ(network->coding.steps, 2);
  }
}

TEST_F(ProblemSolverTest, PerceptronPruningLeavesTheRolesAsTheyWere) {
  auto data = GridData(true);
  // A checkerboard, which keeps the training busy through the first epochs.
  for (int c = 0; c < data->no_cases; ++c) data->at(c, 2) = (c / 6 + c % 6) % 2 + 1.0;
  // A third variable of noise that the pruning may take away.
  ASSERT_TRUE(ResizeDataVariables(*data, 2, 1));
  for (int c = 0; c < data->no_cases; ++c) data->at(c, 2) = (c * 7 % 5) / 5.0;
  SetVariableRoles(*data, 2, 1, VariableRole::kInput);
  const std::vector<std::int32_t> inputs = data->is_input;
  const std::vector<std::int32_t> outputs = data->is_output;
  settings_.kinds = {true, false, false, false, false};
  settings_.budget = 1;
  settings_.regularise = true;
  settings_.training_proportion = 0.7;
  settings_.verification_proportion = 0.3;
  ASSERT_TRUE(Solve(*data)) << last_message();
  EXPECT_EQ(data->is_input, inputs);
  EXPECT_EQ(data->is_output, outputs);
  EXPECT_EQ(std::pair(data->no_inputs, data->no_outputs), std::pair(3, 1));
  const NetworkSet set = Result();
  ASSERT_GE(set.network_count(), 1);
  EXPECT_EQ(set.entries[0].summary.type, static_cast<std::int32_t>(NetworkType::kMlp));
  // The pruning took inputs away, so the roles above were put back.
  EXPECT_LT(set.entries[0].summary.inputs, 3);
}

TEST_F(ProblemSolverTest, StopRequestEndsTheSearchCleanly) {
  auto data = GridData(true);
  const std::vector<std::int32_t> inputs = data->is_input;
  settings_.budget = 0;  // only a stop ends it
  CountCandidates();
  RequestStop();
  ASSERT_TRUE(Solve(*data)) << last_message();
  EXPECT_EQ(progress_.size(), 0u);  // the request came before any progress
  EXPECT_EQ(data->is_input, inputs);
  EXPECT_TRUE(NoTemporaryFiles());
  EXPECT_EQ(Result().network_count(), 1);  // what it found is kept
  EXPECT_FALSE(TakeStopRequest());
}

TEST_F(ProblemSolverTest, BudgetsAndTheCallbackBoundTheCandidates) {
  auto data = GridData(true);
  for (const int budget : {1, 2}) {
    progress_.clear();
    settings_.budget = budget;
    CountCandidates();
    ASSERT_TRUE(Solve(*data)) << last_message();
    EXPECT_EQ(progress_.size(), static_cast<std::size_t>(budget));
  }
  progress_.clear();
  settings_.budget = 0;
  CountCandidates(3);
  ASSERT_TRUE(Solve(*data));
  EXPECT_EQ(progress_,
            (std::vector<std::pair<std::int64_t, std::int64_t>>{{1, 0}, {2, 0}, {3, 0}}));

  // With a budget and nothing enabled the set gains nothing.
  const std::string before = FileContent(set_file_);
  progress_.clear();
  settings_.kinds = {};
  settings_.budget = 4;
  ASSERT_TRUE(Solve(*data));
  EXPECT_TRUE(progress_.empty());
  EXPECT_EQ(FileContent(set_file_), before);
}

TEST_F(ProblemSolverTest, RefusalsChangeNothing) {
  auto data = GridData(true);
  const std::string before = FileContent(set_file_);
  const std::vector<std::int32_t> subsets = data->subset;
  settings_.training_proportion = 0.5;
  const auto refused = [&](std::string_view message) {
    EXPECT_FALSE(Solve(*data));
    EXPECT_EQ(last_message(), message);
    EXPECT_EQ(FileContent(set_file_), before);
    EXPECT_EQ(data->subset, subsets);
    EXPECT_TRUE(NoTemporaryFiles());
  };
  settings_.budget = 0;
  settings_.kinds = {};
  refused(kSolverNothingToTry);
  settings_.budget = -1;
  refused(kSolverBudget);
  settings_.budget = 1;
  settings_.kinds[0] = true;
  settings_.hidden1 = 0;
  refused(kSolverHiddenUnits);
  settings_.hidden1 = -1;
  settings_.temporary_when_full = 2;
  refused(kSolverWhenFull);
  settings_.temporary_when_full = 0;
  settings_.training_proportion = std::nan("");
  refused(kSolverProportions);
  settings_.training_proportion = 0.01;  // int(0.36) = 0 training cases
  refused(kNoTrainingCases);
  ::setenv("TMPDIR", (files_ / "missing").c_str(), 1);
  refused(kCannotCreateTemporarySet);
  SetVariableRoles(*data, 2, 1, VariableRole::kNeither);
  refused(kSolverNeedsRoles);
}

TEST_F(ProblemSolverTest, TwoClassThresholds) {
  auto data = GridData(true);
  ProblemSolverSettings settings;
  // A One-of-N output cannot have a ROC analysis: the defaults stay.
  auto one_of_n = MakeDesigned(DesignCode::kMlp, {2, 2, 2}, 1, 2);
  Engine().active_data_set = data.get();
  SetThresholds(Engine(), *one_of_n, OutputKind::kTwoClass, settings);
  EXPECT_EQ(std::pair(one_of_n->coding.accept, one_of_n->coding.reject), std::pair(0.0, 1.0));
  // A many-class problem takes the given thresholds, exactly.
  settings.accept = 0.625;
  settings.reject = 0.125;
  SetThresholds(Engine(), *one_of_n, OutputKind::kManyClass, settings);
  EXPECT_EQ(std::pair(one_of_n->coding.accept, one_of_n->coding.reject), std::pair(0.625, 0.125));
}

}  // namespace
}  // namespace tavrin::testing
