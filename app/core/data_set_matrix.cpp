#include "data_set_matrix.h"

#include <cmath>
#include <optional>

#include "common/real_text.h"

namespace tavrin::app {
namespace {

// The nominal names of a variable, or null for a numeric one.
const std::vector<std::string>* NominalNames(const DataSet& data, int variable) {
  if (variable >= static_cast<int>(data.nominals.size())) return nullptr;
  const auto& names = data.nominals[static_cast<std::size_t>(variable)];
  return names.empty() ? nullptr : &names;
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

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
  const int variable = index % data_->no_variables;
  const double value = data_->entries[static_cast<std::size_t>(index)];
  if (IsMissing(value)) return "?";
  if (const auto* names = NominalNames(*data_, variable)) {
    const double k = std::round(value);
    if (k == value && k >= 1 && k <= static_cast<double>(names->size())) {
      return (*names)[static_cast<std::size_t>(k) - 1];
    }
  }
  return FormatRealOrMissing(value);
}

bool DataSetMatrix::CellFromText(int index, std::string_view text) {
  if (!data_ || data_->no_variables <= 0 || index < 0 ||
      index >= data_->no_cases * data_->no_variables) {
    return false;
  }
  text = Trimmed(text);
  const int variable = index % data_->no_variables;
  const auto* names = NominalNames(*data_, variable);
  std::optional<double> value;
  for (std::size_t k = 0; names && k < names->size() && !value; ++k) {
    if ((*names)[k] == text) value = static_cast<double>(k + 1);
  }
  if (!value) value = ParseReal(text);
  // An infinity or a NaN would reach every statistic and trainer.
  if (!value || !(IsMissing(*value) || IsDataValue(*value))) return false;
  // A nominal variable holds the number (from 1) of one of its names.
  const bool a_name_index = std::round(*value) == *value && *value >= 1 && names &&
                            *value <= static_cast<double>(names->size());
  if (names && !IsMissing(*value) && !a_name_index) return false;
  data_->entries[static_cast<std::size_t>(index)] = *value;
  if (changed_) changed_();
  return true;
}

}  // namespace tavrin::app
