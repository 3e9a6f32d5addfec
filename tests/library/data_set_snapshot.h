#pragma once

// Everything a caller can read of a data set, so a test can show that a
// refused call changed none of it.

#include <cstdint>
#include <string>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {

struct DataSetSnapshot {
  std::vector<int32_t> counts;  // variables, inputs, outputs, cases, training, verification, test
  std::vector<double> entries;
  std::vector<std::string> variable_names;
  std::vector<std::string> case_names;
  std::vector<int32_t> variable_types;
  std::vector<int32_t> case_types;
  std::vector<std::vector<std::string>> nominals;

  bool operator==(const DataSetSnapshot&) const = default;
};

inline DataSetSnapshot Snapshot(int32_t ds) {
  DataSetSnapshot s;
  for (auto get :
       {NRXGetDataNoVariables, NRXGetDataNoInputs, NRXGetDataNoOutputs, NRXGetDataNoCases,
        NRXGetDataNoTraining, NRXGetDataNoVerification, NRXGetDataNoTest}) {
    s.counts.push_back(DataCount(get, ds));
  }
  const int32_t variables = s.counts[0];
  const int32_t cases = s.counts[3];
  char buffer[NRX_NAME_BUFFER_SIZE];
  for (int32_t v = 0; v < variables; ++v) {
    EXPECT_EQ(NRXGetDataVariableName(ds, v, buffer), 1);
    s.variable_names.push_back(buffer);
    int32_t code = -1;
    EXPECT_EQ(NRXGetDataVariableType(ds, v, &code), 1);
    s.variable_types.push_back(code);
    int32_t k = 0;
    EXPECT_EQ(NRXGetDataNoNominals(ds, v, &k), 1);
    std::vector<std::string> names;
    for (int32_t i = 0; i < k; ++i) {
      EXPECT_EQ(NRXGetDataNominal(ds, v, i, buffer), 1);
      names.push_back(buffer);
    }
    s.nominals.push_back(names);
  }
  for (int32_t c = 0; c < cases; ++c) {
    for (int32_t v = 0; v < variables; ++v) s.entries.push_back(Entry(ds, c, v));
    EXPECT_EQ(NRXGetDataCaseName(ds, c, buffer), 1);
    s.case_names.push_back(buffer);
    int32_t code = -1;
    EXPECT_EQ(NRXGetDataCaseType(ds, c, &code), 1);
    s.case_types.push_back(code);
  }
  return s;
}

}  // namespace nrx_test
