// Every _NRXC form must do exactly what its NRX form does. Each case below
// runs one scenario twice from an empty library, once through each form, and
// compares everything the caller can see: results, out-values, texts and the
// error text. Scenarios read no random weights, so both runs see the same.

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

struct Outcome {
  std::vector<double> values;  // results and out-values, in call order
  std::vector<std::string> texts;
  std::string error;

  void Add(double value) { values.push_back(value); }
  bool operator==(const Outcome&) const = default;
};

// Calls the NRX form or, when `twin` is set, the _NRXC form.
#define CALL(Name, ...) (twin ? _NRXC##Name(__VA_ARGS__) : NRX##Name(__VA_ARGS__))

using Scenario = std::function<void(bool twin, Outcome& o)>;

// Two inputs (the second One-of-N with 3 values), layers 4, 3, 1.
int32_t MakeNet() {
  Design d;
  d.no_inputs = 2;
  d.units = {1, 3, 1};
  d.nominals = {0, 3, 0};
  d.conversions = {0, 1, 0};
  const int32_t net = d.Create();
  EXPECT_GE(net, 0) << ErrorText();
  return net;
}

// y = 2 a - b - 0.5, no random weights left.
int32_t MakeLinear() {
  Design d;
  d.design = NRX_DESIGN_LINEAR;
  d.no_inputs = 2;
  d.units = {2, 1};
  const int32_t net = d.Create();
  SetWeights(net, 1, {{2.0, -1.0}});
  SetThresholds(net, 1, {0.5});
  return net;
}

// Cases of the linear network above: (a, b, y) with y = 2 a - b - 0.5.
int32_t MakeData() {
  return MakeDataSet(2, 1, {{3.0, 1.0, 4.5}, {1.0, 1.0, 0.5}, {2.0, 0.0, 3.5}, {0.0, 0.0, -0.5}});
}

Outcome Observe(const Scenario& scenario, bool twin) {
  FreeAllSlots();
  MarkErrorText();
  Outcome o;
  scenario(twin, o);
  o.error = ErrorText();
  FreeAllSlots();
  return o;
}

// Training scenarios keep retain best clear, so no trainer's working arrays
// outlive a scenario and both runs start alike.
template <typename Call>
void TrainingGet(Outcome& o, Call call) {
  double training = -77.0, verification = -77.0;
  o.Add(call(&training, &verification));
  o.Add(training);
  o.Add(verification);
}

// Getter of an int32 on the network: a success and a refused layer or index.
template <typename Call>
void IntGet(Outcome& o, Call call) {
  int32_t value = -77;
  o.Add(call(&value));
  o.Add(value);
}

template <typename Call>
void DoubleGet(Outcome& o, Call call) {
  double value = -77.0;
  o.Add(call(&value));
  o.Add(value);
}

template <typename Call>
void TextGet(Outcome& o, Call call) {
  char buffer[NRX_NAME_BUFFER_SIZE] = "untouched";
  o.Add(call(buffer));
  o.texts.push_back(buffer);
}

