// The data set record: creation, case and variable edits, roles, subsets,
// shuffles, regrouping and sorting.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <numeric>
#include <tuple>

#include "data/data_set.h"
#include "data/data_set_blocks.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

using S = Subset;
constexpr double M = MISSING;

class DataSetTest : public EngineTest {};

int Count(const DataSet& d, Subset s) {
  return static_cast<int>(std::count(d.subset.begin(), d.subset.end(), static_cast<int>(s)));
}

void ExpectCountsInStep(const DataSet& d) {
  EXPECT_EQ(std::tuple(d.no_training, d.no_verification, d.no_test, d.no_inputs, d.no_outputs),
            std::tuple(Count(d, S::kTraining), Count(d, S::kVerification), Count(d, S::kTest),
                       std::accumulate(d.is_input.begin(), d.is_input.end(), 0),
                       std::accumulate(d.is_output.begin(), d.is_output.end(), 0)));
}

// One input, one output; case c has entry c in column 0, name "case<c>" and
// the given subset.
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

std::vector<double> Column(const DataSet& d, int v) {
  std::vector<double> column;
  for (int c = 0; c < d.no_cases; ++c) column.push_back(d.at(c, v));
  return column;
}

TEST_F(DataSetTest, NewDataSetHasOneMissingTrainingCase) {
  auto d = CreateDataSet(2, 1);
  ASSERT_TRUE(d);
  EXPECT_EQ(std::tie(d->no_cases, d->no_training, d->case_capacity, d->variable_names, d->entries),
            std::tuple(1, 1, 256, std::vector<std::string>{"VAR1", "VAR2", "VAR3"},
                       std::vector<double>(3, M)));
  EXPECT_EQ(d->is_output, (std::vector<std::int32_t>{0, 0, 1}));
  ExpectCountsInStep(*d);
  EXPECT_EQ(d->host_attributes.size(), 3u);
  EXPECT_EQ(CreateDataSet(0, 2)->no_outputs, 2);  // one side is enough
  for (const auto& [inputs, outputs] :
       {std::pair{0, 0}, std::pair{-1, 2}, std::pair{INT_MAX, INT_MAX}}) {
    sink_.clear();
    EXPECT_EQ(CreateDataSet(inputs, outputs), nullptr);
    EXPECT_EQ(last_message(), kNotEnoughMemory);
  }
}

TEST_F(DataSetTest, InsertedCasesAreMissingAndTakeTheSubsetBefore) {
  auto d = Labelled({S::kTraining, S::kVerification});
  ASSERT_TRUE(ResizeCases(*d, 2, 2));  // after the verification case
  ASSERT_TRUE(ResizeCases(*d, 0, 1));  // at the start: training
  ASSERT_TRUE(ResizeCases(*d, 2, 1));  // after a training case
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{M, 0, M, 1, M, M}));
  EXPECT_EQ(d->subset, (std::vector<std::int32_t>{0, 0, 0, 1, 1, 1}));
  EXPECT_EQ(d->case_names, (std::vector<std::string>{"", "case0", "", "case1", "", ""}));
  ExpectCountsInStep(*d);
  // Past the capacity the table grows (the sanitiser sees a write past it).
  ASSERT_TRUE(ResizeCases(*d, 6, 300));
  EXPECT_EQ(d->no_verification, 303);
  d->at(305, 1) = 5.0;
}

TEST_F(DataSetTest, DeletedCasesTakeTheirRowsNamesAndCountsWithThem) {
  auto d = Labelled({S::kTraining, S::kTraining, S::kVerification, S::kTraining, S::kTest});
  ASSERT_TRUE(ResizeCases(*d, 4, -1));
  ASSERT_TRUE(ResizeCases(*d, 1, -2));
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{0, 3}));
  EXPECT_EQ(d->case_names, (std::vector<std::string>{"case0", "case3"}));
  ExpectCountsInStep(*d);
}

