#pragma once

// Everything a caller can read of a network or a data set, and which slots
// are filled, so that a test can show that a refused call changed none of it.

#include <cstdint>
#include <string>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {

struct Snapshot {
  std::vector<double> values;  // counts, codes and reals, in reading order
  std::vector<std::string> texts;

  bool operator==(const Snapshot&) const = default;
};

// Readers that append what a getter of `handle` delivers to a snapshot.
struct SnapshotReader {
  Snapshot s;
  int32_t handle;

  template <typename Getter, typename... Args>
  int32_t Integer(Getter get, Args... args) {
    s.values.push_back(Get<int32_t>(get, handle, args...));
    return static_cast<int32_t>(s.values.back());
  }
  template <typename Getter, typename... Args>
  void Real(Getter get, Args... args) {
    s.values.push_back(Get<double>(get, handle, args...));
  }
  template <typename Getter, typename... Args>
  void Text(Getter get, Args... args) {
    s.texts.push_back(Name(get, handle, args...));
  }
};

inline Snapshot NetworkSnapshot(int32_t net) {
  SnapshotReader r{{}, net};
  int32_t previous = 0;
  for (int32_t l = 0, layers = r.Integer(NRXGetNetworkNoLayers); l < layers; ++l) {
    const int32_t units = r.Integer(NRXGetNetworkLayerNoUnits, l);
    for (auto get : {NRXGetNetworkLayerWidth, NRXGetNetworkLayerAct, NRXGetNetworkLayerPSP}) {
      r.Integer(get, l);
    }
    for (int32_t u = 0; u < units; ++u) {
      r.Text(NRXGetNetworkUnitName, l, u);
      r.Integer(NRXGetNetworkUnitClass, l, u);
      r.Real(NRXGetNetworkUnitThreshold, l, u);
      r.Real(NRXGetNetworkUnitActivation, l, u);
      for (int32_t from = 0; from < previous; ++from)
        r.Real(NRXGetNetworkWeight, l - 1, from, l, u);
    }
    previous = units;
  }
  const int32_t inputs = r.Integer(NRXGetNetworkNoInputs);
  const int32_t variables = inputs + r.Integer(NRXGetNetworkNoOutputs);
  for (int32_t v = 0; v < variables; ++v) {
    r.Text(NRXGetNetworkVariableName, v);
    for (int32_t i = 0, k = r.Integer(NRXGetNetworkNoNominals, v); i < k; ++i) {
      r.Text(NRXGetNetworkNominal, v, i);
    }
    r.Integer(NRXGetNetworkConvertFunction, v);
    r.Integer(NRXGetNetworkMissingFunction, v);
    for (auto get : {NRXGetNetworkScaleFactor, NRXGetNetworkShiftFactor, NRXGetNetworkMinMean,
                     NRXGetNetworkMaxSD}) {
      r.Real(get, v);
    }
  }
  for (auto get :
       {NRXGetNetworkErrorFunction, NRXGetNetworkInputNormFunction, NRXGetNetworkOutputNormFunction,
        NRXGetNetworkClassifyDir, NRXGetNetworkSteps, NRXGetNetworkLookahead}) {
    r.Integer(get);
  }
  r.Real(NRXGetNetworkAccept);
  r.Real(NRXGetNetworkReject);
  return r.s;
}

inline Snapshot DataSetSnapshot(int32_t ds) {
  SnapshotReader r{{}, ds};
  for (auto get : {NRXGetDataNoInputs, NRXGetDataNoOutputs, NRXGetDataNoTraining,
                   NRXGetDataNoVerification, NRXGetDataNoTest}) {
    r.Integer(get);
  }
  const int32_t variables = r.Integer(NRXGetDataNoVariables);
  for (int32_t v = 0; v < variables; ++v) {
    r.Text(NRXGetDataVariableName, v);
    r.Integer(NRXGetDataVariableType, v);
    for (int32_t i = 0, k = r.Integer(NRXGetDataNoNominals, v); i < k; ++i) {
      r.Text(NRXGetDataNominal, v, i);
    }
  }
  for (int32_t c = 0, cases = r.Integer(NRXGetDataNoCases); c < cases; ++c) {
    r.Text(NRXGetDataCaseName, c);
    r.Integer(NRXGetDataCaseType, c);
    for (int32_t v = 0; v < variables; ++v) r.Real(NRXGetDataEntry, c, v);
  }
  return r.s;
}

// The filled network slots, then the filled data set slots (numbered from 64).
inline std::vector<int32_t> FilledSlots() {
  std::vector<int32_t> filled;
  int32_t count = 0;
  for (int32_t i = 0; i < kSlots; ++i) {
    if (NRXGetNetworkNoLayers(i, &count) == 1) filled.push_back(i);
    if (NRXGetDataNoCases(i, &count) == 1) filled.push_back(kSlots + i);
  }
  return filled;
}

}  // namespace nrx_test
