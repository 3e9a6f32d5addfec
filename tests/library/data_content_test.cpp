// What a data set holds, through the library: variable and case names, whole
// cases, single entries and nominal value names.

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "data_set_snapshot.h"
#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxDataContentTest = LibraryTest;

TEST_F(NrxDataContentTest, VariableNamesAreKeptClearedAndRefusedWhenTooLong) {
  const int32_t ds = NRXCreateDataSet(2, 1);
  char buffer[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXSetDataVariableName(ds, 1, "width"), 1);
  ASSERT_EQ(NRXGetDataVariableName(ds, 1, buffer), 1);
  EXPECT_STREQ(buffer, "width");

  const std::string longest(255, 'n');
  ASSERT_EQ(NRXSetDataVariableName(ds, 1, longest.c_str()), 1);
  ASSERT_EQ(NRXGetDataVariableName(ds, 1, buffer), 1);
  EXPECT_EQ(buffer, longest);
  const std::string too_long(256, 'n');
  EXPECT_EQ(NRXSetDataVariableName(ds, 1, too_long.c_str()), 0);
  EXPECT_EQ(ErrorText(), "Name too long: at most 255 characters");
  ASSERT_EQ(NRXGetDataVariableName(ds, 1, buffer), 1);
  EXPECT_EQ(buffer, longest) << "a refused name keeps the old one";

  ASSERT_EQ(NRXSetDataVariableName(ds, 1, nullptr), 1);
  ASSERT_EQ(NRXGetDataVariableName(ds, 1, buffer), 1);
  EXPECT_STREQ(buffer, "") << "a null name clears it";
}

