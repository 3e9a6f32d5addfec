// The data set record: creation, case and variable edits, roles, subsets,
// shuffles, regrouping and sorting.

#include <gtest/gtest.h>

#include <algorithm>

#include "data/data_set.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

class DataSetTest : public EngineTest {};

int Count(const DataSet& d, Subset s) {
  return static_cast<int>(std::count(d.subset.begin(), d.subset.end(), static_cast<int>(s)));
}

void ExpectCountsInStep(const DataSet& d) {
  EXPECT_EQ(d.no_training, Count(d, Subset::kTraining));
  EXPECT_EQ(d.no_verification, Count(d, Subset::kVerification));
  EXPECT_EQ(d.no_test, Count(d, Subset::kTest));
  int inputs = 0, outputs = 0;
  for (int v = 0; v < d.no_variables; ++v) {
    inputs += d.is_input[v];
    outputs += d.is_output[v];
  }
  EXPECT_EQ(d.no_inputs, inputs);
  EXPECT_EQ(d.no_outputs, outputs);
}

TEST_F(DataSetTest, NewDataSetHasOneMissingTrainingCase) {
  auto d = CreateDataSet(2, 1);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->no_variables, 3);
  EXPECT_EQ(d->no_cases, 1);
  EXPECT_EQ(d->no_training, 1);
  EXPECT_EQ(d->case_capacity, 256);
  EXPECT_EQ(d->variable_names, (std::vector<std::string>{"VAR1", "VAR2", "VAR3"}));
  for (int v = 0; v < 3; ++v) EXPECT_TRUE(IsMissing(d->at(0, v)));
  EXPECT_EQ(d->role(0), VariableRole::kInput);
  EXPECT_EQ(d->role(2), VariableRole::kOutput);
  EXPECT_EQ(d->host_attributes[0].display_width, 8);
  EXPECT_EQ(d->host_attributes[0].decimals, 3);
  EXPECT_TRUE(IsMissing(d->host_attributes[0].missing_code));
}

TEST_F(DataSetTest, AddedCasesGrowTheCapacityAndTakeTheSubsetBefore) {
  auto d = CreateDataSet(1, 1);
  SetCaseSubsets(*d, 0, 1, Subset::kTest);
  ASSERT_TRUE(ResizeCases(*d, 1, 300));
  EXPECT_EQ(d->no_cases, 301);
  EXPECT_GE(d->case_capacity, 301);
  EXPECT_EQ(d->no_test, 301);
  // At position 0 new cases are training.
  ASSERT_TRUE(ResizeCases(*d, 0, 2));
  EXPECT_EQ(d->subset[0], 0);
  EXPECT_EQ(d->no_training, 2);
  EXPECT_TRUE(IsMissing(d->at(0, 0)));
  ExpectCountsInStep(*d);
}

TEST_F(DataSetTest, DeletingCasesKeepsCountsAndRefusesAll) {
  auto d = CreateDataSet(1, 1);
  ASSERT_TRUE(ResizeCases(*d, 1, 4));
  for (int c = 0; c < 5; ++c) d->at(c, 0) = c;
  SetCaseSubsets(*d, 3, 2, Subset::kVerification);
  ASSERT_TRUE(ResizeCases(*d, 4, -1));  // the last case
  EXPECT_EQ(d->no_cases, 4);
  EXPECT_EQ(d->at(3, 0), 3.0);
  EXPECT_EQ(d->no_verification, 1);
  EXPECT_FALSE(ResizeCases(*d, 0, -4));
  EXPECT_EQ(last_message(), "Cannot Cut all cases");
  EXPECT_EQ(d->no_cases, 4);
  ExpectCountsInStep(*d);
}

TEST_F(DataSetTest, CaseLimitIsRefusedBeforeAnyAllocation) {
  auto d = CreateDataSet(1, 0);
  EXPECT_FALSE(ResizeCases(*d, 1, 0x20000000));
  EXPECT_EQ(last_message(), "Cannot create any more cases: maximum (536870912) reached");
  EXPECT_EQ(d->no_cases, 1);
  // Within the limit but beyond what the engine holds: memory, unchanged.
  auto wide = CreateDataSet(100, 0);
  EXPECT_FALSE(ResizeCases(*wide, 1, 0x1FFFFFFF));
  EXPECT_EQ(last_message(), "Not enough memory to perform operation");
  EXPECT_EQ(wide->no_cases, 1);
}

