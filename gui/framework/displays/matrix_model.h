#pragma once

// What one spreadsheet class needs of every matrix it shows: sizes, labels
// and cells as text. Each matrix element (weights, results, factors, ...)
// supplies a model; the spreadsheet reads and writes cells only through it.

#include <string>
#include <string_view>

namespace tavrin::gui {

class MatrixModel {
 public:
  virtual ~MatrixModel() = default;

  virtual int ColumnCount() const = 0;
  virtual int RowCount() const = 0;
  virtual std::string ColumnLabel(int column) const = 0;
  virtual std::string RowLabel(int row) const = 0;

  // Cells are numbered row by row: index = row × ColumnCount() + column.
  virtual std::string CellToText(int index) const = 0;

  // Stores a typed or pasted text in the cell. Returns whether it was
  // taken; a refused text leaves the cell as it was.
  virtual bool CellFromText(int index, std::string_view text) = 0;
};

}  // namespace tavrin::gui
