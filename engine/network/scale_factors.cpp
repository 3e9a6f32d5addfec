#include "network/scale_factors.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tavrin {
namespace {

constexpr double kOneOfN = static_cast<double>(ConversionFunction::kOneOfN);
constexpr double kTwoState = static_cast<double>(ConversionFunction::kTwoState);

// The statistics one coded variable needs of its data set column.
struct ColumnStats {
  int variable = 0;              // in the coding
  int column = 0;                // in the data set
  bool wants_values = false;     // median: the valid values themselves
  bool wants_frequency = false;  // nominal coding: counts per value number
  int count = 0;
  double min = 0.0;
  double max = 0.0;
  double sum = 0.0;
  double squares = 0.0;  // sum of squared deviations from the mean (second pass)
  std::vector<double> values;
  std::vector<int> frequency;  // index = value number - 1
};

std::vector<int> ColumnsWithRole(const DataSet& data, bool outputs) {
  std::vector<int> columns;
  for (int v = 0; v < data.no_variables; ++v) {
    if (outputs ? data.is_output[v] : data.is_input[v]) columns.push_back(v);
  }
  return columns;
}

// Row by row, so that a large data set is read from memory once per pass
// rather than once per variable.
// Row by row, so that a large data set is read from memory once per pass
// rather than once per variable; the per-column running figures live in
// plain arrays so that the inner loop stays small.
void Gather(const DataSet& data, std::vector<ColumnStats>& stats) {
  const std::size_t n = stats.size();
  std::vector<int> column(n);
  std::vector<std::int64_t> count(n, 0);
  std::vector<double> low(n, 0.0), high(n, 0.0), sum(n, 0.0), squares(n, 0.0), mean(n, 0.0);
  std::vector<std::size_t> detailed;  // columns that want values or frequencies
  for (std::size_t k = 0; k < n; ++k) {
    column[k] = stats[k].column;
    if (stats[k].wants_values || stats[k].wants_frequency) detailed.push_back(k);
  }
  for (int c = 0; c < data.no_cases; ++c) {
    if (!data.in_use(c)) continue;
    const double* row = data.row(c);
    for (std::size_t k = 0; k < n; ++k) {
      const double x = row[column[k]];
      if (IsMissing(x)) continue;
      // The first valid value starts both the minimum and the maximum.
      low[k] = (count[k] == 0 || x < low[k]) ? x : low[k];
      high[k] = (count[k] == 0 || x > high[k]) ? x : high[k];
      ++count[k];
      sum[k] += x;
    }
    for (std::size_t k : detailed) {
      ColumnStats& s = stats[k];
      const double x = row[s.column];
      if (IsMissing(x)) continue;
      if (s.wants_values) s.values.push_back(x);
      if (s.wants_frequency && x >= 1.0 && x <= static_cast<double>(s.frequency.size()) &&
          x == std::floor(x)) {
        ++s.frequency[static_cast<std::size_t>(x) - 1];
      }
    }
  }
  for (std::size_t k = 0; k < n; ++k) mean[k] = count[k] > 0 ? sum[k] / count[k] : 0.0;
  // Deviations from the mean in a second pass: a constant column then has a
  // variance of exactly 0.
  for (int c = 0; c < data.no_cases; ++c) {
    if (!data.in_use(c)) continue;
    const double* row = data.row(c);
    for (std::size_t k = 0; k < n; ++k) {
      const double x = row[column[k]];
      if (IsMissing(x)) continue;
      const double d = x - mean[k];
      squares[k] += d * d;
    }
  }
  for (std::size_t k = 0; k < n; ++k) {
    ColumnStats& s = stats[k];
    s.count = static_cast<int>(count[k]);
    s.min = low[k];
    s.max = high[k];
    s.sum = sum[k];
    s.squares = squares[k];
  }
}

void SetScaling(VariableCoding& coding, const ColumnStats& s) {
  const int v = s.variable;
  const double lo = coding.min_mean[v];
  const double hi = coding.max_sd[v];
  switch (static_cast<ConversionFunction>(static_cast<int>(coding.conversion[v]))) {
    case ConversionFunction::kMinimax:
      if (s.count > 0 && s.max != s.min) {
        coding.scale[v] = (hi - lo) / (s.max - s.min);
        coding.shift[v] = (lo * s.max - hi * s.min) / (s.max - s.min);
      } else {
        coding.scale[v] = 1.0;
        coding.shift[v] = 0.0;
      }
      break;
    case ConversionFunction::kMeanSd: {
      if (s.count == 0) {
        coding.scale[v] = 1.0;
        coding.shift[v] = 0.0;
        break;
      }
      // A constant column has no spread at all, whatever rounding the sum
      // picked up.
      const bool constant = s.min == s.max;
      const double mean = constant ? s.min : s.sum / s.count;
      const double variance = (s.count > 1 && !constant) ? s.squares / (s.count - 1) : 0.0;
      // Divides by the variance, not the standard deviation, as stored
      // networks expect.
      coding.scale[v] = variance > 0.0 ? hi / variance : 1.0;
      coding.shift[v] = lo - mean * coding.scale[v];
      break;
    }
    case ConversionFunction::kOneOfN:
    case ConversionFunction::kTwoState:
      coding.shift[v] = lo;
      coding.scale[v] = hi;
      break;
    case ConversionFunction::kNone:
      coding.scale[v] = 1.0;
      coding.shift[v] = 0.0;
      break;
    case ConversionFunction::kExplicit:
    case ConversionFunction::kKohonen:
      break;
  }
}

// Index of the least (or most) frequent value, the first of equals.
int ExtremeValue(const std::vector<int>& frequency, bool most) {
  int best = 0;
  for (int i = 1; i < static_cast<int>(frequency.size()); ++i) {
    if (most ? frequency[i] > frequency[best] : frequency[i] < frequency[best]) best = i;
  }
  return best;
}

double NumericSubstitute(MissingFunction function, ColumnStats& s) {
  if (s.count == 0) return 0.0;
  switch (function) {
    case MissingFunction::kMean:
      return s.sum / s.count;
    case MissingFunction::kMedian: {
      // The smallest m with at least ceil(n/2) values <= m.
      const std::size_t k = (s.values.size() + 1) / 2 - 1;
      std::nth_element(s.values.begin(), s.values.begin() + k, s.values.end());
      return s.values[k];
    }
    case MissingFunction::kZero:
      return 0.0;
    case MissingFunction::kMin:
      return s.min;
    case MissingFunction::kMax:
      return s.max;
  }
  return 0.0;
}

void SetSubstitutes(VariableCoding& coding, ColumnStats& s) {
  const int v = s.variable;
  const int base = (coding.is_output(v) ? coding.no_normed_inputs : 0) + coding.UnitPosition(v);
  double* out = coding.substitutes.data() + base;
  const int n = coding.UnitCount(v);
  const auto function = static_cast<MissingFunction>(static_cast<int>(coding.missing_fn[v]));
  const double conversion = coding.conversion[v];
  if (conversion != kOneOfN && conversion != kTwoState) {
    out[0] = NumericSubstitute(function, s);
    return;
  }
  const double valid = s.count;
  if (conversion == kOneOfN) {
    const int best = function == MissingFunction::kMin || function == MissingFunction::kMax
                         ? ExtremeValue(s.frequency, function == MissingFunction::kMax)
                         : -1;
    for (int j = 0; j < n; ++j) {
      const int f = j < static_cast<int>(s.frequency.size()) ? s.frequency[j] : 0;
      switch (function) {
        case MissingFunction::kMean:
        case MissingFunction::kMedian:
          out[j] = valid > 0 ? f / valid : 0.0;
          break;
        case MissingFunction::kZero:
          out[j] = 0.0;
          break;
        case MissingFunction::kMin:
        case MissingFunction::kMax:
          out[j] = (valid > 0 && j == best) ? 1.0 : 0.0;
          break;
      }
    }
    return;
  }
  // Two-state: the fraction of value 2, or a tilt towards the rarer or
  // commoner state.
  const int ones = s.frequency.empty() ? 0 : s.frequency[0];
  const int others = s.count - ones;
  switch (function) {
    case MissingFunction::kMean:
    case MissingFunction::kMedian:
      out[0] = (valid > 0 && s.frequency.size() > 1) ? s.frequency[1] / valid : 0.0;
      break;
    case MissingFunction::kZero:
      out[0] = 0.0;
      break;
    case MissingFunction::kMin:
      out[0] = valid == 0 ? 0.0 : (ones > others ? 1.0 : (ones < others ? 0.0 : 0.5));
      break;
    case MissingFunction::kMax:
      out[0] = valid == 0 ? 0.0 : (ones > others ? 0.0 : (ones < others ? 1.0 : 0.5));
      break;
  }
}

}  // namespace

