#pragma once

// The functions libnrx32.so exports, by their NRX names. Each is also
// exported as its cdecl form, _NRXC<Name>, unless it is listed in
// kExportsWithoutCdeclForm. New exports are added here and nowhere else in
// the tests.

#include <string>
#include <vector>

namespace nrx_test {

inline const std::vector<std::string> kExportedFunctions = {
    // Frame
    "NRXErrorMessage",
    "NRXMissingValue",
    // Whole networks
    "NRXFreeNetwork",
    "NRXCreateNetwork",
    "NRXCopyNetwork",
    "NRXAppendNetwork",
    "NRXRunNetwork",
    // Structure
    "NRXGetNetworkNoLayers",
    "NRXGetNetworkLayerNoUnits",
    "NRXGetNetworkLayerWidth",
    "NRXGetNetworkLayerAct",
    "NRXSetNetworkLayerAct",
    "NRXGetNetworkLayerPSP",
    "NRXSetNetworkLayerPSP",
    "NRXGetNetworkErrorFunction",
    "NRXSetNetworkErrorFunction",
    "NRXGetNetworkUnitName",
    "NRXSetNetworkUnitName",
    "NRXGetNetworkUnitThreshold",
    "NRXSetNetworkUnitThreshold",
    "NRXGetNetworkUnitClass",
    "NRXSetNetworkUnitClass",
    "NRXGetNetworkUnitActivation",
    "NRXGetNetworkWeight",
    "NRXSetNetworkWeight",
    "NRXAddNetworkUnits",
    "NRXDeleteNetworkUnits",
    "NRXDeleteNetworkLayer",
    // Variables
    "NRXGetNetworkNoInputs",
    "NRXGetNetworkNoOutputs",
    "NRXAddNetworkInputVariables",
    "NRXAddNetworkOutputVariables",
    "NRXDeleteNetworkInputVariables",
    "NRXDeleteNetworkOutputVariables",
    "NRXGetNetworkVariableName",
    "NRXSetNetworkVariableName",
    "NRXGetNetworkNoNominals",
    "NRXSetNetworkNoNominals",
    "NRXGetNetworkNominal",
    "NRXSetNetworkNominal",
    "NRXGetNetworkConvertFunction",
    "NRXSetNetworkConvertFunction",
    "NRXGetNetworkMissingFunction",
    "NRXSetNetworkMissingFunction",
    "NRXGetNetworkScaleFactor",
    "NRXSetNetworkScaleFactor",
    "NRXGetNetworkShiftFactor",
    "NRXSetNetworkShiftFactor",
    "NRXGetNetworkMinMean",
    "NRXSetNetworkMinMean",
    "NRXGetNetworkMaxSD",
    "NRXSetNetworkMaxSD",
    "NRXGetNetworkInputNormFunction",
    "NRXSetNetworkInputNormFunction",
    "NRXGetNetworkOutputNormFunction",
    "NRXSetNetworkOutputNormFunction",
    "NRXGetNetworkClassifyDir",
    "NRXSetNetworkClassifyDir",
    "NRXGetNetworkAccept",
    "NRXSetNetworkAccept",
    "NRXGetNetworkReject",
    "NRXSetNetworkReject",
    "NRXGetNetworkSteps",
    "NRXSetNetworkSteps",
    "NRXGetNetworkLookahead",
    "NRXSetNetworkLookahead",
    "NRXCalculateScaleFactors",
    // Running on a data set
    "NRXRunNetworkFromDataSet",
    // Data sets
    "NRXCreateDataSet",
    "NRXCopyDataSet",
    "NRXLoadDataSet",
    "NRXSaveDataSet",
    "NRXFreeDataSet",
    "NRXGetDataNoVariables",
    "NRXGetDataNoInputs",
    "NRXGetDataNoOutputs",
    "NRXGetDataNoCases",
    "NRXGetDataNoTraining",
    "NRXGetDataNoVerification",
    "NRXGetDataNoTest",
    "NRXGetDataVariableName",
    "NRXSetDataVariableName",
    "NRXGetDataCaseName",
    "NRXSetDataCaseName",
    "NRXGetDataCase",
    "NRXSetDataCase",
    "NRXGetDataEntry",
    "NRXSetDataEntry",
    "NRXAddDataVariables",
    "NRXDeleteDataVariables",
    "NRXAddDataCases",
    "NRXDeleteDataCases",
    "NRXGetDataCaseType",
    "NRXSetDataCaseTypes",
    "NRXGetDataVariableType",
    "NRXSetDataVariableTypes",
    "NRXGetDataNoNominals",
    "NRXSetDataNoNominals",
    "NRXGetDataNominal",
    "NRXSetDataNominal",
    "NRXShuffleDataSet",
    "NRXSortDataSet",
    // Training
    "NRXSetStoppingConditions",
    "NRXSetWeigend",
    "NRXReinitializeNetwork",
    "NRXBackPropagation",
    "NRXQuickPropagation",
    "NRXDeltaBarDelta",
};

// The spreadsheet entry points and the network-set sort have no cdecl form.
inline const std::vector<std::string> kExportsWithoutCdeclForm = {};

}  // namespace nrx_test
