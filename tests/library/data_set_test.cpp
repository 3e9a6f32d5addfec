// Whole data sets through the library: the slot table, creating, copying and
// freeing, and the counts.

#include <cstdint>
#include <string>
#include <vector>

#include "data_set_snapshot.h"
#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxDataSetTest = LibraryTest;

TEST_F(NrxDataSetTest, ANewDataSetHoldsOneMissingTrainingCase) {
  const int32_t ds = NRXCreateDataSet(2, 1);
  ASSERT_EQ(ds, 0) << ErrorText();
  const DataSetSnapshot s = Snapshot(ds);
  // variables, inputs, outputs, cases, training, verification, test
  EXPECT_EQ(s.counts, (std::vector<int32_t>{3, 2, 1, 1, 1, 0, 0}));
  EXPECT_EQ(s.variable_names, (std::vector<std::string>{"VAR1", "VAR2", "VAR3"}));
  EXPECT_EQ(s.variable_types,
            (std::vector<int32_t>{NRX_VARIABLE_INPUT, NRX_VARIABLE_INPUT, NRX_VARIABLE_OUTPUT}));
  EXPECT_EQ(s.entries, std::vector<double>(3, NRXMissingValue()));
  EXPECT_EQ(s.case_names, std::vector<std::string>{""});
  EXPECT_EQ(s.case_types, std::vector<int32_t>{NRX_CASE_TRAINING});
  EXPECT_EQ(s.nominals, std::vector<std::vector<std::string>>(3));
}

TEST_F(NrxDataSetTest, OnlyInputsOrOnlyOutputsAreEnough) {
  const int32_t inputs_only = NRXCreateDataSet(4, 0);
  ASSERT_GE(inputs_only, 0) << ErrorText();
  EXPECT_EQ(DataCount(NRXGetDataNoOutputs, inputs_only), 0);
  const int32_t outputs_only = NRXCreateDataSet(0, 2);
  ASSERT_GE(outputs_only, 0) << ErrorText();
  EXPECT_EQ(DataCount(NRXGetDataNoInputs, outputs_only), 0);
  EXPECT_EQ(DataCount(NRXGetDataNoVariables, outputs_only), 2);
}

TEST_F(NrxDataSetTest, CreateRefusesCountsNoDataSetCanHave) {
  EXPECT_EQ(NRXCreateDataSet(-1, 1), -1);
  EXPECT_EQ(ErrorText(), "Number of inputs out of bounds");
  EXPECT_EQ(NRXCreateDataSet(1, -1), -1);
  EXPECT_EQ(ErrorText(), "Number of outputs out of bounds");
  EXPECT_EQ(NRXCreateDataSet(-1, -1), -1);
  EXPECT_EQ(ErrorText(), "Number of inputs out of bounds") << "inputs are checked first";
  EXPECT_EQ(NRXCreateDataSet(0, 0), -1);
  EXPECT_EQ(ErrorText(), "A Data Set must have at least one variable");
  // Beyond what the engine will hold: refused before anything is allocated.
  EXPECT_EQ(NRXCreateDataSet(INT32_MAX, INT32_MAX), -1);
  EXPECT_EQ(ErrorText(), "Not enough memory to perform operation");
  EXPECT_EQ(NRXCreateDataSet(1, 1), 0) << "no refused create may fill a slot";
}

TEST_F(NrxDataSetTest, SixtyFifthCreateFailsAndAFreedSlotIsReusedFirst) {
  for (int i = 0; i < kSlots; ++i) ASSERT_EQ(NRXCreateDataSet(1, 1), i) << ErrorText();
  EXPECT_EQ(NRXCreateDataSet(1, 1), -1);
  EXPECT_EQ(ErrorText(), "Too many Data Sets loaded");
  // "Too many" wins over bad arguments: the slot is looked for first.
  EXPECT_EQ(NRXCreateDataSet(-1, 0), -1);
  EXPECT_EQ(ErrorText(), "Too many Data Sets loaded");
  // Networks have their own table.
  EXPECT_EQ(Design{}.Create(), 0) << ErrorText();

  ASSERT_EQ(NRXFreeDataSet(5), 1);
  ASSERT_EQ(NRXFreeDataSet(9), 1);
  EXPECT_EQ(NRXCreateDataSet(2, 2), 5);
  EXPECT_EQ(NRXCopyDataSet(0), 9);
  EXPECT_EQ(NRXCopyDataSet(0), -1);
  EXPECT_EQ(ErrorText(), "Too many Data Sets loaded");
}

