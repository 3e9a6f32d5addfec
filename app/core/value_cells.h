#pragma once

// A variable's value as a spreadsheet cell shows it and takes it: nominal
// values by their names, numbers in the engine's text, "?" for missing.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::app {

// `names` empty: a numeric variable.
std::string ValueCellText(double value, const std::vector<std::string>& names);

// A number, "?" for missing, or one of the names (a nominal variable holds
// the number, from 1, of one of its names); nullopt for anything else,
// including infinities and NaN, which would reach every statistic.
std::optional<double> ValueFromCellText(std::string_view text,
                                        const std::vector<std::string>& names);

// The text without the blanks and tabs around it.
std::string_view TrimmedCell(std::string_view text);

// A finite number (for weights and factors, where a missing value or an
// infinity would spoil every run); nullopt for anything else.
std::optional<double> FiniteFromCellText(std::string_view text);

}  // namespace tavrin::app