void CalculateScaleFactors(VariableCoding& coding, const DataSet& data, bool include_outputs) {
  std::vector<ColumnStats> stats;
  for (bool outputs : {false, true}) {
    if (outputs && !include_outputs) break;
    const std::vector<int> columns = ColumnsWithRole(data, outputs);
    const int first = outputs ? coding.no_inputs : 0;
    const int count = outputs ? coding.no_outputs : coding.no_inputs;
    for (int i = 0; i < count && i < static_cast<int>(columns.size()); ++i) {
      ColumnStats s;
      s.variable = first + i;
      s.column = columns[i];
      const double conversion = coding.conversion[s.variable];
      s.wants_values =
          coding.missing_fn[s.variable] == static_cast<double>(MissingFunction::kMedian) &&
          conversion != kOneOfN && conversion != kTwoState;
      s.wants_frequency = conversion == kOneOfN || conversion == kTwoState;
      if (s.wants_frequency) {
        s.frequency.assign(
            conversion == kTwoState ? 2 : std::max(coding.no_nominals(s.variable), 1), 0);
      }
      stats.push_back(std::move(s));
    }
  }
  Gather(data, stats);
  for (ColumnStats& s : stats) {
    if (IsConversionCode(coding.conversion[s.variable], true)) SetScaling(coding, s);
    if (IsMissingFunctionCode(coding.missing_fn[s.variable])) SetSubstitutes(coding, s);
  }
}