TEST_F(NrxDataContentTest, NameGettersCheckInOrderAndLeaveTheEmptyTextOnFailure) {
  const int32_t ds = NRXCreateDataSet(2, 1);
  char buffer[NRX_NAME_BUFFER_SIZE];
  for (int32_t bad : {-1, 3}) {
    std::strcpy(buffer, "stale");
    EXPECT_EQ(NRXGetDataVariableName(ds, bad, buffer), 0);
    EXPECT_EQ(ErrorText(), "Variable number out of range");
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(NRXSetDataVariableName(ds, bad, "x"), 0);
    EXPECT_EQ(ErrorText(), "Variable number out of range");
  }
  for (int32_t bad : {-1, 1}) {
    std::strcpy(buffer, "stale");
    EXPECT_EQ(NRXGetDataCaseName(ds, bad, buffer), 0);
    EXPECT_EQ(ErrorText(), "Case number out of range");
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(NRXSetDataCaseName(ds, bad, "x"), 0);
    EXPECT_EQ(ErrorText(), "Case number out of range");
  }
  std::strcpy(buffer, "stale");
  EXPECT_EQ(NRXGetDataCaseName(ds + 1, 0, buffer), 0);
  EXPECT_EQ(ErrorText(), "No Data Set loaded with this index");
  EXPECT_STREQ(buffer, "");
  // The range check comes before the buffer check.
  EXPECT_EQ(NRXGetDataVariableName(ds, 5, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(NRXGetDataVariableName(ds, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "To retrieve a variable name you must allocate some space");
  EXPECT_EQ(NRXGetDataCaseName(ds, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "To retrieve a case name you must allocate some space");
}

TEST_F(NrxDataContentTest, CaseNamesFollowTheirCases) {
  const int32_t ds = MakeDataSet(1, 0, {{1}, {2}});
  char buffer[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXSetDataCaseName(ds, 1, "Tuesday"), 1);
  ASSERT_EQ(NRXGetDataCaseName(ds, 1, buffer), 1);
  EXPECT_STREQ(buffer, "Tuesday");
  ASSERT_EQ(NRXGetDataCaseName(ds, 0, buffer), 1);
  EXPECT_STREQ(buffer, "") << "an unnamed case";
  // Inserting before it moves the name along.
  ASSERT_EQ(NRXAddDataCases(ds, 0, 2), 1);
  ASSERT_EQ(NRXGetDataCaseName(ds, 3, buffer), 1);
  EXPECT_STREQ(buffer, "Tuesday");
  EXPECT_EQ(NRXSetDataCaseName(ds, 3, std::string(256, 'c').c_str()), 0);
  EXPECT_EQ(ErrorText(), "Name too long: at most 255 characters");
}

TEST_F(NrxDataContentTest, ACaseIsItsFirstInputsPlusOutputsEntries) {
  const int32_t ds = MakeDataSet(2, 1, {{1, 2, 3}, {4, 5, 6}});
  std::vector<double> values(4, -1.0);
  ASSERT_EQ(NRXGetDataCase(ds, 1, values.data()), 1);
  EXPECT_EQ(values, (std::vector<double>{4, 5, 6, -1}));

  const double replacement[] = {7, 8, 9};
  ASSERT_EQ(NRXSetDataCase(ds, 0, replacement), 1);
  EXPECT_EQ(Entry(ds, 0, 0), 7);
  EXPECT_EQ(Entry(ds, 0, 2), 9);

  // An ignored variable shortens the case to the first two columns, whatever
  // their types; a variable of type both cannot make it longer than a row.
  ASSERT_EQ(NRXSetDataVariableTypes(ds, 0, 1, NRX_VARIABLE_IGNORED), 1);
  values.assign(4, -1.0);
  ASSERT_EQ(NRXGetDataCase(ds, 1, values.data()), 1);
  EXPECT_EQ(values, (std::vector<double>{4, 5, -1, -1}));
  ASSERT_EQ(NRXSetDataVariableTypes(ds, 0, 3, NRX_VARIABLE_BOTH), 1);
  values.assign(4, -1.0);
  ASSERT_EQ(NRXGetDataCase(ds, 1, values.data()), 1);
  EXPECT_EQ(values, (std::vector<double>{4, 5, 6, -1}));
}

TEST_F(NrxDataContentTest, CaseAndEntryAccessRefusesBadNumbersAndNullArrays) {
  const int32_t ds = MakeDataSet(1, 1, {{1, 2}});
  const DataSetSnapshot before = Snapshot(ds);
  double values[2] = {5, 6};
  EXPECT_EQ(NRXGetDataCase(ds, 1, values), 0);
  EXPECT_EQ(ErrorText(), "Case number out of range");
  EXPECT_EQ(NRXSetDataCase(ds, -1, values), 0);
  EXPECT_EQ(ErrorText(), "Case number out of range");
  EXPECT_EQ(NRXGetDataCase(ds, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Output array cannot be NULL");
  EXPECT_EQ(NRXSetDataCase(ds, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Input array cannot be NULL");

  double value = 42.0;
  for (auto [c, v] : {std::pair{1, 0}, {-1, 0}, {0, 2}, {0, -1}}) {
    EXPECT_EQ(NRXGetDataEntry(ds, c, v, &value), 0);
    EXPECT_EQ(ErrorText(), "Data number out of range");
    EXPECT_EQ(NRXSetDataEntry(ds, c, v, 9.0), 0);
    EXPECT_EQ(ErrorText(), "Data number out of range");
  }
  EXPECT_EQ(value, 42.0);
  EXPECT_EQ(NRXGetDataEntry(ds, 0, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Output argument cannot be NULL");
  // A NaN or an infinity would pass into every statistic and trainer.
  for (double bad : {std::nan(""), -HUGE_VAL}) {
    EXPECT_EQ(NRXSetDataEntry(ds, 0, 1, bad), 0);
    EXPECT_EQ(ErrorText(), "Data value is not a finite number");
    const double row[2] = {7.0, bad};
    EXPECT_EQ(NRXSetDataCase(ds, 0, row), 0);
    EXPECT_EQ(ErrorText(), "Data value is not a finite number");
  }
  EXPECT_EQ(Snapshot(ds), before);
}

TEST_F(NrxDataContentTest, NominalNamesGrowShrinkAndRefuseBlanks) {
  const int32_t ds = NRXCreateDataSet(1, 1);
  char buffer[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXSetDataNoNominals(ds, 0, 3), 1);
  int32_t k = 0;
  ASSERT_EQ(NRXGetDataNoNominals(ds, 0, &k), 1);
  EXPECT_EQ(k, 3);
  ASSERT_EQ(NRXGetDataNominal(ds, 0, 2, buffer), 1);
  EXPECT_STREQ(buffer, "v3");
  ASSERT_EQ(NRXSetDataNominal(ds, 0, 0, "red"), 1);

  // Shrinking drops names from the end; growing numbers new ones from the
  // old count on.
  ASSERT_EQ(NRXSetDataNoNominals(ds, 0, 1), 1);
  ASSERT_EQ(NRXSetDataNoNominals(ds, 0, 2), 1);
  ASSERT_EQ(NRXGetDataNominal(ds, 0, 0, buffer), 1);
  EXPECT_STREQ(buffer, "red");
  ASSERT_EQ(NRXGetDataNominal(ds, 0, 1, buffer), 1);
  EXPECT_STREQ(buffer, "v2");

  // Two equal names would merge their values on the next save and load.
  EXPECT_EQ(NRXSetDataNominal(ds, 0, 0, "v2"), 0);
  EXPECT_EQ(ErrorText(), "Nominal value names of a variable must differ");
  ASSERT_EQ(NRXSetDataNominal(ds, 0, 0, "v3"), 1);
  ASSERT_EQ(NRXSetDataNoNominals(ds, 0, 4), 1);
  ASSERT_EQ(NRXGetDataNominal(ds, 0, 2, buffer), 1);
  EXPECT_STREQ(buffer, "v4") << "v3 is taken";
  ASSERT_EQ(NRXGetDataNominal(ds, 0, 3, buffer), 1);
  EXPECT_STREQ(buffer, "v5");
  ASSERT_EQ(NRXSetDataNominal(ds, 0, 0, "red"), 1);

  for (const char* blank : {static_cast<const char*>(nullptr), "", "  \t"}) {
    EXPECT_EQ(NRXSetDataNominal(ds, 0, 0, blank), 0);
    EXPECT_EQ(ErrorText(), "Blank nominal names are not permitted");
  }
  EXPECT_EQ(NRXSetDataNominal(ds, 0, 0, std::string(256, 'r').c_str()), 0);
  EXPECT_EQ(ErrorText(), "Name too long: at most 255 characters");
  ASSERT_EQ(NRXGetDataNominal(ds, 0, 0, buffer), 1);
  EXPECT_STREQ(buffer, "red");
}

TEST_F(NrxDataContentTest, NominalAccessChecksInOrder) {
  const int32_t ds = NRXCreateDataSet(1, 1);
  ASSERT_EQ(NRXSetDataNoNominals(ds, 1, 2), 1);
  const DataSetSnapshot before = Snapshot(ds);
  char buffer[NRX_NAME_BUFFER_SIZE];
  int32_t k = 5;
  EXPECT_EQ(NRXGetDataNoNominals(ds, 2, &k), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(k, 5);
  EXPECT_EQ(NRXGetDataNoNominals(ds, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Output argument cannot be NULL");
  EXPECT_EQ(NRXSetDataNoNominals(ds, -1, 2), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(NRXSetDataNoNominals(ds, 1, -1), 0);
  EXPECT_EQ(ErrorText(), "Number of nominal values out of range");
  EXPECT_EQ(NRXSetDataNoNominals(ds, 1, (1 << 20) + 1), 0);
  EXPECT_EQ(ErrorText(), "Not enough memory to add nominals");

  EXPECT_EQ(NRXGetDataNominal(ds, 3, 0, buffer), 0);
  EXPECT_EQ(ErrorText(), "Variable number out of range");
  EXPECT_EQ(NRXGetDataNominal(ds, 0, 0, buffer), 0);
  EXPECT_EQ(ErrorText(), "Nominal number out of range") << "a numeric variable has none";
  EXPECT_EQ(NRXGetDataNominal(ds, 1, 2, buffer), 0);
  EXPECT_EQ(ErrorText(), "Nominal number out of range");
  EXPECT_EQ(NRXSetDataNominal(ds, 1, -1, "x"), 0);
  EXPECT_EQ(ErrorText(), "Nominal number out of range");
  EXPECT_EQ(NRXGetDataNominal(ds, 1, 0, nullptr), 0);
  EXPECT_EQ(ErrorText(), "To retrieve a nominal name you must allocate some space");
  EXPECT_EQ(Snapshot(ds), before);
}

}  // namespace
}  // namespace nrx_test