TEST_F(DataSetTest, VariablesInsertedTakeTheRoleBeforeThemAndDeletedTakeTheirColumns) {
  auto d = CreateDataSet(1, 1);
  d->at(0, 0) = 1.0;
  d->at(0, 1) = 2.0;
  ASSERT_TRUE(ResizeDataVariables(*d, 2, 1));  // after the output: output
  ASSERT_TRUE(ResizeDataVariables(*d, 0, 1));  // before the input: input
  ASSERT_TRUE(ResizeDataVariables(*d, 2, 2));  // after the input, before the output: input
  EXPECT_EQ(d->entries, (std::vector<double>{M, 1, M, M, 2, M}));
  // New variables are named by the place they were inserted at.
  EXPECT_EQ(d->variable_names,
            (std::vector<std::string>{"VAR1", "VAR1", "VAR3", "VAR4", "VAR2", "VAR3"}));
  EXPECT_EQ(d->is_output, (std::vector<std::int32_t>{0, 0, 0, 0, 1, 1}));
  ExpectCountsInStep(*d);

  ASSERT_TRUE(ResizeDataVariables(*d, 0, -3));
  EXPECT_EQ(d->entries, (std::vector<double>{M, 2, M}));
  EXPECT_EQ(d->variable_names, (std::vector<std::string>{"VAR4", "VAR2", "VAR3"}));
  ExpectCountsInStep(*d);
}

TEST_F(DataSetTest, RefusedEditsChangeNothing) {
  const struct {
    std::function<Status(DataSet&)> edit;
    std::string_view message;
  } rows[] = {
      {[](DataSet& d) { return ResizeCases(d, 4, 1); }, kCaseOutOfRange},
      {[](DataSet& d) { return ResizeCases(d, 0, -3); }, kCannotCutAllCases},
      {[](DataSet& d) { return ResizeCases(d, 1, 0x20000000 - 2); }, kTooManyCases},
      {[](DataSet& d) { return ResizeDataVariables(d, 3, 1); }, kVariableOutOfRange},
      {[](DataSet& d) { return ResizeDataVariables(d, 0, -2); }, kCannotRemoveAllVariables},
      {[](DataSet& d) { return ResizeDataVariables(d, 0, 1 << 29); }, kNotEnoughMemory},
      {[](DataSet& d) { return SetDataNoNominals(d, 0, -1); }, kNominalCountOutOfRange},
      {[](DataSet& d) { return SetDataNoNominals(d, 0, (1 << 20) + 1); }, kNoMemoryForNominals},
      {[](DataSet& d) { return ShuffleSubsets(d, 5, Engine().random, 0); }, kShuffleModeOutOfRange},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    auto d = Labelled({S::kTraining, S::kVerification, S::kTest});
    const DataSet before = *d;
    sink_.clear();
    EXPECT_FALSE(row.edit(*d));
    EXPECT_EQ(last_message(), row.message);
    const auto contents = [](const DataSet& x) {
      return std::tie(x.entries, x.subset, x.variable_names, x.nominals, x.no_cases, x.no_variables,
                      x.case_capacity);
    };
    EXPECT_EQ(contents(*d), contents(before));
    ExpectCountsInStep(*d);
  }
  // Within the case limit but beyond what the engine holds: memory.
  auto wide = CreateDataSet(100, 0);
  EXPECT_FALSE(ResizeCases(*wide, 1, 0x1FFFFFFF));
  EXPECT_EQ(last_message(), kNotEnoughMemory);
  EXPECT_EQ(wide->no_cases, 1);
}

// ------------------------------------------------------------ orderings

