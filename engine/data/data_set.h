#pragma once

// A data set: cases (rows) by variables (columns) of doubles, with variable
// roles, a subset label per case, names for variables and cases, nominal
// value names, and the attributes the host package's data files keep.

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "common/missing.h"
#include "common/random_generator.h"
#include "common/status.h"

namespace tavrin {

enum class Subset : std::int32_t { kTraining = 0, kVerification = 1, kTest = 2, kIgnore = 3 };

// Roles as the library numbers them.
enum class VariableRole : std::int32_t { kInput = 0, kOutput = 1, kBoth = 2, kNeither = 3 };

inline constexpr std::int32_t kMaxCases = 0x20000000;
inline constexpr std::int32_t kInitialCaseCapacity = 256;
inline constexpr std::size_t kMaxTitleLength = 80;

// Entries are finite numbers or the missing-value marker: a NaN or an
// infinity would pass into every statistic and trainer.
inline bool IsDataValue(double x) {
  return std::isfinite(x);
}

struct HostAttributes {
  std::int16_t display_width = 8;
  std::int16_t decimals = 3;
  std::int16_t attribute3 = 0;
  std::int16_t attribute4 = 0;
  double missing_code = MISSING;
  std::string long_label;  // empty = none
};

struct DataSet {
  std::int32_t no_variables = 0;
  std::int32_t no_inputs = 0;
  std::int32_t no_outputs = 0;
  std::int32_t no_cases = 0;
  std::int32_t no_training = 0;
  std::int32_t no_verification = 0;
  std::int32_t no_test = 0;
  std::vector<double> entries;  // no_cases rows of no_variables, case by case
  std::vector<std::string> variable_names;
  std::vector<std::vector<std::string>> nominals;  // empty list = numeric
  std::vector<std::string> case_names;             // empty text = no name
  std::vector<std::int32_t> is_input;
  std::vector<std::int32_t> is_output;
  std::vector<std::int32_t> subset;
  std::int32_t case_capacity = kInitialCaseCapacity;
  std::string title;
  std::vector<HostAttributes> host_attributes;

  double* row(int c) { return entries.data() + static_cast<std::size_t>(c) * no_variables; }
  const double* row(int c) const {
    return entries.data() + static_cast<std::size_t>(c) * no_variables;
  }
  double& at(int c, int v) { return row(c)[v]; }
  double at(int c, int v) const { return row(c)[v]; }

  VariableRole role(int v) const;
  bool in_use(int c) const { return subset[c] != static_cast<std::int32_t>(Subset::kIgnore); }
  // The count kept for a subset code (none for ignore).
  std::int32_t* subset_count(std::int32_t code);
};

// A data set of no_inputs inputs and no_outputs outputs named "VAR%d", with one
// training case of missing entries. Records and yields none on failure.
std::unique_ptr<DataSet> CreateDataSet(int no_inputs, int no_outputs);

// Deep copy whose capacity equals its case count; none on allocation failure.
std::unique_ptr<DataSet> CopyDataSet(const DataSet& data);

// Inserts (count > 0) or deletes (count < 0) cases at `position`. Inserted
// cases are missing throughout, unnamed, and take the subset of the case just
// before them (training at position 0).
[[nodiscard]] Status ResizeCases(DataSet& data, int position, int count);

// Inserts (count > 0) or deletes (count < 0) variables at `position`. Inserted
// variables are named "VAR%d" by position, numeric, missing throughout, and
// take the role of the variable just before them (at position 0, of the
// variable they are inserted before).
[[nodiscard]] Status ResizeDataVariables(DataSet& data, int position, int count);

// Sets the role of `count` variables from `first`, keeping the counts in step.
void SetVariableRoles(DataSet& data, int first, int count, VariableRole role);

// Sets the subset of `count` cases from `first`, keeping the counts in step.
void SetCaseSubsets(DataSet& data, int first, int count, Subset subset);

// Changes a variable's number of nominal values, keeping names, adding
// "v%d" names or dropping from the end.
[[nodiscard]] Status SetDataNoNominals(DataSet& data, int variable, int count);

// Makes every case with a missing entry an ignored case, or every variable
// with a missing entry neither input nor output, keeping the counts in step.
void IgnoreCasesWithMissing(DataSet& data);
void IgnoreVariablesWithMissing(DataSet& data);

// Deletes nominal value `value` (0-based) of a variable: cases that held it
// become missing and the later values' numbers fall by one.
[[nodiscard]] Status DeleteNominalValue(DataSet& data, int variable, int value);

// Re-deals subset labels at random (modes 0-2), regroups rows by subset
// (mode 3) or adds the "NNINDEX" case-number variable (mode 4). Mode 2 keeps
// ignored the first `history` cases, which a time-series network needs as
// history (0 when there is none). Other modes are refused with "Shuffle
// mode out of range".
[[nodiscard]] Status ShuffleSubsets(DataSet& data, int mode, RandomGenerator& random,
                                    std::int64_t history);

// Orders the cases by one variable's value, moving names and subsets along.
[[nodiscard]] Status SortCases(DataSet& data, int variable, bool ascending);

}  // namespace tavrin
