// Changing a data set's shape through the library: inserting and deleting
// cases and variables, case and variable types, shuffling and sorting.

#include <algorithm>
#include <string>
#include <vector>

#include "data_set_snapshot.h"
#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxDataEditTest = LibraryTest;

std::vector<double> Column(int32_t ds, int32_t variable) {
  std::vector<double> column;
  for (int32_t c = 0; c < DataCount(NRXGetDataNoCases, ds); ++c) {
    column.push_back(Entry(ds, c, variable));
  }
  return column;
}

std::vector<int32_t> CaseTypes(int32_t ds) {
  return Snapshot(ds).case_types;
}

TEST_F(NrxDataEditTest, InsertedCasesAreMissingAndTakeTheTypeBeforeThem) {
  const int32_t ds = MakeDataSet(1, 1, {{1, 10}, {2, 20}});
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 1, 1, NRX_CASE_VERIFICATION), 1);
  ASSERT_EQ(NRXAddDataCases(ds, -1, 2), 1);  // after the verification case
  ASSERT_EQ(NRXAddDataCases(ds, 0, 1), 1);   // at the start: training
  ASSERT_EQ(NRXAddDataCases(ds, 2, 1), 1);   // before case 2, after a training case
  const double m = NRXMissingValue();
  EXPECT_EQ(Column(ds, 0), (std::vector<double>{m, 1, m, 2, m, m}));
  EXPECT_EQ(CaseTypes(ds), (std::vector<int32_t>{0, 0, 0, 1, 1, 1}));
  EXPECT_EQ(DataCount(NRXGetDataNoTraining, ds), 3);
  EXPECT_EQ(DataCount(NRXGetDataNoVerification, ds), 3);
}

TEST_F(NrxDataEditTest, ManyCasesGrowTheTable) {
  const int32_t ds = NRXCreateDataSet(2, 1);
  ASSERT_EQ(NRXAddDataCases(ds, -1, 300), 1) << ErrorText();
  EXPECT_EQ(DataCount(NRXGetDataNoCases, ds), 301);
  ASSERT_EQ(NRXSetDataEntry(ds, 300, 2, 5.0), 1);
  EXPECT_EQ(Entry(ds, 300, 2), 5.0);
}

TEST_F(NrxDataEditTest, AddCasesRefusesBadPositionsAndCountsAndChangesNothing) {
  const int32_t ds = MakeDataSet(1, 1, {{1, 10}, {2, 20}});
  const DataSetSnapshot before = Snapshot(ds);
  EXPECT_EQ(NRXAddDataCases(ds, 2, 1), 0) << "-1, not the case count, appends";
  EXPECT_EQ(ErrorText(), "Case number out of range");
  EXPECT_EQ(NRXAddDataCases(ds, -2, 1), 0);
  EXPECT_EQ(ErrorText(), "Case number out of range");
  EXPECT_EQ(NRXAddDataCases(ds, 0, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of cases out of range");
  EXPECT_EQ(NRXAddDataCases(ds, -1, -3), 0);
  EXPECT_EQ(ErrorText(), "Number of cases out of range");
  EXPECT_EQ(NRXAddDataCases(ds, -1, INT32_MAX), 0);
  EXPECT_EQ(ErrorText(), "Cannot create any more cases: maximum (536870912) reached");
  EXPECT_EQ(Snapshot(ds), before);
}

TEST_F(NrxDataEditTest, DeletingCasesFromAPositionOrFromTheEnd) {
  const int32_t ds = MakeDataSet(1, 0, {{0}, {1}, {2}, {3}, {4}});
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 4, 1, NRX_CASE_TEST), 1);
  ASSERT_EQ(NRXDeleteDataCases(ds, -1, 1), 1);
  EXPECT_EQ(Column(ds, 0), (std::vector<double>{0, 1, 2, 3}));
  EXPECT_EQ(DataCount(NRXGetDataNoTest, ds), 0) << "the deleted case's type is uncounted";
  ASSERT_EQ(NRXDeleteDataCases(ds, 1, 2), 1);
  EXPECT_EQ(Column(ds, 0), (std::vector<double>{0, 3}));
  EXPECT_EQ(DataCount(NRXGetDataNoTraining, ds), 2);
}