TEST_F(DataSetTest, ShufflesDealLabelsButKeepCountsAndRows) {
  // Mode 0 deals training and verification labels, mode 1 test labels too,
  // mode 2 ignored ones too, except those of the history cases at the start.
  for (int mode = 0; mode <= 2; ++mode) {
    auto d = Labelled({S::kIgnore, S::kIgnore, S::kTraining, S::kTraining, S::kVerification,
                       S::kVerification, S::kTest, S::kIgnore, S::kTest});
    const DataSet before = *d;
    std::vector<bool> moved(9, false);
    for (int round = 0; round < 20; ++round) {
      ASSERT_TRUE(ShuffleSubsets(*d, mode, Engine().random, 1));
      EXPECT_EQ(std::tuple(d->no_training, d->no_verification, d->no_test), std::tuple(2, 2, 2));
      ExpectCountsInStep(*d);
      for (int c = 0; c < 9; ++c) moved[c] = moved[c] || d->subset[c] != before.subset[c];
    }
    EXPECT_EQ(std::tie(d->entries, d->case_names), std::tie(before.entries, before.case_names));
    EXPECT_FALSE(moved[0]) << "the history case, mode " << mode;
    EXPECT_TRUE(moved[2]) << "a training case, mode " << mode;
    EXPECT_EQ(moved[6] || moved[8], mode >= 1) << "the test cases, mode " << mode;
    EXPECT_EQ(moved[1], mode == 2) << "an ignored case after the history, mode " << mode;
    EXPECT_EQ(moved[7], mode == 2) << "an ignored case, mode " << mode;
  }
}

TEST_F(DataSetTest, ShuffleDealsByTheEngineGenerator) {
  auto d = Labelled({S::kTraining, S::kTraining, S::kVerification, S::kVerification});
  Engine().random.set_state(99);
  ASSERT_TRUE(ShuffleSubsets(*d, 0, Engine().random, 0));
  RandomGenerator same;
  same.set_state(99);
  // The same draws by hand: list (0,1,2,3), swap i with RandomIndex(4).
  std::vector<int> positions{0, 1, 2, 3};
  for (int i = 0; i < 4; ++i) std::swap(positions[i], positions[same.RandomIndex(4)]);
  std::vector<std::int32_t> expected(4);
  for (int i = 0; i < 4; ++i) expected[positions[i]] = i < 2 ? 0 : 1;
  EXPECT_EQ(d->subset, expected);
  EXPECT_EQ(Engine().random.state(), same.state());
}

TEST_F(DataSetTest, RegroupMovesRowsNamesAndLabelsTogetherInSubsetOrder) {
  auto d = Labelled({S::kIgnore, S::kTest, S::kTraining, S::kVerification, S::kTraining});
  ASSERT_TRUE(ShuffleSubsets(*d, 3, Engine().random, 0));
  EXPECT_EQ(d->subset, (std::vector<std::int32_t>{0, 0, 1, 2, 3}));
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{2, 4, 3, 1, 0}));
  EXPECT_EQ(d->case_names, (std::vector<std::string>{"case2", "case4", "case3", "case1", "case0"}));
  ExpectCountsInStep(*d);
}

TEST_F(DataSetTest, CaseIndexVariableIsAddedOnce) {
  auto d = Labelled({S::kTraining, S::kTest, S::kTraining});
  ASSERT_TRUE(ShuffleSubsets(*d, 4, Engine().random, 0));
  ASSERT_TRUE(ShuffleSubsets(*d, 4, Engine().random, 0));
  EXPECT_EQ(d->variable_names, (std::vector<std::string>{"NNINDEX", "VAR1", "VAR2"}));
  EXPECT_EQ(d->role(0), VariableRole::kNeither);
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Column(*d, 1), (std::vector<double>{0, 1, 2}));
  ExpectCountsInStep(*d);
}

TEST_F(DataSetTest, SortMovesNamesAndSubsetsWithTheirRowsAndPutsNaNLast) {
  auto d = Labelled({S::kTraining, S::kTest, S::kVerification, S::kTraining});
  const double nan = std::nan("");
  const std::vector<double> values = {0.5, nan, -1.0, M};
  for (int c = 0; c < 4; ++c) d->at(c, 1) = values[c];
  ASSERT_TRUE(SortCases(*d, 1, true));
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{2, 3, 0, 1}));  // -1, missing, 0.5, NaN
  EXPECT_EQ(d->case_names, (std::vector<std::string>{"case2", "case3", "case0", "case1"}));
  EXPECT_EQ(d->subset, (std::vector<std::int32_t>{1, 0, 0, 2}));
  ASSERT_TRUE(SortCases(*d, 1, false));
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{0, 3, 2, 1}));  // 0.5, missing, -1, NaN
  ExpectCountsInStep(*d);
}

