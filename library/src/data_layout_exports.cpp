// The shape of a data set: inserting and deleting variables and cases, the
// cases' subsets and the variables' roles.

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "checks.h"
#include "data/data_set.h"
#include "entry_point.h"
#include "nrx32.h"

namespace nrx {
namespace {

using tavrin::DataSet;

constexpr std::int32_t kLastSubset = static_cast<std::int32_t>(tavrin::Subset::kIgnore);
constexpr std::int32_t kLastRole = static_cast<std::int32_t>(tavrin::VariableRole::kNeither);

// A run of `count` items from `first` among `available`: the first item must
// exist and the run must end within them. Only the limits differ between the
// exports; the texts are theirs.
struct RunMessages {
  std::string_view first;
  std::string_view count;
};

bool CheckRun(std::int32_t first, std::int32_t count, std::int32_t available,
              const RunMessages& messages) {
  if (first < 0 || first >= available) return Refuse(messages.first);
  if (count < 1 || std::int64_t{first} + count > available) return Refuse(messages.count);
  return true;
}

// Deleting `count` items at `position`, or the last `count` with -1: the
// position the engine deletes from, or nothing after recording why not.
std::optional<int> DeletePosition(std::int32_t position, std::int32_t count, std::int32_t available,
                                  const RunMessages& messages) {
  if (position < -1 || position >= available) {
    Refuse(messages.first);
    return std::nullopt;
  }
  const std::int64_t first = position == -1 ? std::int64_t{available} - count : position;
  if (count < 1 || first < 0 || first + count > available) {
    Refuse(messages.count);
    return std::nullopt;
  }
  return static_cast<int>(first);
}

// Inserting at `position`, or at the end with -1.
bool CheckInsert(std::int32_t position, std::int32_t count, std::int32_t available,
                 const RunMessages& messages) {
  if (position < -1 || position >= available) return Refuse(messages.first);
  if (count < 1) return Refuse(messages.count);
  return true;
}

constexpr RunMessages kVariableRun{kVariableOutOfRange, kVariableCountOutOfRange};
constexpr RunMessages kCaseInsert{kCaseOutOfRange, kCaseCountOutOfRange};
constexpr RunMessages kCaseRun{kCaseOutOfRange, kCaseCountOutOfRangeCapital};
constexpr RunMessages kRoleRun{kVariableOutOfRange, kVariableCountOutOfRangeCapital};

}  // namespace
}  // namespace nrx

using nrx::Deliver;
using nrx::Refuse;
using tavrin::DataSet;

NRX_API int32_t NRX_CALL NRXAddDataVariables(int32_t ds, int32_t position, int32_t count) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (!nrx::CheckInsert(position, count, data.no_variables, nrx::kVariableRun)) return false;
    // The engine counts variables in an int; past that no data set fits anyway.
    if (std::int64_t{data.no_variables} + count > std::numeric_limits<std::int32_t>::max()) {
      return Refuse(tavrin::kNotEnoughMemory);
    }
    const int at = position == -1 ? data.no_variables : position;
    return tavrin::ResizeDataVariables(data, at, count).ok();
  });
}

NRX_API int32_t NRX_CALL NRXDeleteDataVariables(int32_t ds, int32_t position, int32_t count) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    const auto first = nrx::DeletePosition(position, count, data.no_variables, nrx::kVariableRun);
    return first && tavrin::ResizeDataVariables(data, *first, -count).ok();
  });
}

NRX_API int32_t NRX_CALL NRXAddDataCases(int32_t ds, int32_t position, int32_t count) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (!nrx::CheckInsert(position, count, data.no_cases, nrx::kCaseInsert)) return false;
    const int at = position == -1 ? data.no_cases : position;
    return tavrin::ResizeCases(data, at, count).ok();
  });
}

NRX_API int32_t NRX_CALL NRXDeleteDataCases(int32_t ds, int32_t position, int32_t count) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    const auto first = nrx::DeletePosition(position, count, data.no_cases, nrx::kCaseRun);
    return first && tavrin::ResizeCases(data, *first, -count).ok();
  });
}

NRX_API int32_t NRX_CALL NRXGetDataCaseType(int32_t ds, int32_t c, int32_t* code) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (c < 0 || c >= data.no_cases) return Refuse(nrx::kCaseOutOfRange);
    return Deliver(code, data.subset[c]);
  });
}

NRX_API int32_t NRX_CALL NRXSetDataCaseTypes(int32_t ds, int32_t first, int32_t count,
                                             int32_t code) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (!nrx::CheckRun(first, count, data.no_cases, nrx::kCaseRun)) return false;
    if (code < 0 || code > nrx::kLastSubset) return Refuse(nrx::kCaseTypeOutOfRange);
    tavrin::SetCaseSubsets(data, first, count, static_cast<tavrin::Subset>(code));
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetDataVariableType(int32_t ds, int32_t variable, int32_t* code) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    // The text this export has always given for a bad variable.
    if (variable < 0 || variable >= data.no_variables) return Refuse(nrx::kCaseOutOfRange);
    return Deliver(code, static_cast<std::int32_t>(data.role(variable)));
  });
}

NRX_API int32_t NRX_CALL NRXSetDataVariableTypes(int32_t ds, int32_t first, int32_t count,
                                                 int32_t code) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (!nrx::CheckRun(first, count, data.no_variables, nrx::kRoleRun)) return false;
    if (code < 0 || code > nrx::kLastRole) return Refuse(nrx::kVariableTypeOutOfRange);
    tavrin::SetVariableRoles(data, first, count, static_cast<tavrin::VariableRole>(code));
    return true;
  });
}