TEST_F(NrxDataEditTest, DeleteCasesRefusesAndChangesNothing) {
  const int32_t ds = MakeDataSet(1, 0, {{0}, {1}, {2}});
  const DataSetSnapshot before = Snapshot(ds);
  EXPECT_EQ(NRXDeleteDataCases(ds, 3, 1), 0);
  EXPECT_EQ(ErrorText(), "Case number out of range");
  EXPECT_EQ(NRXDeleteDataCases(ds, -2, 1), 0);
  EXPECT_EQ(ErrorText(), "Case number out of range");
  EXPECT_EQ(NRXDeleteDataCases(ds, 0, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of Cases out of range");
  EXPECT_EQ(NRXDeleteDataCases(ds, 2, 2), 0);
  EXPECT_EQ(ErrorText(), "Number of Cases out of range");
  EXPECT_EQ(NRXDeleteDataCases(ds, -1, 4), 0);
  EXPECT_EQ(ErrorText(), "Number of Cases out of range");
  EXPECT_EQ(NRXDeleteDataCases(ds, -1, INT32_MIN), 0);
  EXPECT_EQ(ErrorText(), "Number of Cases out of range");
  EXPECT_EQ(NRXDeleteDataCases(ds, 0, 3), 0);
  EXPECT_EQ(ErrorText(), "Cannot Cut all cases");
  EXPECT_EQ(NRXDeleteDataCases(ds, -1, 3), 0);
  EXPECT_EQ(ErrorText(), "Cannot Cut all cases");
  EXPECT_EQ(Snapshot(ds), before);
}

TEST_F(NrxDataEditTest, InsertedVariablesTakeTheTypeOfTheVariableBeforeThem) {
  // Types: input, output.
  const int32_t ds = MakeDataSet(1, 1, {{1, 2}});
  ASSERT_EQ(NRXAddDataVariables(ds, -1, 1), 1);  // after the output: output
  ASSERT_EQ(NRXAddDataVariables(ds, 0, 1), 1);   // before the input: input
  ASSERT_EQ(NRXAddDataVariables(ds, 2, 2), 1);   // after the input, before the output: input
  const DataSetSnapshot s = Snapshot(ds);
  EXPECT_EQ(s.variable_types, (std::vector<int32_t>{0, 0, 0, 0, 1, 1}));
  EXPECT_EQ(s.counts[1], 4);
  EXPECT_EQ(s.counts[2], 2);
  // New variables are named by the position they were inserted at; the old
  // ones keep their names.
  EXPECT_EQ(s.variable_names,
            (std::vector<std::string>{"VAR1", "VAR1", "VAR3", "VAR4", "VAR2", "VAR3"}));
  const double m = NRXMissingValue();
  EXPECT_EQ(s.entries, (std::vector<double>{m, 1, m, m, 2, m}));
}

TEST_F(NrxDataEditTest, AddVariablesRefusesAndChangesNothing) {
  const int32_t ds = MakeDataSet(1, 1, {{1, 2}});
  const DataSetSnapshot before = Snapshot(ds);
  EXPECT_EQ(NRXAddDataVariables(ds, 2, 1), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(NRXAddDataVariables(ds, -2, 1), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(NRXAddDataVariables(ds, 0, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of variables out of range");
  EXPECT_EQ(NRXAddDataVariables(ds, 0, INT32_MAX), 0);
  EXPECT_EQ(ErrorText(), "Not enough memory to perform operation");
  EXPECT_EQ(NRXAddDataVariables(ds, 0, 0x7FFFFF00), 0);
  EXPECT_EQ(ErrorText(), "Not enough memory to perform operation");
  EXPECT_EQ(Snapshot(ds), before);
}

TEST_F(NrxDataEditTest, DeletingVariablesKeepsTheCountsInStep) {
  const int32_t ds = MakeDataSet(2, 2, {{1, 2, 3, 4}});
  ASSERT_EQ(NRXDeleteDataVariables(ds, -1, 1), 1);
  ASSERT_EQ(NRXDeleteDataVariables(ds, 0, 1), 1);
  const DataSetSnapshot s = Snapshot(ds);
  EXPECT_EQ(s.entries, (std::vector<double>{2, 3}));
  EXPECT_EQ(s.variable_names, (std::vector<std::string>{"VAR2", "VAR3"}));
  EXPECT_EQ(s.counts[1], 1);
  EXPECT_EQ(s.counts[2], 1);

  const DataSetSnapshot before = Snapshot(ds);
  EXPECT_EQ(NRXDeleteDataVariables(ds, 2, 1), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(NRXDeleteDataVariables(ds, 1, 2), 0);
  EXPECT_EQ(ErrorText(), "Number of variables out of range");
  EXPECT_EQ(NRXDeleteDataVariables(ds, 0, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of variables out of range");
  EXPECT_EQ(NRXDeleteDataVariables(ds, -1, 3), 0);
  EXPECT_EQ(ErrorText(), "Number of variables out of range");
  EXPECT_EQ(NRXDeleteDataVariables(ds, -1, 2), 0);
  EXPECT_EQ(ErrorText(), "Cannot remove all variables from Data Set");
  EXPECT_EQ(Snapshot(ds), before);
}

TEST_F(NrxDataEditTest, CaseTypesKeepTheCountsInStep) {
  const int32_t ds = MakeDataSet(1, 0, {{0}, {1}, {2}, {3}});
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 0, 4, NRX_CASE_IGNORED), 1);
  EXPECT_EQ(DataCount(NRXGetDataNoTraining, ds), 0);
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 1, 2, NRX_CASE_TEST), 1);
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 2, 2, NRX_CASE_VERIFICATION), 1);
  EXPECT_EQ(CaseTypes(ds), (std::vector<int32_t>{3, 2, 1, 1}));
  EXPECT_EQ(Snapshot(ds).counts, (std::vector<int32_t>{1, 1, 0, 4, 0, 2, 1}));

  const DataSetSnapshot before = Snapshot(ds);
  int32_t code = 9;
  EXPECT_EQ(NRXGetDataCaseType(ds, 4, &code), 0);
  EXPECT_EQ(ErrorText(), "Case number out of range");
  EXPECT_EQ(code, 9);
  EXPECT_EQ(NRXGetDataCaseType(ds, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Output argument cannot be NULL");
  EXPECT_EQ(NRXSetDataCaseTypes(ds, 4, 1, 0), 0);
  EXPECT_EQ(ErrorText(), "Case number out of range");
  EXPECT_EQ(NRXSetDataCaseTypes(ds, 3, 2, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of Cases out of range");
  EXPECT_EQ(NRXSetDataCaseTypes(ds, 0, 0, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of Cases out of range");
  EXPECT_EQ(NRXSetDataCaseTypes(ds, 0, 1, 4), 0);
  EXPECT_EQ(ErrorText(), "Case type out of range");
  EXPECT_EQ(NRXSetDataCaseTypes(ds, 0, 1, -1), 0);
  EXPECT_EQ(ErrorText(), "Case type out of range");
  EXPECT_EQ(Snapshot(ds), before);
}

TEST_F(NrxDataEditTest, VariableTypeBothCountsAsInputAndOutput) {
  const int32_t ds = NRXCreateDataSet(2, 1);
  // Variable 0 stops being an input and becomes both: one more output.
  ASSERT_EQ(NRXSetDataVariableTypes(ds, 0, 1, NRX_VARIABLE_BOTH), 1);
  EXPECT_EQ(DataCount(NRXGetDataNoInputs, ds), 2);
  EXPECT_EQ(DataCount(NRXGetDataNoOutputs, ds), 2);
  ASSERT_EQ(NRXSetDataVariableTypes(ds, 2, 1, NRX_VARIABLE_BOTH), 1);
  EXPECT_EQ(DataCount(NRXGetDataNoInputs, ds), 3);
  EXPECT_EQ(DataCount(NRXGetDataNoOutputs, ds), 2);
  ASSERT_EQ(NRXSetDataVariableTypes(ds, 0, 3, NRX_VARIABLE_IGNORED), 1);
  EXPECT_EQ(DataCount(NRXGetDataNoInputs, ds), 0);
  EXPECT_EQ(DataCount(NRXGetDataNoOutputs, ds), 0);

  const DataSetSnapshot before = Snapshot(ds);
  int32_t code = 9;
  EXPECT_EQ(NRXGetDataVariableType(ds, 3, &code), 0);
  EXPECT_EQ(ErrorText(), "Case number out of range") << "this getter's own text";
  EXPECT_EQ(NRXSetDataVariableTypes(ds, 3, 1, 0), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(NRXSetDataVariableTypes(ds, 1, 3, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of Variables out of range");
  EXPECT_EQ(NRXSetDataVariableTypes(ds, 0, -1, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of Variables out of range");
  EXPECT_EQ(NRXSetDataVariableTypes(ds, 0, 1, 4), 0);
  EXPECT_EQ(ErrorText(), "Variable type out of range");
  EXPECT_EQ(Snapshot(ds), before);
}

// Cases 0-2 training, 3-4 verification, 5 test, 6 ignored; entry = case number.
int32_t MakeMixedCases() {
  const int32_t ds = MakeDataSet(1, 0, {{0}, {1}, {2}, {3}, {4}, {5}, {6}});
  EXPECT_EQ(NRXSetDataCaseTypes(ds, 3, 2, NRX_CASE_VERIFICATION), 1);
  EXPECT_EQ(NRXSetDataCaseTypes(ds, 5, 1, NRX_CASE_TEST), 1);
  EXPECT_EQ(NRXSetDataCaseTypes(ds, 6, 1, NRX_CASE_IGNORED), 1);
  return ds;
}

TEST_F(NrxDataEditTest, ShuffleModesZeroAndOneDealTypesWithoutMovingRows) {
  const int32_t ds = MakeMixedCases();
  const std::vector<int32_t> counts = Snapshot(ds).counts;
  bool test_moved = false;
  for (int round = 0; round < 20; ++round) {
    const std::vector<int32_t> before = CaseTypes(ds);
    ASSERT_EQ(NRXShuffleDataSet(ds, 0), 1);
    std::vector<int32_t> types = CaseTypes(ds);
    EXPECT_EQ(Snapshot(ds).counts, counts);
    for (std::size_t c = 0; c < types.size(); ++c) {
      if (before[c] >= NRX_CASE_TEST) {
        EXPECT_EQ(types[c], before[c]) << "mode 0 moved case " << c;
      }
    }
    ASSERT_EQ(NRXShuffleDataSet(ds, 1), 1);
    types = CaseTypes(ds);
    EXPECT_EQ(Snapshot(ds).counts, counts);
    EXPECT_EQ(types[6], NRX_CASE_IGNORED) << "mode 1 leaves ignored cases alone";
    test_moved = test_moved || types[5] != NRX_CASE_TEST;
  }
  EXPECT_TRUE(test_moved) << "twenty deals never moved the test type";
  EXPECT_EQ(Column(ds, 0), (std::vector<double>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(NrxDataEditTest, ShuffleModeThreeRegroupsRowsByType) {
  const int32_t ds = MakeMixedCases();
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 0, 1, NRX_CASE_IGNORED), 1);
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 6, 1, NRX_CASE_TRAINING), 1);
  ASSERT_EQ(NRXSetDataCaseName(ds, 6, "six"), 1);
  ASSERT_EQ(NRXShuffleDataSet(ds, 3), 1);
  // Training 1 2 6, verification 3 4, test 5, ignored 0; order kept inside.
  EXPECT_EQ(Column(ds, 0), (std::vector<double>{1, 2, 6, 3, 4, 5, 0}));
  EXPECT_EQ(CaseTypes(ds), (std::vector<int32_t>{0, 0, 0, 1, 1, 2, 3}));
  char buffer[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXGetDataCaseName(ds, 2, buffer), 1);
  EXPECT_STREQ(buffer, "six");
}

TEST_F(NrxDataEditTest, ShuffleModeFourAddsTheCaseIndexOnce) {
  const int32_t ds = MakeDataSet(1, 1, {{5, 6}, {7, 8}, {9, 10}});
  ASSERT_EQ(NRXShuffleDataSet(ds, 4), 1);
  ASSERT_EQ(NRXShuffleDataSet(ds, 4), 1);
  const DataSetSnapshot s = Snapshot(ds);
  EXPECT_EQ(s.variable_names, (std::vector<std::string>{"NNINDEX", "VAR1", "VAR2"}));
  EXPECT_EQ(s.variable_types,
            (std::vector<int32_t>{NRX_VARIABLE_IGNORED, NRX_VARIABLE_INPUT, NRX_VARIABLE_OUTPUT}));
  EXPECT_EQ(Column(ds, 0), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Column(ds, 1), (std::vector<double>{5, 7, 9}));
}

TEST_F(NrxDataEditTest, ShuffleRefusesUnknownModes) {
  const int32_t ds = MakeMixedCases();
  const DataSetSnapshot before = Snapshot(ds);
  for (int32_t mode : {-1, 5, 100}) {
    EXPECT_EQ(NRXShuffleDataSet(ds, mode), 0);
    EXPECT_EQ(ErrorText(), "Shuffle mode out of range");
  }
  EXPECT_EQ(NRXShuffleDataSet(ds + 1, 0), 0);
  EXPECT_EQ(ErrorText(), "No Data Set loaded with this index");
  EXPECT_EQ(Snapshot(ds), before);
}

// Cases 0 and 1 ignored (the history a network of 2 steps and lookahead 1
// needs), cases 2-9 training.
int32_t MakeSeriesCases() {
  const int32_t ds = MakeDataSet(1, 1, std::vector<std::vector<double>>(10, {1, 2}));
  EXPECT_EQ(NRXSetDataCaseTypes(ds, 0, 2, NRX_CASE_IGNORED), 1);
  return ds;
}

bool HistoryStaysIgnoredOverShuffles(int32_t ds) {
  for (int round = 0; round < 20; ++round) {
    EXPECT_EQ(NRXShuffleDataSet(ds, 2), 1);
    const std::vector<int32_t> types = CaseTypes(ds);
    if (types[0] != NRX_CASE_IGNORED || types[1] != NRX_CASE_IGNORED) return false;
  }
  return true;
}

TEST_F(NrxDataEditTest, ShuffleModeTwoHoldsBackTheActiveNetworksHistory) {
  Design d;
  d.steps = 2;
  d.lookahead = 1;
  const int32_t net = d.Create();  // creating makes it the active network
  ASSERT_GE(net, 0) << ErrorText();
  const int32_t ds = MakeSeriesCases();
  EXPECT_TRUE(HistoryStaysIgnoredOverShuffles(ds));
  EXPECT_EQ(DataCount(NRXGetDataNoTraining, ds), 8);

  // Once the network is freed there is no active network and nothing is
  // held back (and nothing reads the freed network).
  ASSERT_EQ(NRXFreeNetwork(net), 1);
  EXPECT_FALSE(HistoryStaysIgnoredOverShuffles(ds));
  EXPECT_EQ(DataCount(NRXGetDataNoTraining, ds), 8);
}

TEST_F(NrxDataEditTest, ShuffleModeTwoWithoutAnyNetworkDealsEveryCase) {
  EXPECT_FALSE(HistoryStaysIgnoredOverShuffles(MakeSeriesCases()));
}

TEST_F(NrxDataEditTest, SortingMovesNamesAndTypesWithTheirCases) {
  const int32_t ds = MakeDataSet(1, 1, {{3, 30}, {1, 10}, {2, 20}});
  ASSERT_EQ(NRXSetDataCaseName(ds, 1, "one"), 1);
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 2, 1, NRX_CASE_TEST), 1);
  ASSERT_EQ(NRXSortDataSet(ds, 0, 1), 1);
  EXPECT_EQ(Column(ds, 0), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Column(ds, 1), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(CaseTypes(ds), (std::vector<int32_t>{0, 2, 0}));
  char buffer[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXGetDataCaseName(ds, 0, buffer), 1);
  EXPECT_STREQ(buffer, "one");

  ASSERT_EQ(NRXSortDataSet(ds, 1, 0), 1);
  EXPECT_EQ(Column(ds, 0), (std::vector<double>{3, 2, 1}));
}

TEST_F(NrxDataEditTest, AMissingEntrySortsAsTheTinyNumberThatMarksIt) {
  const double m = NRXMissingValue();
  const int32_t ds = MakeDataSet(1, 0, {{0.5}, {m}, {-1}, {0}});
  ASSERT_EQ(NRXSortDataSet(ds, 0, 1), 1);
  EXPECT_EQ(Column(ds, 0), (std::vector<double>{-1, 0, m, 0.5}));
}

TEST_F(NrxDataEditTest, SortRefusesABadVariableWithTheDataSetIndexText) {
  const int32_t ds = MakeDataSet(1, 1, {{3, 30}, {1, 10}});
  const DataSetSnapshot before = Snapshot(ds);
  for (int32_t bad : {-1, 2}) {
    MarkErrorText();
    EXPECT_EQ(NRXSortDataSet(ds, bad, 1), 0);
    EXPECT_EQ(ErrorText(), "Data Set index out of range");
  }
  EXPECT_EQ(Snapshot(ds), before);
}

}  // namespace
}  // namespace nrx_test
