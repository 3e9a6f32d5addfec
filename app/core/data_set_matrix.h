#pragma once

// The current data set as the spreadsheet sees it (pattern_matrix): cases
// by variables, variable names over the columns, case names (or numbers)
// beside the rows, nominal values by their names.

#include <functional>

#include "data/data_set.h"
#include "matrix_model.h"

namespace tavrin::app {

class DataSetMatrix : public gui::MatrixModel {
 public:
  // `changed` runs after a cell took a new value.
  DataSetMatrix(const std::unique_ptr<DataSet>& data, std::function<void()> changed)
      : data_(data), changed_(std::move(changed)) {}

  int ColumnCount() const override;
  int RowCount() const override;
  std::string ColumnLabel(int column) const override;
  std::string RowLabel(int row) const override;
  std::string CellToText(int index) const override;
  // Takes a number, "?" for missing, or one of a nominal variable's names;
  // refuses anything else and any index outside the data.
  bool CellFromText(int index, std::string_view text) override;

 private:
  const std::unique_ptr<DataSet>& data_;
  std::function<void()> changed_;
};

}  // namespace tavrin::app
