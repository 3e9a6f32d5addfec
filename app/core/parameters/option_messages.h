#pragma once

// Where each choice and action finds its options: the message of the message
// file that lists them, separated by "|", and for a choice how many options
// the program's code tells apart (their order is the order of its codes).

#include "network/functions.h"
#include "network/network_design.h"
#include "network/variable_coding.h"

namespace tavrin::app {

struct OptionList {
  int message;
  int options;
};

// The simple recurrent kind is built by the engine only, never designed.
inline constexpr int kDesignKindCount = static_cast<int>(DesignCode::kRegression) + 1;

inline constexpr OptionList kDesignKinds{4000, kDesignKindCount};
inline constexpr OptionList kLvqMethods{4001, 3};
inline constexpr OptionList kWinFrequencyLayers{4002, 2};
inline constexpr OptionList kWhenFullPolicies{4003, 4};
inline constexpr OptionList kNetworkSetVerbosity{4004, 3};
inline constexpr OptionList kWeightsShown{4005, 3};
inline constexpr OptionList kActivationFunctions{4006, kActivationFunctionCount};
inline constexpr OptionList kPspFunctions{4007, kPspFunctionCount};
inline constexpr OptionList kErrorFunctions{4008, kErrorFunctionCount};
inline constexpr int kRandomiseMethods = 4009;  // actions: their options are the program's
inline constexpr int kRandomiseLayers = 4010;
inline constexpr OptionList kInputNormalisations{4011, kInputNormalisationCount};
inline constexpr OptionList kOutputNormalisations{4012, kOutputNormalisationCount};
inline constexpr OptionList kClassifyBy{4013, 2};
inline constexpr OptionList kRunOutputTypes{4014, 4};  // outputs, two activations, winner
inline constexpr OptionList kHostVariableTypes{4015, 2};
inline constexpr OptionList kTimeSeriesStarts{4017, 2};
inline constexpr OptionList kResponseTypes{4018, 2};
inline constexpr OptionList kClusterGroupings{4019, 4};
inline constexpr OptionList kClusterAxes{4020, 3};
inline constexpr OptionList kClipboardExportLabels{4023, 3};
inline constexpr OptionList kClipboardImportLabels{4025, 2};
inline constexpr OptionList kImportDelimiters{4027, 4};
inline constexpr OptionList kHostTransfers{4028, 2};
inline constexpr OptionList kInputSelectionMethods{4029, 3};
inline constexpr OptionList kSolverVersions{4030, 2};
inline constexpr OptionList kNoYes{4031, 2};
inline constexpr OptionList kSolverSubsets{4032, 2};
inline constexpr OptionList kSolverSearches{4036, 3};
inline constexpr OptionList kSolverWinners{4037, 2};
inline constexpr OptionList kSolverSetPolicies{4038, 2};
inline constexpr OptionList kTwoClassOutputs{4039, 2};

}  // namespace tavrin::app