const std::vector<std::pair<const char*, Scenario>>& Scenarios() {
  static const std::vector<std::pair<const char*, Scenario>> scenarios = {
      {"ErrorMessage",
       [](bool twin, Outcome& o) {
         char buffer[NRX_ERROR_BUFFER_SIZE] = "";
         o.Add(CALL(ErrorMessage, buffer));
         o.texts.push_back(buffer);
         o.Add(CALL(ErrorMessage, nullptr));
       }},
      {"MissingValue", [](bool twin, Outcome& o) { o.Add(CALL(MissingValue)); }},
      {"FreeNetwork",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(FreeNetwork, n));
         o.Add(CALL(FreeNetwork, n));
       }},
      {"CreateNetwork",
       [](bool twin, Outcome& o) {
         const int32_t units[] = {1, 2, 1};
         o.Add(CALL(CreateNetwork, 0, 1, 1, 3, 0, 1, nullptr, nullptr, units, units));
         o.Add(NoLayers(0));
         o.Add(CALL(CreateNetwork, 1, 1, 1, 3, 0, 1, nullptr, nullptr, units, units));
       }},
      {"CopyNetwork",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(CopyNetwork, n));
         o.Add(CALL(CopyNetwork, 64));
       }},
      {"AppendNetwork",
       [](bool twin, Outcome& o) {
         const int32_t a = MakeLinear();
         const int32_t b = MakeLinear();
         o.Add(CALL(AppendNetwork, a, b));  // 1 output unit, 2 input units: refused
         const int32_t c = Design{}.Create();
         o.Add(CALL(AppendNetwork, a, c));
         o.Add(NoLayers(a));
       }},
      {"RunNetwork",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         const double in[] = {3.0, 1.0};
         double out[2] = {0.0, 0.0};
         for (int32_t type = 0; type <= 3; ++type) {
           o.Add(CALL(RunNetwork, n, type, in, out));
           o.Add(out[0]);
           o.Add(out[1]);
         }
         o.Add(CALL(RunNetwork, n, 4, in, out));
       }},
      {"GetNetworkNoLayers",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkNoLayers, n, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkNoLayers, n + 1, v); });
       }},
      {"GetNetworkLayerNoUnits",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkLayerNoUnits, n, 0, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkLayerNoUnits, n, 3, v); });
       }},
      {"GetNetworkLayerWidth",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkLayerWidth, n, 1, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkLayerWidth, n, -1, v); });
       }},
      {"GetNetworkLayerAct",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkLayerAct, n, 1, v); });
         o.Add(CALL(GetNetworkLayerAct, n, 1, nullptr));
       }},
      {"SetNetworkLayerAct",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkLayerAct, n, 1, 7));
         o.Add(CALL(SetNetworkLayerAct, n, 1, 10));
         IntGet(o, [&](int32_t* v) { return NRXGetNetworkLayerAct(n, 1, v); });
       }},
      {"GetNetworkLayerPSP",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkLayerPSP, n, 2, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkLayerPSP, n, 9, v); });
       }},
      {"SetNetworkLayerPSP",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkLayerPSP, n, 2, 1));
         o.Add(CALL(SetNetworkLayerPSP, n, 2, 3));
         IntGet(o, [&](int32_t* v) { return NRXGetNetworkLayerPSP(n, 2, v); });
       }},
      {"GetNetworkErrorFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkErrorFunction, n, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkErrorFunction, 64, v); });
       }},
      {"SetNetworkErrorFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkErrorFunction, n, 3));
         o.Add(CALL(SetNetworkErrorFunction, n, 5));
         IntGet(o, [&](int32_t* v) { return NRXGetNetworkErrorFunction(n, v); });
       }},
      {"GetNetworkUnitName",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkUnitName(n, 1, 2, "named");
         TextGet(o, [&](char* b) { return CALL(GetNetworkUnitName, n, 1, 2, b); });
         o.Add(CALL(GetNetworkUnitName, n, 1, 2, nullptr));
       }},
      {"SetNetworkUnitName",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkUnitName, n, 1, 2, "named"));
         o.Add(CALL(SetNetworkUnitName, n, 1, 3, "named"));
         TextGet(o, [&](char* b) { return NRXGetNetworkUnitName(n, 1, 2, b); });
       }},
      {"GetNetworkUnitThreshold",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkUnitThreshold(n, 2, 0, 0.375);
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkUnitThreshold, n, 2, 0, v); });
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkUnitThreshold, n, 2, 1, v); });
       }},
      {"SetNetworkUnitThreshold",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkUnitThreshold, n, 2, 0, 0.375));
         o.Add(CALL(SetNetworkUnitThreshold, n, 3, 0, 0.375));
         DoubleGet(o, [&](double* v) { return NRXGetNetworkUnitThreshold(n, 2, 0, v); });
       }},
      {"GetNetworkUnitClass",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkUnitClass(n, 1, 1, 4);
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkUnitClass, n, 1, 1, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkUnitClass, n, 1, -1, v); });
       }},
      {"SetNetworkUnitClass",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkUnitClass, n, 1, 1, 4));
         o.Add(CALL(SetNetworkUnitClass, n + 1, 1, 1, 4));
         IntGet(o, [&](int32_t* v) { return NRXGetNetworkUnitClass(n, 1, 1, v); });
       }},
      {"GetNetworkUnitActivation",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         const double in[] = {3.0, 1.0};
         double out = 0.0;
         NRXRunNetwork(n, 0, in, &out);
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkUnitActivation, n, 1, 0, v); });
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkUnitActivation, n, 2, 0, v); });
       }},
      {"GetNetworkWeight",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkWeight, n, 0, 1, 1, 0, v); });
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkWeight, n, 0, 1, 2, 0, v); });
       }},
      {"SetNetworkWeight",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         o.Add(CALL(SetNetworkWeight, n, 0, 1, 1, 0, 8.5));
         o.Add(CALL(SetNetworkWeight, n, 0, 2, 1, 0, 8.5));
         DoubleGet(o, [&](double* v) { return NRXGetNetworkWeight(n, 0, 1, 1, 0, v); });
       }},
      {"AddNetworkUnits",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(AddNetworkUnits, n, 1, -1, 2));
         o.Add(CALL(AddNetworkUnits, n, 1, 9, 2));
         o.Add(LayerUnits(n, 1));
       }},
      {"DeleteNetworkUnits",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(DeleteNetworkUnits, n, 1, 0, 1));
         o.Add(CALL(DeleteNetworkUnits, n, 1, 0, 2));
         o.Add(LayerUnits(n, 1));
       }},
      {"DeleteNetworkLayer",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(DeleteNetworkLayer, n, 1));
         o.Add(CALL(DeleteNetworkLayer, n, 2));
         o.Add(NoLayers(n));
       }},
      {"GetNetworkNoInputs",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkNoInputs, n, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkNoInputs, -1, v); });
       }},
      {"GetNetworkNoOutputs",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkNoOutputs, n, v); });
         o.Add(CALL(GetNetworkNoOutputs, n, nullptr));
       }},
      {"AddNetworkInputVariables",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(AddNetworkInputVariables, n, 1, 2));
         o.Add(CALL(AddNetworkInputVariables, n, 5, 1));
         o.Add(LayerUnits(n, 0));
       }},
      {"AddNetworkOutputVariables",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(AddNetworkOutputVariables, n, 1, 2));
         o.Add(CALL(AddNetworkOutputVariables, n, 0, 1));
         o.Add(LayerUnits(n, 2));
       }},
      {"DeleteNetworkInputVariables",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(DeleteNetworkInputVariables, n, 1, 1));
         o.Add(CALL(DeleteNetworkInputVariables, n, 0, 1));
         o.Add(LayerUnits(n, 0));
       }},
      {"DeleteNetworkOutputVariables",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXAddNetworkOutputVariables(n, -1, 1);
         o.Add(CALL(DeleteNetworkOutputVariables, n, 0, 1));
         o.Add(CALL(DeleteNetworkOutputVariables, n, 0, 1));
         o.Add(LayerUnits(n, 2));
       }},
      {"GetNetworkVariableName",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkVariableName(n, 2, "out");
         TextGet(o, [&](char* b) { return CALL(GetNetworkVariableName, n, 2, b); });
         TextGet(o, [&](char* b) { return CALL(GetNetworkVariableName, n, 3, b); });
       }},
      {"SetNetworkVariableName",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkVariableName, n, 2, "out"));
         o.Add(CALL(SetNetworkVariableName, n + 1, 2, "out"));
         TextGet(o, [&](char* b) { return NRXGetNetworkVariableName(n, 2, b); });
       }},
      {"GetNetworkNoNominals",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkNoNominals, n, 1, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkNoNominals, n + 1, 1, v); });
       }},
      {"SetNetworkNoNominals",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkNoNominals, n, 1, 5));
         o.Add(CALL(SetNetworkNoNominals, n, 1, -5));
         o.Add(LayerUnits(n, 0));
       }},
      {"GetNetworkNominal",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         TextGet(o, [&](char* b) { return CALL(GetNetworkNominal, n, 1, 2, b); });
         TextGet(o, [&](char* b) { return CALL(GetNetworkNominal, n, 1, 3, b); });
       }},
      {"SetNetworkNominal",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkNominal, n, 1, 2, "high"));
         o.Add(CALL(SetNetworkNominal, n, 1, 2, " "));
         TextGet(o, [&](char* b) { return NRXGetNetworkNominal(n, 1, 2, b); });
       }},
      {"GetNetworkConvertFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkConvertFunction, n, 1, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkConvertFunction, n, 3, v); });
       }},
      {"SetNetworkConvertFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkConvertFunction, n, 1, 2));
         o.Add(CALL(SetNetworkConvertFunction, n, 1, 6));
         o.Add(LayerUnits(n, 0));
       }},
      {"GetNetworkMissingFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkMissingFunction(n, 0, 3);
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkMissingFunction, n, 0, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkMissingFunction, n, -1, v); });
       }},
      {"SetNetworkMissingFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkMissingFunction, n, 0, 4));
         o.Add(CALL(SetNetworkMissingFunction, n, 0, 5));
         IntGet(o, [&](int32_t* v) { return NRXGetNetworkMissingFunction(n, 0, v); });
       }},
      {"GetNetworkScaleFactor",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkScaleFactor(n, 0, 2.5);
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkScaleFactor, n, 0, v); });
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkScaleFactor, n, 3, v); });
       }},
      {"SetNetworkScaleFactor",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkScaleFactor, n, 0, 2.5));
         o.Add(CALL(SetNetworkScaleFactor, n, 3, 2.5));
         DoubleGet(o, [&](double* v) { return NRXGetNetworkScaleFactor(n, 0, v); });
       }},
      {"GetNetworkShiftFactor",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkShiftFactor(n, 2, -1.5);
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkShiftFactor, n, 2, v); });
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkShiftFactor, n, 3, v); });
       }},
      {"SetNetworkShiftFactor",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkShiftFactor, n, 2, -1.5));
         o.Add(CALL(SetNetworkShiftFactor, 64, 2, -1.5));
         DoubleGet(o, [&](double* v) { return NRXGetNetworkShiftFactor(n, 2, v); });
       }},
      {"GetNetworkMinMean",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkMinMean(n, 1, 0.2);
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkMinMean, n, 1, v); });
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkMinMean, n, 9, v); });
       }},
      {"SetNetworkMinMean",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkMinMean, n, 1, 0.2));
         o.Add(CALL(SetNetworkMinMean, n, 9, 0.2));
         DoubleGet(o, [&](double* v) { return NRXGetNetworkMinMean(n, 1, v); });
       }},
      {"GetNetworkMaxSD",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkMaxSD(n, 1, 0.8);
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkMaxSD, n, 1, v); });
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkMaxSD, n + 1, 1, v); });
       }},
      {"SetNetworkMaxSD",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkMaxSD, n, 1, 0.8));
         o.Add(CALL(SetNetworkMaxSD, n, -1, 0.8));
         DoubleGet(o, [&](double* v) { return NRXGetNetworkMaxSD(n, 1, v); });
       }},
      {"GetNetworkInputNormFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkInputNormFunction(n, 2);
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkInputNormFunction, n, v); });
         o.Add(CALL(GetNetworkInputNormFunction, n, nullptr));
       }},
      {"SetNetworkInputNormFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkInputNormFunction, n, 1));
         o.Add(CALL(SetNetworkInputNormFunction, n, 3));
         IntGet(o, [&](int32_t* v) { return NRXGetNetworkInputNormFunction(n, v); });
       }},
      {"GetNetworkOutputNormFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkOutputNormFunction(n, 5);
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkOutputNormFunction, n, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkOutputNormFunction, n + 2, v); });
       }},
      {"SetNetworkOutputNormFunction",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkOutputNormFunction, n, 4));
         o.Add(CALL(SetNetworkOutputNormFunction, n, 6));
         IntGet(o, [&](int32_t* v) { return NRXGetNetworkOutputNormFunction(n, v); });
       }},
      {"GetNetworkClassifyDir",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkClassifyDir, n, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkClassifyDir, 70, v); });
       }},
      {"SetNetworkClassifyDir",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkClassifyDir, n, 0));
         o.Add(CALL(SetNetworkClassifyDir, n + 1, 0));
         IntGet(o, [&](int32_t* v) { return NRXGetNetworkClassifyDir(n, v); });
       }},
      {"GetNetworkAccept",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkAccept, n, v); });
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkAccept, n + 1, v); });
       }},
      {"SetNetworkAccept",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkAccept, n, 0.7));
         o.Add(CALL(SetNetworkAccept, -3, 0.7));
         DoubleGet(o, [&](double* v) { return NRXGetNetworkAccept(n, v); });
       }},
      {"GetNetworkReject",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         DoubleGet(o, [&](double* v) { return CALL(GetNetworkReject, n, v); });
         o.Add(CALL(GetNetworkReject, n, nullptr));
       }},
      {"SetNetworkReject",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkReject, n, 0.1));
         o.Add(CALL(SetNetworkReject, n + 1, 0.1));
         DoubleGet(o, [&](double* v) { return NRXGetNetworkReject(n, v); });
       }},
      {"GetNetworkSteps",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkSteps, n, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkSteps, n + 1, v); });
       }},
      {"SetNetworkSteps",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkSteps, n, 3));
         o.Add(CALL(SetNetworkSteps, n, 0));
         o.Add(LayerUnits(n, 0));
       }},
      {"GetNetworkLookahead",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         NRXSetNetworkLookahead(n, 2);
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkLookahead, n, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetNetworkLookahead, 64, v); });
       }},
      {"SetNetworkLookahead",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeNet();
         o.Add(CALL(SetNetworkLookahead, n, 2));
         o.Add(CALL(SetNetworkLookahead, n, -2));
         IntGet(o, [&](int32_t* v) { return NRXGetNetworkLookahead(n, v); });
       }},
      {"CalculateScaleFactors",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         const int32_t ds = MakeData();
         o.Add(CALL(CalculateScaleFactors, n, ds));
         DoubleGet(o, [&](double* v) { return NRXGetNetworkScaleFactor(n, 0, v); });
         DoubleGet(o, [&](double* v) { return NRXGetNetworkShiftFactor(n, 2, v); });
         o.Add(CALL(CalculateScaleFactors, n, ds + 1));
       }},
      {"RunNetworkFromDataSet",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         const int32_t ds = MakeData();
         double out[2] = {0.0, 0.0};
         for (int32_t type = 0; type <= 4; ++type) {
           o.Add(CALL(RunNetworkFromDataSet, n, ds, 2, type, out));
           o.Add(out[0]);
           o.Add(out[1]);
         }
         o.Add(CALL(RunNetworkFromDataSet, n, ds, 4, 0, out));
       }},
      {"CreateDataSet",
       [](bool twin, Outcome& o) {
         o.Add(CALL(CreateDataSet, 2, 3));
         o.Add(DataCount(NRXGetDataNoVariables, 0));
         o.Add(CALL(CreateDataSet, 0, 0));
       }},
      {"CopyDataSet",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(CopyDataSet, ds));
         o.Add(Entry(1, 2, 2));
         o.Add(CALL(CopyDataSet, 9));
       }},
      {"LoadDataSet",
       [](bool twin, Outcome& o) {
         const std::string path = ::testing::TempDir() + "/tavrin-cdecl-load.csv";
         FILE* f = std::fopen(path.c_str(), "w");
         std::fputs("name;a;b\nfirst;1;x\n", f);
         std::fclose(f);
         o.Add(CALL(LoadDataSet, path.c_str(), 2, 1, 1, ';', nullptr));
         o.Add(Entry(0, 0, 1));
         o.Add(CALL(LoadDataSet, path.c_str(), 7, 1, 1, ';', nullptr));
         o.Add(CALL(LoadDataSet, "", 2, 1, 1, ';', nullptr));
         std::remove(path.c_str());
       }},
      {"SaveDataSet",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         const std::string path = ::testing::TempDir() + "/tavrin-cdecl-save.dat";
         o.Add(CALL(SaveDataSet, ds, path.c_str(), 1, 0, 0, 0, ','));
         o.Add(NRXLoadDataSet(path.c_str(), 1, 0, 0, ',', nullptr));
         o.Add(Entry(1, 2, 2));
         o.Add(CALL(SaveDataSet, ds, nullptr, 1, 0, 0, 0, ','));
         o.Add(CALL(SaveDataSet, ds, path.c_str(), 4, 0, 0, 0, ','));
         std::remove(path.c_str());
       }},
      {"FreeDataSet",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(FreeDataSet, ds));
         o.Add(CALL(FreeDataSet, ds));
       }},
      {"GetDataNoVariables",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoVariables, ds, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoVariables, ds + 1, v); });
       }},
      {"GetDataNoInputs",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoInputs, ds, v); });
         o.Add(CALL(GetDataNoInputs, ds, nullptr));
       }},
      {"GetDataNoOutputs",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoOutputs, ds, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoOutputs, 64, v); });
       }},
      {"GetDataNoCases",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoCases, ds, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoCases, -1, v); });
       }},
      {"GetDataNoTraining",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         NRXSetDataCaseTypes(ds, 0, 1, NRX_CASE_TEST);
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoTraining, ds, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoTraining, ds + 1, v); });
       }},
      {"GetDataNoVerification",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         NRXSetDataCaseTypes(ds, 1, 2, NRX_CASE_VERIFICATION);
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoVerification, ds, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoVerification, ds + 1, v); });
       }},
      {"GetDataNoTest",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         NRXSetDataCaseTypes(ds, 0, 3, NRX_CASE_TEST);
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoTest, ds, v); });
         o.Add(CALL(GetDataNoTest, ds, nullptr));
       }},
      {"GetDataVariableName",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         TextGet(o, [&](char* b) { return CALL(GetDataVariableName, ds, 1, b); });
         TextGet(o, [&](char* b) { return CALL(GetDataVariableName, ds, 3, b); });
       }},
      {"SetDataVariableName",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(SetDataVariableName, ds, 0, "size"));
         o.Add(CALL(SetDataVariableName, ds, -1, "size"));
         TextGet(o, [&](char* b) { return NRXGetDataVariableName(ds, 0, b); });
       }},
      {"GetDataCaseName",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         NRXSetDataCaseName(ds, 2, "third");
         TextGet(o, [&](char* b) { return CALL(GetDataCaseName, ds, 2, b); });
         TextGet(o, [&](char* b) { return CALL(GetDataCaseName, ds, 4, b); });
       }},
      {"SetDataCaseName",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(SetDataCaseName, ds, 1, "second"));
         o.Add(CALL(SetDataCaseName, ds, 4, "fifth"));
         TextGet(o, [&](char* b) { return NRXGetDataCaseName(ds, 1, b); });
       }},
      {"GetDataCase",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         double values[3] = {0.0, 0.0, 0.0};
         o.Add(CALL(GetDataCase, ds, 2, values));
         for (double v : values) o.Add(v);
         o.Add(CALL(GetDataCase, ds, 2, nullptr));
       }},
      {"SetDataCase",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         const double values[3] = {7.0, 8.0, 9.0};
         o.Add(CALL(SetDataCase, ds, 3, values));
         o.Add(Entry(ds, 3, 1));
         o.Add(CALL(SetDataCase, ds, 4, values));
       }},
      {"GetDataEntry",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         DoubleGet(o, [&](double* v) { return CALL(GetDataEntry, ds, 0, 2, v); });
         DoubleGet(o, [&](double* v) { return CALL(GetDataEntry, ds, 0, 3, v); });
       }},
      {"SetDataEntry",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(SetDataEntry, ds, 1, 1, 6.5));
         o.Add(CALL(SetDataEntry, ds, 4, 1, 6.5));
         o.Add(Entry(ds, 1, 1));
       }},
      {"AddDataVariables",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(AddDataVariables, ds, 1, 2));
         o.Add(CALL(AddDataVariables, ds, 1, 0));
         o.Add(DataCount(NRXGetDataNoInputs, ds));
       }},
      {"DeleteDataVariables",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(DeleteDataVariables, ds, -1, 1));
         o.Add(CALL(DeleteDataVariables, ds, 0, 2));
         o.Add(DataCount(NRXGetDataNoOutputs, ds));
       }},
      {"AddDataCases",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(AddDataCases, ds, -1, 10));
         o.Add(CALL(AddDataCases, ds, 14, 1));
         o.Add(DataCount(NRXGetDataNoCases, ds));
       }},
      {"DeleteDataCases",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(DeleteDataCases, ds, 1, 2));
         o.Add(CALL(DeleteDataCases, ds, 0, 2));
         o.Add(Entry(ds, 1, 0));
       }},
      {"GetDataCaseType",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         NRXSetDataCaseTypes(ds, 1, 1, NRX_CASE_IGNORED);
         IntGet(o, [&](int32_t* v) { return CALL(GetDataCaseType, ds, 1, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetDataCaseType, ds, 4, v); });
       }},
      {"SetDataCaseTypes",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(SetDataCaseTypes, ds, 1, 3, NRX_CASE_VERIFICATION));
         o.Add(CALL(SetDataCaseTypes, ds, 1, 3, 7));
         o.Add(DataCount(NRXGetDataNoVerification, ds));
       }},
      {"GetDataVariableType",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         IntGet(o, [&](int32_t* v) { return CALL(GetDataVariableType, ds, 2, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetDataVariableType, ds, 3, v); });
       }},
      {"SetDataVariableTypes",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(SetDataVariableTypes, ds, 0, 2, NRX_VARIABLE_BOTH));
         o.Add(CALL(SetDataVariableTypes, ds, 2, 2, NRX_VARIABLE_BOTH));
         o.Add(DataCount(NRXGetDataNoOutputs, ds));
       }},
      {"GetDataNoNominals",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         NRXSetDataNoNominals(ds, 1, 4);
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoNominals, ds, 1, v); });
         IntGet(o, [&](int32_t* v) { return CALL(GetDataNoNominals, ds, -1, v); });
       }},
      {"SetDataNoNominals",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(SetDataNoNominals, ds, 0, 2));
         o.Add(CALL(SetDataNoNominals, ds, 0, -2));
         TextGet(o, [&](char* b) { return NRXGetDataNominal(ds, 0, 1, b); });
       }},
      {"GetDataNominal",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         NRXSetDataNoNominals(ds, 2, 2);
         TextGet(o, [&](char* b) { return CALL(GetDataNominal, ds, 2, 1, b); });
         TextGet(o, [&](char* b) { return CALL(GetDataNominal, ds, 2, 2, b); });
       }},
      {"SetDataNominal",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         NRXSetDataNoNominals(ds, 2, 2);
         o.Add(CALL(SetDataNominal, ds, 2, 0, "low"));
         o.Add(CALL(SetDataNominal, ds, 2, 1, " "));
         TextGet(o, [&](char* b) { return NRXGetDataNominal(ds, 2, 0, b); });
       }},
      {"ShuffleDataSet",
       [](bool twin, Outcome& o) {
         // Modes 3 and 4 draw no random numbers, so both runs agree on them.
         const int32_t ds = MakeData();
         NRXSetDataCaseTypes(ds, 0, 1, NRX_CASE_VERIFICATION);
         o.Add(CALL(ShuffleDataSet, ds, 3));
         o.Add(Entry(ds, 3, 0));
         o.Add(CALL(ShuffleDataSet, ds, 4));
         o.Add(Entry(ds, 2, 0));
         o.Add(CALL(ShuffleDataSet, ds, 5));
       }},
      {"SortDataSet",
       [](bool twin, Outcome& o) {
         const int32_t ds = MakeData();
         o.Add(CALL(SortDataSet, ds, 0, 1));
         o.Add(Entry(ds, 0, 2));
         o.Add(CALL(SortDataSet, ds, 3, 1));
       }},
      {"SetStoppingConditions",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         const int32_t ds = MakeData();
         o.Add(CALL(SetStoppingConditions, n, 0, 10.0, 0.0, 0.0, 0.0));
         o.Add(CALL(SetStoppingConditions, n + 1, 0, 10.0, 0.0, 0.0, 0.0));
         TrainingGet(o, [&](double* t, double* v) {
           return NRXBackPropagation(n, ds, 20, 0, 0, 0, 0.01, 0.01, 0.0, 0.0, 0.0, t, v);
         });
         o.Add(Weight(n, 0, 0, 0));
       }},
      {"SetWeigend",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         const int32_t ds = MakeData();
         o.Add(CALL(SetWeigend, n, 0.5, 2.0));
         o.Add(CALL(SetWeigend, n, 0.5, 0.0));
         TrainingGet(o, [&](double* t, double* v) {
           return NRXBackPropagation(n, ds, 1, 0, 0, 0, 0.01, 0.01, 0.0, 0.0, 0.0, t, v);
         });
       }},
      {"ReinitializeNetwork",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         o.Add(CALL(ReinitializeNetwork, n, 0, -1, 0.25, 0.25));
         o.Add(Weight(n, 0, 1, 0));
         o.Add(CALL(ReinitializeNetwork, n, 8, -1, 0.0, 1.0));
         o.Add(CALL(ReinitializeNetwork, n, 3, 2, 0.0, 1.0));
       }},
      {"BackPropagation",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         const int32_t ds = MakeData();
         TrainingGet(o, [&](double* t, double* v) {
           return CALL(BackPropagation, n, ds, 3, 1, 0, 0, 0.05, 0.01, 0.2, 0.1, 0.0, t, v);
         });
         o.Add(Weight(n, 0, 0, 0));
         TrainingGet(o, [&](double* t, double*) {
           return CALL(BackPropagation, n, ds, 3, 1, 0, 0, 0.05, 0.01, 0.2, 0.1, 0.0, t, nullptr);
         });
       }},
      {"QuickPropagation",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         const int32_t ds = MakeData();
         TrainingGet(o, [&](double* t, double* v) {
           return CALL(QuickPropagation, n, ds, 3, 0, 0, 0.05, 1.75, 0.0, t, v);
         });
         o.Add(Weight(n, 0, 1, 0));
         TrainingGet(o, [&](double* t, double* v) {
           return CALL(QuickPropagation, n, ds + 1, 3, 0, 0, 0.05, 1.75, 0.0, t, v);
         });
       }},
      {"DeltaBarDelta",
       [](bool twin, Outcome& o) {
         const int32_t n = MakeLinear();
         const int32_t ds = MakeData();
         TrainingGet(o, [&](double* t, double* v) {
           return CALL(DeltaBarDelta, n, ds, 3, 0, 0, 0.05, 0.1, 0.8, 0.5, 0.0, t, v);
         });
         o.Add(Weight(n, 0, 1, 0));
         TrainingGet(o, [&](double* t, double* v) {
           return CALL(DeltaBarDelta, n, ds, -1, 0, 0, 0.05, 0.1, 0.8, 0.5, 0.0, t, v);
         });
       }},
  };
  return scenarios;
}

TEST(NrxCdeclFormsTest, EveryCdeclFormDoesWhatItsPrimaryFormDoes) {
  for (const auto& [name, scenario] : Scenarios()) {
    SCOPED_TRACE(name);
    const Outcome primary = Observe(scenario, false);
    const Outcome cdecl_form = Observe(scenario, true);
    EXPECT_EQ(primary.values, cdecl_form.values);
    EXPECT_EQ(primary.texts, cdecl_form.texts);
    EXPECT_EQ(primary.error, cdecl_form.error);
    EXPECT_FALSE(primary.values.empty());
  }
}

TEST(NrxCdeclFormsTest, EveryExportHasAScenario) {
  // The public list of cdecl forms, against the names covered above.
  std::vector<std::string> listed;
#define NRX_LIST_NAME(result, name, parameters, arguments) listed.push_back(#name);
  NRX_CDECL_FORMS(NRX_LIST_NAME)
#undef NRX_LIST_NAME
  std::vector<std::string> covered;
  for (const auto& entry : Scenarios()) covered.push_back(entry.first);
  EXPECT_EQ(listed, covered);
}

}  // namespace
}  // namespace nrx_test
