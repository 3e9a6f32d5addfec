#pragma once

// Text pasted into a spreadsheet: rows on lines, cells separated by tabs (or,
// on a line without a tab, by blanks), as other programs copy them.

#include <string_view>

#include "matrix_model.h"

namespace tavrin::gui {

// Whether pasted text starts with a row of column labels and each line with
// a row label, which the paste skips (clipboard_row_import and
// clipboard_column_import: option 0 labels, any other none).
struct ImportLabels {
  bool rows = false;
  bool columns = false;
};
ImportLabels ImportLabelsFromOptions(int row_option, int column_option);

struct PasteResult {
  int taken = 0;
  int refused = 0;  // cells the matrix did not take, or that fell outside it
};

// Writes the text's cells into the matrix from (row, column) on, each
// through the model's hook; a refused cell keeps its value and the paste
// goes on.
PasteResult PasteIntoMatrix(MatrixModel& matrix, std::string_view text, int row, int column,
                            ImportLabels labels);

}  // namespace tavrin::gui
