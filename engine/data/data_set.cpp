#include "data/data_set.h"
#include "common/messages.h"

#include <algorithm>
#include <new>
#include <string>

#include "common/checked_size.h"
#include "common/nominal_names.h"
#include "data/data_set_limits.h"

namespace tavrin {
namespace {

std::string DefaultVariableName(int position) {
  return "VAR" + std::to_string(position + 1);
}

void CountRole(DataSet& data, int v, int sign) {
  if (data.is_input[v]) data.no_inputs += sign;
  if (data.is_output[v]) data.no_outputs += sign;
}

}  // namespace

bool DataEntriesFit(std::int64_t cases, std::int64_t variables) {
  const auto n = CheckedMultiply(cases, variables);
  return n && *n <= kMaxDataEntries;
}

void RecountDataSet(DataSet& data) {
  data.no_inputs = data.no_outputs = 0;
  for (int v = 0; v < data.no_variables; ++v) CountRole(data, v, +1);
  data.no_training = data.no_verification = data.no_test = 0;
  for (std::int32_t s : data.subset) {
    if (std::int32_t* n = data.subset_count(s)) ++*n;
  }
}

VariableRole DataSet::role(int v) const {
  if (is_input[v] && is_output[v]) return VariableRole::kBoth;
  if (is_input[v]) return VariableRole::kInput;
  if (is_output[v]) return VariableRole::kOutput;
  return VariableRole::kNeither;
}

std::int32_t* DataSet::subset_count(std::int32_t code) {
  switch (static_cast<Subset>(code)) {
    case Subset::kTraining:
      return &no_training;
    case Subset::kVerification:
      return &no_verification;
    case Subset::kTest:
      return &no_test;
    case Subset::kIgnore:
      break;
  }
  return nullptr;
}

std::unique_ptr<DataSet> CreateDataSet(int no_inputs, int no_outputs) {
  const std::int64_t variables = std::int64_t{no_inputs} + no_outputs;
  if (no_inputs < 0 || no_outputs < 0 || variables < 1 ||
      !DataEntriesFit(kInitialCaseCapacity, variables)) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  }
  try {
    auto data = std::make_unique<DataSet>();
    const int n = static_cast<int>(variables);
    data->no_variables = n;
    data->no_inputs = no_inputs;
    data->no_outputs = no_outputs;
    data->no_cases = 1;
    data->no_training = 1;
    data->entries.reserve(static_cast<std::size_t>(kInitialCaseCapacity) * n);
    data->entries.assign(n, MISSING);
    data->variable_names.resize(n);
    for (int v = 0; v < n; ++v) data->variable_names[v] = DefaultVariableName(v);
    data->nominals.resize(n);
    data->case_names.assign(1, std::string());
    data->is_input.resize(n);
    data->is_output.resize(n);
    for (int v = 0; v < n; ++v) {
      data->is_input[v] = v < no_inputs ? 1 : 0;
      data->is_output[v] = v < no_inputs ? 0 : 1;
    }
    data->subset.assign(1, static_cast<std::int32_t>(Subset::kTraining));
    data->host_attributes.resize(n);
    return data;
  } catch (const std::bad_alloc&) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  }
}

std::unique_ptr<DataSet> CopyDataSet(const DataSet& data) {
  try {
    auto copy = std::make_unique<DataSet>(data);
    copy->entries.shrink_to_fit();
    copy->case_capacity = copy->no_cases;
    if (copy->title.size() > kMaxTitleLength) copy->title.resize(kMaxTitleLength);
    return copy;
  } catch (const std::bad_alloc&) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  }
}

