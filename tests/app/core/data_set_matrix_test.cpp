// The data set as the spreadsheet reads and writes it.

#include "data_set_matrix.h"

#include <gtest/gtest.h>

namespace tavrin::app {
namespace {

// Two cases of a numeric variable and a nominal one ("red", "blue").
std::unique_ptr<DataSet> Colours() {
  auto data = CreateDataSet(1, 1);
  data->no_cases = 2;
  data->entries = {1.5, 2.0, MISSING, 1.0};
  data->variable_names = {"size", ""};
  data->nominals = {{}, {"red", "blue"}};
  data->case_names = {"first", ""};
  return data;
}

TEST(DataSetMatrixTest, ShowsNamesForNominalValuesAndLabelsRowsAndColumns) {
  auto data = Colours();
  const DataSetMatrix matrix(data, nullptr);
  EXPECT_EQ(matrix.ColumnCount(), 2);
  EXPECT_EQ(matrix.RowCount(), 2);
  EXPECT_EQ(matrix.ColumnLabel(0), "size");
  EXPECT_EQ(matrix.ColumnLabel(1), "Var2") << "an unnamed variable";
  EXPECT_EQ(matrix.RowLabel(0), "first");
  EXPECT_EQ(matrix.RowLabel(1), "2") << "an unnamed case by its number";
  EXPECT_EQ(matrix.CellToText(1), "blue") << "value numbers count from 1";
  EXPECT_EQ(matrix.CellToText(2), "?");
  EXPECT_EQ(matrix.CellToText(3), "red");
  EXPECT_EQ(matrix.CellToText(4), "") << "past the data";
}

TEST(DataSetMatrixTest, TakesNumbersMissingAndNamesAndRefusesTheRestUntouched) {
  auto data = Colours();
  int changes = 0;
  DataSetMatrix matrix(data, [&] { ++changes; });
  EXPECT_TRUE(matrix.CellFromText(0, " 7.25 "));
  EXPECT_EQ(data->at(0, 0), 7.25);
  EXPECT_TRUE(matrix.CellFromText(1, "red"));
  EXPECT_EQ(data->at(0, 1), 1.0);
  EXPECT_TRUE(matrix.CellFromText(3, "?"));
  EXPECT_TRUE(IsMissing(data->at(1, 1)));
  EXPECT_EQ(changes, 3);
  for (const char* refused : {"abc", "inf", "nan", ""}) {
    EXPECT_FALSE(matrix.CellFromText(2, refused)) << refused;
  }
  for (const char* refused : {"green", "3", "0", "1.5"}) {
    EXPECT_FALSE(matrix.CellFromText(1, refused)) << "no such value of the nominal: " << refused;
  }
  EXPECT_FALSE(matrix.CellFromText(4, "1")) << "past the data";
  EXPECT_FALSE(matrix.CellFromText(-1, "1"));
  EXPECT_EQ(changes, 3) << "refusals change nothing";
  EXPECT_TRUE(IsMissing(data->at(1, 0)));
  EXPECT_EQ(data->at(0, 1), 1.0);
  data.reset();
  EXPECT_EQ(matrix.RowCount(), 0) << "follows the program's data set when it is closed";
  EXPECT_FALSE(matrix.CellFromText(0, "1"));
}

}  // namespace
}  // namespace tavrin::app