TEST_F(NrxDataSetTest, HandlesOutsideTheTableAndEmptySlotsAreRefused) {
  for (int32_t bad : {64, 65, -1, INT32_MIN, INT32_MAX}) {
    int32_t count = 77;
    EXPECT_EQ(NRXGetDataNoCases(bad, &count), 0);
    EXPECT_EQ(ErrorText(), "Data Set index out of range") << bad;
    EXPECT_EQ(count, 0) << "a failed count reads 0";
    EXPECT_EQ(NRXFreeDataSet(bad), 0);
    EXPECT_EQ(NRXCopyDataSet(bad), -1);
    EXPECT_EQ(ErrorText(), "Data Set index out of range") << bad;
  }
  int32_t count = 77;
  EXPECT_EQ(NRXGetDataNoVariables(3, &count), 0);
  EXPECT_EQ(ErrorText(), "No Data Set loaded with this index");
  EXPECT_EQ(count, 0);
  EXPECT_EQ(NRXFreeDataSet(3), 0);
  EXPECT_EQ(ErrorText(), "No Data Set loaded with this index");
  EXPECT_EQ(NRXCopyDataSet(3), -1);
  EXPECT_EQ(ErrorText(), "No Data Set loaded with this index");
}

TEST_F(NrxDataSetTest, EveryCountGetterRefusesANullArgument) {
  const int32_t ds = NRXCreateDataSet(1, 1);
  for (auto get :
       {NRXGetDataNoVariables, NRXGetDataNoInputs, NRXGetDataNoOutputs, NRXGetDataNoCases,
        NRXGetDataNoTraining, NRXGetDataNoVerification, NRXGetDataNoTest}) {
    MarkErrorText();
    EXPECT_EQ(get(ds, nullptr), 0);
    EXPECT_EQ(ErrorText(), "Output argument cannot be NULL");
    int32_t count = 77;
    EXPECT_EQ(get(ds + 1, &count), 0);
    EXPECT_EQ(count, 0);
  }
}

TEST_F(NrxDataSetTest, CountsFollowTheCaseAndVariableTypes) {
  const int32_t ds = MakeDataSet(2, 1, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {0, 0, 0}, {1, 1, 1}});
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 1, 2, NRX_CASE_VERIFICATION), 1);
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 3, 1, NRX_CASE_TEST), 1);
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 4, 1, NRX_CASE_IGNORED), 1);
  ASSERT_EQ(NRXSetDataVariableTypes(ds, 0, 1, NRX_VARIABLE_BOTH), 1);
  ASSERT_EQ(NRXSetDataVariableTypes(ds, 1, 1, NRX_VARIABLE_IGNORED), 1);
  // Ignored cases count nowhere; a variable of type both counts twice.
  EXPECT_EQ(Snapshot(ds).counts, (std::vector<int32_t>{3, 1, 2, 5, 1, 2, 1}));
}

TEST_F(NrxDataSetTest, ACopyIsDeepAndIndependent) {
  const int32_t ds = MakeDataSet(1, 1, {{1, 2}, {3, 4}});
  ASSERT_EQ(NRXSetDataVariableName(ds, 0, "height"), 1);
  ASSERT_EQ(NRXSetDataCaseName(ds, 1, "second"), 1);
  ASSERT_EQ(NRXSetDataNoNominals(ds, 1, 2), 1);
  ASSERT_EQ(NRXSetDataNominal(ds, 1, 0, "low"), 1);
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 0, 1, NRX_CASE_TEST), 1);
  const DataSetSnapshot original = Snapshot(ds);

  const int32_t copy = NRXCopyDataSet(ds);
  ASSERT_EQ(copy, 1) << ErrorText();
  EXPECT_EQ(Snapshot(copy), original);

  // Changing or freeing the original leaves the copy alone.
  ASSERT_EQ(NRXSetDataEntry(ds, 0, 0, 99.0), 1);
  ASSERT_EQ(NRXSetDataNominal(ds, 1, 0, "changed"), 1);
  ASSERT_EQ(NRXAddDataCases(ds, -1, 3), 1);
  ASSERT_EQ(NRXFreeDataSet(ds), 1);
  EXPECT_EQ(Snapshot(copy), original);
}

TEST_F(NrxDataSetTest, FreeEmptiesTheSlotOnce) {
  const int32_t ds = NRXCreateDataSet(1, 1);
  ASSERT_EQ(ds, 0);
  EXPECT_EQ(NRXFreeDataSet(ds), 1);
  EXPECT_EQ(NRXFreeDataSet(ds), 0);
  EXPECT_EQ(ErrorText(), "No Data Set loaded with this index");
  int32_t count = 0;
  EXPECT_EQ(NRXGetDataNoCases(ds, &count), 0);
}

}  // namespace
}  // namespace nrx_test