Status ResizeCases(DataSet& data, int position, int count) {
  if (position < 0 || position > data.no_cases ||
      (count < 0 && std::int64_t{position} - count > data.no_cases)) {
    return Fail(kCaseOutOfRange);
  }
  if (count < 0) {
    if (-count >= data.no_cases) return Fail(kCannotCutAllCases);
    const int end = position - count;
    for (int c = position; c < end; ++c) {
      if (std::int32_t* n = data.subset_count(data.subset[c])) --*n;
    }
    const std::size_t nv = data.no_variables;
    data.entries.erase(data.entries.begin() + position * nv, data.entries.begin() + end * nv);
    data.case_names.erase(data.case_names.begin() + position, data.case_names.begin() + end);
    data.subset.erase(data.subset.begin() + position, data.subset.begin() + end);
    data.no_cases += count;
    return Status::Ok();
  }
  if (count == 0) return Status::Ok();
  if (std::int64_t{data.no_cases} + count > kMaxCases) {
    return Fail(kTooManyCases);
  }
  const int needed = data.no_cases + count;
  std::int64_t capacity = data.case_capacity;
  if (needed > capacity) {
    capacity += std::max<std::int64_t>({256, capacity / 10, count});
    capacity = std::min<std::int64_t>(capacity, kMaxCases);
  }
  if (!DataEntriesFit(needed, data.no_variables)) return Fail(kNotEnoughMemory);
  try {
    // Reserve everything first: a failure here leaves the data set untouched,
    // and the inserts below cannot fail once the room is there.
    const std::size_t nv = data.no_variables;
    data.entries.reserve(std::max<std::size_t>(
        static_cast<std::size_t>(std::min<std::int64_t>(capacity * nv, kMaxDataEntries)),
        needed * nv));
    data.case_names.reserve(capacity);
    data.subset.reserve(capacity);
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  data.case_capacity = static_cast<std::int32_t>(capacity);
  const std::int32_t label =
      position > 0 ? data.subset[position - 1] : static_cast<std::int32_t>(Subset::kTraining);
  const std::size_t nv = data.no_variables;
  data.entries.insert(data.entries.begin() + position * nv, count * nv, MISSING);
  data.case_names.insert(data.case_names.begin() + position, count, std::string());
  data.subset.insert(data.subset.begin() + position, count, label);
  if (std::int32_t* n = data.subset_count(label)) *n += count;
  data.no_cases = needed;
  return Status::Ok();
}

Status ResizeDataVariables(DataSet& data, int position, int count) {
  if (position < 0 || position > data.no_variables ||
      (count < 0 && std::int64_t{position} - count > data.no_variables)) {
    return Fail(kVariableOutOfRange);
  }
  if (count > 0 && std::int64_t{data.no_variables} + count > kMaxDataEntries) {
    return Fail(kNotEnoughMemory);
  }
  if (count < 0 && -count >= data.no_variables) {
    return Fail(kCannotRemoveAllVariables);
  }
  if (count == 0) return Status::Ok();
  const int new_count = data.no_variables + count;
  if (!DataEntriesFit(std::max(data.no_cases, data.case_capacity), new_count)) {
    return Fail(kNotEnoughMemory);
  }
  try {
    DataSet after;
    after.entries.reserve(static_cast<std::size_t>(data.case_capacity) * new_count);
    after.entries.resize(static_cast<std::size_t>(data.no_cases) * new_count, MISSING);
    const int kept_before = position;
    const int removed = count < 0 ? -count : 0;
    const int added = count > 0 ? count : 0;
    for (int c = 0; c < data.no_cases; ++c) {
      const double* from = data.row(c);
      double* to = after.entries.data() + static_cast<std::size_t>(c) * new_count;
      std::copy_n(from, kept_before, to);
      std::copy(from + kept_before + removed, from + data.no_variables, to + kept_before + added);
    }
    auto edit = [&](auto& v, const auto& fresh) {
      auto copy = v;
      if (count > 0) {
        copy.insert(copy.begin() + position, count, fresh);
      } else {
        copy.erase(copy.begin() + position, copy.begin() + position + removed);
      }
      return copy;
    };
    auto names = edit(data.variable_names, std::string());
    for (int i = 0; i < added; ++i) names[position + i] = DefaultVariableName(position + i);
    // A new variable takes the role of its neighbour before it (or after it at 0).
    const int neighbour = position > 0 ? position - 1 : 0;
    const std::int32_t in = data.is_input[std::min(neighbour, data.no_variables - 1)];
    const std::int32_t out = data.is_output[std::min(neighbour, data.no_variables - 1)];
    auto is_input = edit(data.is_input, in);
    auto is_output = edit(data.is_output, out);
    auto nominals = edit(data.nominals, std::vector<std::string>());
    auto host = edit(data.host_attributes, HostAttributes());

    data.entries = std::move(after.entries);
    data.variable_names = std::move(names);
    data.is_input = std::move(is_input);
    data.is_output = std::move(is_output);
    data.nominals = std::move(nominals);
    data.host_attributes = std::move(host);
    data.no_variables = new_count;
    RecountDataSet(data);
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
}

void SetVariableRoles(DataSet& data, int first, int count, VariableRole role) {
  for (int v = first; v < first + count; ++v) {
    CountRole(data, v, -1);
    data.is_input[v] = (role == VariableRole::kInput || role == VariableRole::kBoth) ? 1 : 0;
    data.is_output[v] = (role == VariableRole::kOutput || role == VariableRole::kBoth) ? 1 : 0;
    CountRole(data, v, +1);
  }
}

void SetCaseSubsets(DataSet& data, int first, int count, Subset subset) {
  const auto code = static_cast<std::int32_t>(subset);
  for (int c = first; c < first + count; ++c) {
    if (data.subset[c] == code) continue;
    if (std::int32_t* n = data.subset_count(data.subset[c])) --*n;
    data.subset[c] = code;
    if (std::int32_t* n = data.subset_count(code)) ++*n;
  }
}

Status SetDataNoNominals(DataSet& data, int variable, int count) {
  if (count < 0) return Fail(kNominalCountOutOfRange);
  if (count > kMaxNominalValues) return Fail(kNoMemoryForNominals);
  try {
    std::vector<std::string> names = data.nominals[variable];
    ResizeNominalNames(names, count);
    data.nominals[variable] = std::move(names);
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNoMemoryForNominals);
  }
}

Status DeleteNominalValue(DataSet& data, int variable, int value) {
  if (variable < 0 || variable >= data.no_variables) return Fail(kVariableOutOfRange);
  std::vector<std::string>& names = data.nominals[variable];
  if (value < 0 || value >= static_cast<int>(names.size())) return Fail(kNominalCountOutOfRange);
  names.erase(names.begin() + value);
  // Entries hold value numbers counted from 1.
  const double deleted = value + 1.0;
  for (int c = 0; c < data.no_cases; ++c) {
    double& x = data.at(c, variable);
    if (x == deleted) {
      x = MISSING;
    } else if (!IsMissing(x) && x > deleted) {
      x -= 1.0;
    }
  }
  return Status::Ok();
}

void IgnoreCasesWithMissing(DataSet& data) {
  for (int c = 0; c < data.no_cases; ++c) {
    if (std::any_of(data.row(c), data.row(c) + data.no_variables, IsMissing)) {
      data.subset[c] = static_cast<std::int32_t>(Subset::kIgnore);
    }
  }
  RecountDataSet(data);
}

void IgnoreVariablesWithMissing(DataSet& data) {
  for (int v = 0; v < data.no_variables; ++v) {
    for (int c = 0; c < data.no_cases; ++c) {
      if (!IsMissing(data.at(c, v))) continue;
      data.is_input[v] = data.is_output[v] = 0;
      break;
    }
  }
  RecountDataSet(data);
}

}  // namespace tavrin