TEST_F(DataSetTest, BlocksOfCasesMoveAndCopyWithTheirNamesAndSubsets) {
  // Cases 0..3 (T V X T); the block 1..2 goes before case 0, then a copy of
  // cases 2..3 (now 0 and 3) goes to the end.
  auto d = Labelled({S::kTraining, S::kVerification, S::kTest, S::kTraining});
  ASSERT_TRUE(MoveCases(*d, 1, 2, 0));
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{1, 2, 0, 3}));
  ASSERT_TRUE(CopyCases(*d, 2, 2, 4));
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{1, 2, 0, 3, 0, 3}));
  EXPECT_EQ(d->case_names[4], "case0");
  EXPECT_EQ(d->subset, (std::vector<std::int32_t>{1, 2, 0, 0, 0, 0}));
  ExpectCountsInStep(*d);
  // Moving a block to its own place or just after itself changes nothing.
  ASSERT_TRUE(MoveCases(*d, 1, 2, 3));
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{1, 2, 0, 3, 0, 3}));
  for (const auto& [first, count, position] :
       {std::tuple(-1, 1, 0), std::tuple(5, 2, 0), std::tuple(0, 0, 0), std::tuple(0, 1, 7)}) {
    EXPECT_FALSE(MoveCases(*d, first, count, position));
    EXPECT_FALSE(CopyCases(*d, first, count, position));
  }
  EXPECT_EQ(d->no_cases, 6);
}

TEST_F(DataSetTest, BlocksOfVariablesMoveAndCopyWithTheirNominalsAndRoles) {
  auto d = Labelled({S::kTraining, S::kTraining});  // VAR1 input 0 1, VAR2 output
  ASSERT_TRUE(SetDataNoNominals(*d, 1, 2));
  d->at(0, 1) = 2;
  ASSERT_TRUE(MoveDataVariables(*d, 1, 1, 0));
  EXPECT_EQ(d->variable_names, (std::vector<std::string>{"VAR2", "VAR1"}));
  EXPECT_EQ(d->role(0), VariableRole::kOutput);
  EXPECT_EQ(d->nominals[0].size(), 2u);
  ASSERT_TRUE(CopyDataVariables(*d, 0, 2, 1));  // both, after the first
  EXPECT_EQ(d->variable_names, (std::vector<std::string>{"VAR2", "VAR2", "VAR1", "VAR1"}));
  EXPECT_EQ(std::vector<double>(d->row(0), d->row(0) + 4), (std::vector<double>{2, 2, 0, 0}));
  EXPECT_EQ(std::vector<double>(d->row(1), d->row(1) + 4), (std::vector<double>{M, M, 1, 1}));
  EXPECT_EQ(d->nominals[1].size(), 2u);
  ExpectCountsInStep(*d);
  EXPECT_EQ(std::tuple(d->no_inputs, d->no_outputs), std::tuple(2, 2));
  // Deleting the first nominal value: its case becomes missing, the
  // second's number falls to 1.
  d->at(1, 0) = 1;
  ASSERT_TRUE(DeleteNominalValue(*d, 0, 0));
  EXPECT_EQ(Column(*d, 0), (std::vector<double>{1, M}));
  EXPECT_FALSE(DeleteNominalValue(*d, 0, 1));
  // Row 1 has missing entries, in the first two variables only.
  IgnoreCasesWithMissing(*d);
  EXPECT_EQ(d->subset, (std::vector<std::int32_t>{0, 3}));
  IgnoreVariablesWithMissing(*d);
  EXPECT_EQ(d->is_output, (std::vector<std::int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(d->is_input, (std::vector<std::int32_t>{0, 0, 1, 1}));
  ExpectCountsInStep(*d);
  EXPECT_FALSE(CopyDataVariables(*d, 3, 2, 0));
  EXPECT_FALSE(MoveDataVariables(*d, 0, 1, 5));
  EXPECT_EQ(d->no_variables, 4);
}

}  // namespace
}  // namespace tavrin::testing
