#include "function_matrix.h"

#include <algorithm>

namespace tavrin::gui {

int FunctionMatrix::ColumnCount() const {
  return columns ? std::max(0, columns()) : 0;
}

int FunctionMatrix::RowCount() const {
  return rows ? std::max(0, rows()) : 0;
}

std::string FunctionMatrix::ColumnLabel(int column) const {
  return column_label ? column_label(column) : std::to_string(column + 1);
}

std::string FunctionMatrix::RowLabel(int row) const {
  return row_label ? row_label(row) : std::to_string(row + 1);
}

bool FunctionMatrix::Cell(int index, int& row, int& column) const {
  const int width = ColumnCount();
  if (width == 0 || index < 0 || index / width >= RowCount()) return false;
  row = index / width;
  column = index % width;
  return true;
}

std::string FunctionMatrix::CellToText(int index) const {
  int row = 0, column = 0;
  return text && Cell(index, row, column) ? text(row, column) : std::string();
}

bool FunctionMatrix::CellFromText(int index, std::string_view cell) {
  int row = 0, column = 0;
  return take && Cell(index, row, column) && take(row, column, cell);
}

}  // namespace tavrin::gui