TEST_F(DataSetTest, VariablesInsertedAndDeletedKeepTheirColumns) {
  auto d = CreateDataSet(2, 1);
  ASSERT_TRUE(ResizeCases(*d, 1, 1));
  for (int c = 0; c < 2; ++c) {
    for (int v = 0; v < 3; ++v) d->at(c, v) = 10 * c + v;
  }
  ASSERT_TRUE(ResizeDataVariables(*d, 1, 2));
  EXPECT_EQ(d->no_variables, 5);
  EXPECT_EQ(d->variable_names[1], "VAR2");
  EXPECT_EQ(d->variable_names[2], "VAR3");
  EXPECT_EQ(d->at(1, 0), 10.0);
  EXPECT_TRUE(IsMissing(d->at(1, 1)));
  EXPECT_EQ(d->at(1, 3), 11.0);
  EXPECT_EQ(d->at(1, 4), 12.0);
  // Inserted after an input they are inputs.
  EXPECT_EQ(d->role(1), VariableRole::kInput);
  ExpectCountsInStep(*d);

  ASSERT_TRUE(ResizeDataVariables(*d, 0, -3));
  EXPECT_EQ(d->no_variables, 2);
  EXPECT_EQ(d->at(1, 0), 11.0);
  EXPECT_EQ(d->at(1, 1), 12.0);
  ExpectCountsInStep(*d);
  EXPECT_FALSE(ResizeDataVariables(*d, 0, -2));
  EXPECT_EQ(last_message(), "Cannot remove all variables from Data Set");
}

TEST_F(DataSetTest, RolesAndSubsetsKeepTheirCounts) {
  auto d = CreateDataSet(2, 1);
  SetVariableRoles(*d, 0, 1, VariableRole::kBoth);
  EXPECT_EQ(d->no_inputs, 2);
  EXPECT_EQ(d->no_outputs, 2);
  SetVariableRoles(*d, 0, 3, VariableRole::kNeither);
  EXPECT_EQ(d->no_inputs, 0);
  EXPECT_EQ(d->no_outputs, 0);
  ASSERT_TRUE(ResizeCases(*d, 1, 3));
  SetCaseSubsets(*d, 0, 4, Subset::kIgnore);
  EXPECT_EQ(d->no_training + d->no_verification + d->no_test, 0);
  SetCaseSubsets(*d, 1, 2, Subset::kTest);
  ExpectCountsInStep(*d);
}

TEST_F(DataSetTest, NominalCountsKeepNamesAndAddNumberedOnes) {
  auto d = CreateDataSet(1, 1);
  ASSERT_TRUE(SetDataNoNominals(*d, 0, 2));
  d->nominals[0][0] = "red";
  ASSERT_TRUE(SetDataNoNominals(*d, 0, 4));
  EXPECT_EQ(d->nominals[0], (std::vector<std::string>{"red", "v2", "v3", "v4"}));
  ASSERT_TRUE(SetDataNoNominals(*d, 0, 1));
  EXPECT_EQ(d->nominals[0], (std::vector<std::string>{"red"}));
  ASSERT_TRUE(SetDataNoNominals(*d, 0, 0));
  EXPECT_TRUE(d->nominals[0].empty());
}

std::unique_ptr<DataSet> Labelled(const std::vector<Subset>& subsets) {
  auto d = CreateDataSet(1, 1);
  EXPECT_TRUE(ResizeCases(*d, 1, static_cast<int>(subsets.size()) - 1));
  for (std::size_t c = 0; c < subsets.size(); ++c) {
    SetCaseSubsets(*d, static_cast<int>(c), 1, subsets[c]);
    d->at(static_cast<int>(c), 0) = static_cast<double>(c);
    d->case_names[c] = "case" + std::to_string(c);
  }
  return d;
}

TEST_F(DataSetTest, ShufflesDealLabelsButKeepCountsAndRows) {
  using S = Subset;
  for (int mode = 0; mode <= 2; ++mode) {
    auto d = Labelled({S::kTraining, S::kTraining, S::kTraining, S::kVerification, S::kVerification,
                       S::kTest, S::kIgnore, S::kTest});
    const auto before = *d;
    ASSERT_TRUE(ShuffleSubsets(*d, mode, Engine().random, 0));
    EXPECT_EQ(d->no_training, 3);
    EXPECT_EQ(d->no_verification, 2);
    EXPECT_EQ(d->no_test, 2);
    ExpectCountsInStep(*d);
    EXPECT_EQ(d->entries, before.entries) << "rows never move in mode " << mode;
    EXPECT_EQ(d->case_names, before.case_names);
    if (mode == 0) {
      // Test and ignored cases keep their labels.
      EXPECT_EQ(d->subset[5], 2);
      EXPECT_EQ(d->subset[6], 3);
      EXPECT_EQ(d->subset[7], 2);
    }
    if (mode == 1) {
      EXPECT_EQ(d->subset[6], 3);
    }
  }
}

