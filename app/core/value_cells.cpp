#include "value_cells.h"

#include <cmath>

#include "common/real_text.h"
#include "data/data_set.h"

namespace tavrin::app {
std::string_view TrimmedCell(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<double> FiniteFromCellText(std::string_view text) {
  const std::optional<double> value = ParseReal(TrimmedCell(text));
  if (!value || IsMissing(*value) || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::string ValueCellText(double value, const std::vector<std::string>& names) {
  if (IsMissing(value)) return "?";
  const double k = std::round(value);
  if (k == value && k >= 1 && k <= static_cast<double>(names.size())) {
    return names[static_cast<std::size_t>(k) - 1];
  }
  return FormatRealOrMissing(value);
}

std::optional<double> ValueFromCellText(std::string_view text,
                                        const std::vector<std::string>& names) {
  text = TrimmedCell(text);
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (names[k] == text) return static_cast<double>(k + 1);
  }
  const std::optional<double> value = ParseReal(text);
  if (!value || !(IsMissing(*value) || IsDataValue(*value))) return std::nullopt;
  if (IsMissing(*value) || names.empty()) return value;
  const bool a_name_index =
      std::round(*value) == *value && *value >= 1 && *value <= static_cast<double>(names.size());
  return a_name_index ? value : std::nullopt;
}

}  // namespace tavrin::app
