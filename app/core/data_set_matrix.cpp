#include "data_set_matrix.h"

#include <optional>

#include "value_cells.h"

namespace tavrin::app {

int DataSetMatrix::ColumnCount() const {
  return data_ ? data_->no_variables : 0;
}

int DataSetMatrix::RowCount() const {
  return data_ ? data_->no_cases : 0;
}

std::string DataSetMatrix::ColumnLabel(int column) const {
  if (!data_ || column < 0 || column >= static_cast<int>(data_->variable_names.size())) return {};
  const std::string& name = data_->variable_names[static_cast<std::size_t>(column)];
  return name.empty() ? "Var" + std::to_string(column + 1) : name;
}

std::string DataSetMatrix::RowLabel(int row) const {
  if (!data_ || row < 0 || row >= data_->no_cases) return {};
  if (row < static_cast<int>(data_->case_names.size()) &&
      !data_->case_names[static_cast<std::size_t>(row)].empty()) {
    return data_->case_names[static_cast<std::size_t>(row)];
  }
  return std::to_string(row + 1);
}

std::string DataSetMatrix::CellToText(int index) const {
  if (!data_ || data_->no_variables <= 0 || index < 0 ||
      index >= data_->no_cases * data_->no_variables) {
    return {};
  }
  return ValueCellText(data_->entries[static_cast<std::size_t>(index)],
                       data_->nominals[static_cast<std::size_t>(index % data_->no_variables)]);
}

bool DataSetMatrix::CellFromText(int index, std::string_view text) {
  if (!data_ || data_->no_variables <= 0 || index < 0 ||
      index >= data_->no_cases * data_->no_variables) {
    return false;
  }
  const std::optional<double> value = ValueFromCellText(
      text, data_->nominals[static_cast<std::size_t>(index % data_->no_variables)]);
  if (!value) return false;
  data_->entries[static_cast<std::size_t>(index)] = *value;
  if (changed_) changed_();
  return true;
}

}  // namespace tavrin::app