TEST_F(DataSetTest, ShuffleModeTwoKeepsTheHistoryCasesIgnored) {
  using S = Subset;
  auto d = Labelled({S::kIgnore, S::kIgnore, S::kTraining, S::kTraining, S::kVerification,
                     S::kIgnore, S::kTest, S::kTraining});
  for (int round = 0; round < 20; ++round) {
    ASSERT_TRUE(ShuffleSubsets(*d, 2, Engine().random, 2));
    EXPECT_EQ(d->subset[0], 3);
    EXPECT_EQ(d->subset[1], 3);
    ExpectCountsInStep(*d);
  }
}

TEST_F(DataSetTest, ShuffleDrawsFromTheEngineGenerator) {
  using S = Subset;
  auto a = Labelled({S::kTraining, S::kTraining, S::kVerification, S::kVerification});
  auto b = CopyDataSet(*a);
  Engine().random.set_state(99);
  ASSERT_TRUE(ShuffleSubsets(*a, 0, Engine().random, 0));
  RandomGenerator same;
  same.set_state(99);
  // The same draws by hand: list (0,1,2,3), swap i with RandomIndex(4).
  std::vector<int> positions{0, 1, 2, 3};
  for (int i = 0; i < 4; ++i) std::swap(positions[i], positions[same.RandomIndex(4)]);
  std::vector<std::int32_t> expected(4);
  for (int i = 0; i < 4; ++i) expected[positions[i]] = i < 2 ? 0 : 1;
  EXPECT_EQ(a->subset, expected);
  EXPECT_EQ(Engine().random.state(), same.state());
}

TEST_F(DataSetTest, RegroupMovesRowsNamesAndLabelsTogether) {
  using S = Subset;
  auto d = Labelled({S::kIgnore, S::kTest, S::kTraining, S::kVerification, S::kTraining});
  ASSERT_TRUE(ShuffleSubsets(*d, 3, Engine().random, 0));
  EXPECT_EQ(d->subset, (std::vector<std::int32_t>{0, 0, 1, 2, 3}));
  EXPECT_EQ(d->at(0, 0), 2.0);
  EXPECT_EQ(d->at(1, 0), 4.0);
  EXPECT_EQ(d->at(2, 0), 3.0);
  EXPECT_EQ(d->at(4, 0), 0.0);
  EXPECT_EQ(d->case_names[1], "case4");
  EXPECT_EQ(d->case_names[4], "case0");
}

TEST_F(DataSetTest, CaseIndexVariableIsAddedOnce) {
  auto d = Labelled({Subset::kTraining, Subset::kTest, Subset::kTraining});
  ASSERT_TRUE(ShuffleSubsets(*d, 4, Engine().random, 0));
  ASSERT_TRUE(ShuffleSubsets(*d, 4, Engine().random, 0));
  EXPECT_EQ(d->no_variables, 3);
  EXPECT_EQ(d->variable_names[0], "NNINDEX");
  EXPECT_EQ(d->role(0), VariableRole::kNeither);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(d->at(c, 0), c + 1.0);
  ExpectCountsInStep(*d);
}

TEST_F(DataSetTest, SortMovesNamesAndSubsetsWithTheirRows) {
  auto d = Labelled({Subset::kTraining, Subset::kTest, Subset::kVerification});
  d->at(0, 1) = 3;
  d->at(1, 1) = 1;
  d->at(2, 1) = 2;
  ASSERT_TRUE(SortCases(*d, 1, true));
  EXPECT_EQ(d->at(0, 1), 1.0);
  EXPECT_EQ(d->at(1, 1), 2.0);
  EXPECT_EQ(d->at(2, 1), 3.0);
  EXPECT_EQ(d->case_names, (std::vector<std::string>{"case1", "case2", "case0"}));
  EXPECT_EQ(d->subset, (std::vector<std::int32_t>{2, 1, 0}));
  ASSERT_TRUE(SortCases(*d, 1, false));
  EXPECT_EQ(d->at(0, 1), 3.0);
}

TEST_F(DataSetTest, CopyIsDeepAndTight) {
  auto d = Labelled({Subset::kTraining, Subset::kTest});
  d->title = std::string(100, 't');
  auto copy = CopyDataSet(*d);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->case_capacity, 2);
  EXPECT_EQ(copy->title.size(), 80u);
  d->at(0, 0) = 42;
  d->case_names[0] = "changed";
  EXPECT_EQ(copy->at(0, 0), 0.0);
  EXPECT_EQ(copy->case_names[0], "case0");
}

}  // namespace
}  // namespace tavrin::testing
