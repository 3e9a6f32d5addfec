#pragma once

// A matrix made of functions: each of the program's small matrices (weights,
// factors, one case's inputs and outputs) needs a model, not a class.

#include <functional>
#include <string>
#include <string_view>

#include "matrix_model.h"

namespace tavrin::gui {

class FunctionMatrix : public MatrixModel {
 public:
  std::function<int()> rows;
  std::function<int()> columns;
  // Null: the rows or columns are numbered from 1.
  std::function<std::string(int row)> row_label;
  std::function<std::string(int column)> column_label;
  std::function<std::string(int row, int column)> text;
  // Null: the cells cannot be written.
  std::function<bool(int row, int column, std::string_view text)> take;

  int ColumnCount() const override;
  int RowCount() const override;
  std::string ColumnLabel(int column) const override;
  std::string RowLabel(int row) const override;
  std::string CellToText(int index) const override;
  bool CellFromText(int index, std::string_view text) override;

 private:
  // The cell's row and column, or false for an index outside the matrix.
  bool Cell(int index, int& row, int& column) const;
};

}  // namespace tavrin::gui