void ReadWindow(const DataSet& data, int c, const VariableCoding& coding, double* raw) {
  const int steps = coding.steps;
  // The caller passes a case with a whole window, so this fits an int.
  const int first_row = static_cast<int>(c - coding.history());
  int i = 0;
  for (int v = 0; v < data.no_variables && i < coding.no_inputs; ++v) {
    if (!data.is_input[v]) continue;
    for (int s = 0; s < steps; ++s) raw[i * steps + s] = data.at(first_row + s, v);
    ++i;
  }
  for (; i < coding.no_inputs; ++i) {
    for (int s = 0; s < steps; ++s) raw[i * steps + s] = MISSING;
  }
}

bool VariablesAgree(const VariableCoding& c, const DataSet& data, bool include_outputs) {
  if (c.no_inputs != data.no_inputs) return false;
  if (include_outputs && c.no_outputs != data.no_outputs) return false;
  for (bool output_side : {false, true}) {
    if (output_side && !include_outputs) break;
    int v = output_side ? c.no_inputs : 0;
    for (int d = 0; d < data.no_variables; ++d) {
      if (!(output_side ? data.is_output[d] : data.is_input[d])) continue;
      if (c.no_nominals(v) != static_cast<int>(data.nominals[d].size())) return false;
      ++v;
    }
  }
  return true;
}

}  // namespace tavrin
