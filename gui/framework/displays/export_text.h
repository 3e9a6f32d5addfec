#pragma once

// The texts the display frames copy to the clipboard and save to a file:
// tab-separated columns, one row a line, each row ended by "\n", numbers in
// the "C" locale. Tabs and line breaks inside legends, labels and cell
// texts are written as blanks, so that a name cannot shift the columns or
// rows of what is pasted elsewhere.

#include <string>

#include "display_data.h"
#include "matrix_model.h"

namespace tavrin::gui {

// Whether an option of clipboard_row_export or clipboard_column_export
// writes labels. Option 2 leaves them out; 0 and 1 write them, and so does
// any other index (the option list lives in the editable message file), as
// writing labels loses nothing.
bool ExportsLabels(int option_index);

struct ExportLabels {
  bool rows = true;
  bool columns = true;
};
ExportLabels ExportLabelsFromOptions(int row_option, int column_option);

// With column labels, a header "<legend>,X\t<legend>,Y" per line; then one
// row per point index up to the longest line, "%.5g\t%.5g" per line or an
// empty cell pair where the line is shorter; lines separated by a tab.
std::string GraphText(const GraphData& lines, bool column_labels);

// With column labels, "<legend> (x)\t<legend> (y)\t" per set; then one row
// per point index up to the largest set, "%.5g\t%.5g\t" per set or two empty
// cells where the set is shorter.
std::string ScatterText(const ScatterData& sets, bool column_labels);

// With row labels, "%lg\t%lg" rows of (start + i × bar_width, height of bar
// i); without, "%lg" rows of the heights alone. No height hook: no text.
std::string BarChartText(const BarChartData& chart, bool row_labels);

// With column labels, a first row of the column labels separated by tabs
// (after an empty cell when row labels are on); then per row the row label
// and a tab when row labels are on, and the cells' texts separated by tabs.
std::string MatrixText(const MatrixModel& model, ExportLabels labels);

// Each row's numbers as "%g", separated by tabs.
std::string CanvasText(const CanvasRows& rows);

}  // namespace tavrin::gui
