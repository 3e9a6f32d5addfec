// The copy and save texts of the displays, against texts worked by hand.

#include "export_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <tuple>
#include <vector>

#include "function_matrix.h"
#include "matrix_paste.h"

namespace tavrin::gui {
namespace {

const GraphData kTwoLines = {{{1, 2, 3}, {0.5, 0.25, 1.0 / 3}, "short\tone", 0},
                             {{1, 2, 3, 4, 5}, {123456, -2, 1e-7, 0, 7}, "long", 1}};

TEST(ExportText, GraphRunsToTheLongestLineWithEmptyPairsForTheShorter) {
  const std::string rows =
      "1\t0.5\t1\t1.2346e+05\n"
      "2\t0.25\t2\t-2\n"
      "3\t0.33333\t3\t1e-07\n"
      "\t\t4\t0\n"
      "\t\t5\t7\n";
  EXPECT_EQ(GraphText(kTwoLines, true), "short one,X\tshort one,Y\tlong,X\tlong,Y\n" + rows);
  EXPECT_EQ(GraphText(kTwoLines, false), rows);
}

TEST(ExportText, ScatterWritesATabAfterEveryCell) {
  const ScatterData sets = {{{1, 2}, {3, 4}, "a"}, {{5}, {6, 7}, "b"}};
  EXPECT_EQ(ScatterText(sets, true),
            "a (x)\ta (y)\tb (x)\tb (y)\t\n"
            "1\t3\t5\t6\t\n"
            "2\t4\t\t\t\n");
  EXPECT_EQ(ScatterText(sets, false), "1\t3\t5\t6\t\n2\t4\t\t\t\n");
}

TEST(ExportText, BarChartPutsEachBarsStartBeforeItsHeight) {
  BarChartData chart{3, [](int i) { return i * 1.5; }, -5, 0.25};
  EXPECT_EQ(BarChartText(chart, true), "-5\t0\n-4.75\t1.5\n-4.5\t3\n");
  EXPECT_EQ(BarChartText(chart, false), "0\n1.5\n3\n");
  chart.height = nullptr;
  EXPECT_EQ(BarChartText(chart, true), "");
}

class TwoByThree : public MatrixModel {
 public:
  int ColumnCount() const override { return 3; }
  int RowCount() const override { return 2; }
  std::string ColumnLabel(int c) const override { return "c" + std::to_string(c); }
  std::string RowLabel(int r) const override { return r == 0 ? "first\nrow" : "r1"; }
  std::string CellToText(int index) const override { return std::to_string(index); }
  bool CellFromText(int, std::string_view) override { return false; }
};

TEST(ExportText, MatrixLabelsFollowTheClipboardOptions) {
  const std::tuple<int, int, const char*> rows[] = {
      {0, 1, "\tc0\tc1\tc2\nfirst row\t0\t1\t2\nr1\t3\t4\t5\n"},
      {2, 0, "c0\tc1\tc2\n0\t1\t2\n3\t4\t5\n"},
      {1, 2, "first row\t0\t1\t2\nr1\t3\t4\t5\n"},
      {2, 2, "0\t1\t2\n3\t4\t5\n"},
      {7, -1, "\tc0\tc1\tc2\nfirst row\t0\t1\t2\nr1\t3\t4\t5\n"},  // unknown: labels on
  };
  for (const auto& [row_option, column_option, text] : rows) {
    EXPECT_EQ(MatrixText(TwoByThree(), ExportLabelsFromOptions(row_option, column_option)), text)
        << row_option << "," << column_option;
  }
}

// A 2 x 3 matrix of whole numbers over a FunctionMatrix: what the program's
// small spreadsheets are.
struct PastedCells {
  std::vector<std::string> cells = std::vector<std::string>(6, "-");
  FunctionMatrix matrix;
  PastedCells() {
    matrix.rows = [] { return 2; };
    matrix.columns = [] { return 3; };
    matrix.text = [this](int r, int c) { return cells[r * 3 + c]; };
    matrix.take = [this](int r, int c, std::string_view text) {
      if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
      }
      cells[r * 3 + c] = text;
      return true;
    };
  }
};

TEST(ExportText, PastedTextSkipsItsLabelsAndLeavesRefusedCellsAlone) {
  PastedCells a;
  // Copied with both labels; the second row has a refused cell and one past
  // the matrix's edge.
  PasteResult r = PasteIntoMatrix(a.matrix, "\tc0\tc1\tc2\r\nx\t1\t2\t3\ny\t4\tz\t6\t7\n", 0, 0,
                                  ImportLabelsFromOptions(0, 0));
  EXPECT_EQ(std::tuple(r.taken, r.refused), std::tuple(5, 2));
  EXPECT_EQ(MatrixText(a.matrix, {false, false}), "1\t2\t3\n4\t-\t6\n");
  // Without labels, from the second cell; a line without tabs splits at
  // blanks; the line past the last row is refused.
  PastedCells b;
  r = PasteIntoMatrix(b.matrix, "8  9\n5\n6", 0, 1, ImportLabelsFromOptions(1, 7));
  EXPECT_EQ(std::tuple(r.taken, r.refused), std::tuple(3, 1));
  EXPECT_EQ(MatrixText(b.matrix, {true, true}), "\t1\t2\t3\n1\t-\t8\t9\n2\t-\t5\t-\n");
}

TEST(ExportText, CanvasRowsKeepTheirColumns) {
  EXPECT_EQ(CanvasText({{0.1, 2}, {1e6, -3, 1234567}}), "0.1\t2\n1e+06\t-3\t1.23457e+06\n");
}

TEST(ExportText, NumbersStayInTheCLocaleUnderADecimalComma) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "de_DE.utf8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  const std::string graph = GraphText(kTwoLines, false);
  const std::string bars = BarChartText({1, [](int) { return 2.5; }, 0.5, 1}, true);
  std::setlocale(LC_NUMERIC, before.c_str());
  EXPECT_EQ(graph.substr(0, 18), "1\t0.5\t1\t1.2346e+05");
  EXPECT_EQ(bars, "0.5\t2.5\n");
}

}  // namespace
}  // namespace tavrin::gui
