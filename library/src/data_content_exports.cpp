// What a data set holds: variable and case names, the cases' values one case
// or one entry at a time, and nominal value names.

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "checks.h"
#include "common/nominal_names.h"
#include "data/data_set.h"
#include "entry_point.h"
#include "nrx32.h"

namespace nrx {
namespace {

using tavrin::DataSet;

bool CheckDataVariable(const DataSet& data, std::int32_t variable) {
  if (variable < 0 || variable >= data.no_variables) return Refuse(kVariableOutOfRange);
  return true;
}

bool CheckCase(const DataSet& data, std::int32_t c) {
  if (c < 0 || c >= data.no_cases) return Refuse(kCaseOutOfRange);
  return true;
}

bool CheckNominal(const DataSet& data, std::int32_t variable, std::int32_t value) {
  if (!CheckDataVariable(data, variable)) return false;
  if (value < 0 || value >= static_cast<std::int64_t>(data.nominals[variable].size())) {
    return Refuse(kNominalOutOfRange);
  }
  return true;
}

// The values NRXGetDataCase and NRXSetDataCase move: the case's first
// inputs + outputs entries, never more than the row holds.
std::size_t CaseWidth(const DataSet& data) {
  const std::int64_t used = std::int64_t{data.no_inputs} + data.no_outputs;
  return static_cast<std::size_t>(std::min<std::int64_t>(used, data.no_variables));
}

// A name getter whose buffer holds the empty text after any failure once it
// is known to exist.
template <typename Body>
std::int32_t GetName(std::int32_t ds, char* buffer, Body&& body) {
  if (buffer != nullptr) buffer[0] = '\0';
  return OnDataSet(ds, static_cast<Body&&>(body));
}

}  // namespace
}  // namespace nrx

using nrx::CheckCase;
using nrx::CheckDataVariable;
using nrx::Deliver;
using nrx::Refuse;
using tavrin::DataSet;

NRX_API int32_t NRX_CALL NRXGetDataVariableName(int32_t ds, int32_t variable, char* buffer) {
  return nrx::GetName(ds, buffer, [&](DataSet& data) {
    if (!CheckDataVariable(data, variable)) return false;
    if (buffer == nullptr) return Refuse(nrx::kNullVariableName);
    nrx::CopyName(data.variable_names[variable], buffer);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXSetDataVariableName(int32_t ds, int32_t variable, const char* name) {
  return nrx::OnDataSet(ds, nrx::kNoMemoryForVariableName, [&](DataSet& data) {
    std::string text;
    if (!CheckDataVariable(data, variable) || !nrx::TakeName(name, text)) return false;
    data.variable_names[variable] = std::move(text);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetDataCaseName(int32_t ds, int32_t c, char* buffer) {
  return nrx::GetName(ds, buffer, [&](DataSet& data) {
    if (!CheckCase(data, c)) return false;
    if (buffer == nullptr) return Refuse(nrx::kNullCaseName);
    nrx::CopyName(data.case_names[c], buffer);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXSetDataCaseName(int32_t ds, int32_t c, const char* name) {
  return nrx::OnDataSet(ds, nrx::kNoMemoryForCaseName, [&](DataSet& data) {
    std::string text;
    if (!CheckCase(data, c) || !nrx::TakeName(name, text)) return false;
    data.case_names[c] = std::move(text);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetDataCase(int32_t ds, int32_t c, double* values) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (!CheckCase(data, c)) return false;
    if (values == nullptr) return Refuse(nrx::kNullOutputArray);
    std::copy_n(data.row(c), nrx::CaseWidth(data), values);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXSetDataCase(int32_t ds, int32_t c, const double* values) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (!CheckCase(data, c)) return false;
    if (values == nullptr) return Refuse(nrx::kNullInputArray);
    const std::size_t width = nrx::CaseWidth(data);
    if (!std::all_of(values, values + width, tavrin::IsDataValue)) {
      return Refuse(tavrin::kDataValueNotFinite);
    }
    std::copy_n(values, width, data.row(c));
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetDataEntry(int32_t ds, int32_t c, int32_t variable, double* value) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (c < 0 || c >= data.no_cases || variable < 0 || variable >= data.no_variables) {
      return Refuse(nrx::kDataNumberOutOfRange);
    }
    return Deliver(value, data.at(c, variable));
  });
}

NRX_API int32_t NRX_CALL NRXSetDataEntry(int32_t ds, int32_t c, int32_t variable, double value) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (c < 0 || c >= data.no_cases || variable < 0 || variable >= data.no_variables) {
      return Refuse(nrx::kDataNumberOutOfRange);
    }
    if (!tavrin::IsDataValue(value)) return Refuse(tavrin::kDataValueNotFinite);
    data.at(c, variable) = value;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetDataNoNominals(int32_t ds, int32_t variable, int32_t* count) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    return CheckDataVariable(data, variable) && Deliver(count, data.nominals[variable].size());
  });
}

NRX_API int32_t NRX_CALL NRXSetDataNoNominals(int32_t ds, int32_t variable, int32_t count) {
  return nrx::OnDataSet(ds, nrx::kNoMemoryForNominals, [&](DataSet& data) {
    return CheckDataVariable(data, variable) &&
           tavrin::SetDataNoNominals(data, variable, count).ok();
  });
}

NRX_API int32_t NRX_CALL NRXGetDataNominal(int32_t ds, int32_t variable, int32_t value,
                                           char* buffer) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (!nrx::CheckNominal(data, variable, value)) return false;
    if (buffer == nullptr) return Refuse(nrx::kNullNominalName);
    nrx::CopyName(data.nominals[variable][value], buffer);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXSetDataNominal(int32_t ds, int32_t variable, int32_t value,
                                           const char* name) {
  return nrx::OnDataSet(ds, nrx::kNoMemoryForNominalName, [&](DataSet& data) {
    if (!nrx::CheckNominal(data, variable, value)) return false;
    if (name == nullptr) return Refuse(tavrin::kBlankNominal);
    std::string text;
    if (!nrx::TakeName(name, text)) return false;
    return tavrin::SetNominalName(data.nominals[variable], value, std::move(text)).ok();
  });
}
