#pragma once

// The texts the library itself records. Engine operations record their own
// (common/messages.h); those the library's own checks share are named here
// from there.

#include <string_view>

#include "common/messages.h"
#include "common/status.h"

namespace nrx {

using tavrin::kCaseOutOfRange;
using tavrin::kConversionOutOfRange;
using tavrin::kDesignCodeOutOfRange;
using tavrin::kLayerOutOfBounds;
using tavrin::kLayerOutOfRange;
using tavrin::kLayersOutOfBounds;
using tavrin::kNoMemoryForNominals;
using tavrin::kNotEnoughMemory;
using tavrin::kOffsetOrCountOutOfRange;
using tavrin::kOffsetOutOfRange;
using tavrin::kShuffleModeOutOfRange;
using tavrin::kStepsOutOfBounds;
using tavrin::kTooFewLayers;
using tavrin::kUnitCountOutOfRange;
using tavrin::kUnitOutOfRange;
using tavrin::kUnknownActivation;
using tavrin::kUnknownConversion;
using tavrin::kUnknownDataFormat;
using tavrin::kUnknownErrorFunction;
using tavrin::kUnknownMissingFunction;
using tavrin::kUnknownNormalisation;
using tavrin::kUnknownPsp;
using tavrin::kVariableOutOfRange;

// Checks every network export shares.
inline constexpr std::string_view kNetworkIndexOutOfRange = "Network index out of range";
inline constexpr std::string_view kNoNetwork = "No network loaded with this index";
// The variant a few exports have always used; callers may compare against it.
inline constexpr std::string_view kNoNetworkCapital = "No Network loaded with this index";
inline constexpr std::string_view kAttributeOutOfRange = "Attribute number out of range";
inline constexpr std::string_view kNullOutput = "Output argument cannot be NULL";
inline constexpr std::string_view kNameTooLong = "Name too long: at most 255 characters";
inline constexpr std::string_view kUnexpectedFailure = "Internal error: unexpected failure";

// Filling slots.
inline constexpr std::string_view kTooManyNetworks = "Too many Networks loaded";
inline constexpr std::string_view kNoMemoryForSlot = "Not enough memory to create network";
inline constexpr std::string_view kNoMemoryForDesign = "Not enough memory to create new Network";
inline constexpr std::string_view kInputsOutOfBounds = "Number of inputs out of bounds";
inline constexpr std::string_view kOutputsOutOfBounds = "Number of outputs out of bounds";
inline constexpr std::string_view kNullLayerArrays = "Layer unit and width arrays cannot be NULL";
inline constexpr std::string_view kUnitsOutOfBounds = "Number of units out of bounds";
inline constexpr std::string_view kWidthOutOfBounds = "Width of layer out of bounds";
inline constexpr std::string_view kLookaheadOutOfBounds = "Lookahead out of bounds";

// Running.
inline constexpr std::string_view kNullRunArrays = "Input and output arrays cannot be NULL";
inline constexpr std::string_view kOutputTypeOutOfRange = "Output type out of range";
inline constexpr std::string_view kNoMemoryToRun = "Not enough memory to execute network";

// Layers, units and weights.
inline constexpr std::string_view kActivationOutOfRange = "Activation function number out of range";
inline constexpr std::string_view kPspOutOfRange = "PSP function number out of range";
inline constexpr std::string_view kErrorFunctionOutOfRange = "Error function number out of range";
inline constexpr std::string_view kNullUnitName =
    "To retrieve a unit name you must allocate some space";
inline constexpr std::string_view kNoMemoryForUnitName = "Not enough memory to set unit name";
inline constexpr std::string_view kNotSuccessiveLayers =
    "Only connections between successive layers can be set";
inline constexpr std::string_view kSpecifiedLayerOutOfRange = "Specified layer out of range";
inline constexpr std::string_view kSpecifiedUnitOutOfRange = "Specified unit out of range";

// Variables.
inline constexpr std::string_view kOutputsAtZero = "Cannot add output variables at position 0";
inline constexpr std::string_view kVariableCountOutOfRange = "Number of variables out of range";
inline constexpr std::string_view kNullVariableName =
    "To retrieve a variable name you must allocate some space";
inline constexpr std::string_view kNoMemoryForName = "Not enough memory to copy name";
inline constexpr std::string_view kNominalOutOfRange = "Nominal number out of range";
inline constexpr std::string_view kNullNominalName =
    "To retrieve a nominal name you must allocate some space";
inline constexpr std::string_view kNoMemoryForNominalName =
    "Not enough memory to copy nominal name";
inline constexpr std::string_view kMissingFunctionOutOfRange =
    "Missing value substitution function number out of range";
inline constexpr std::string_view kNormalisationOutOfRange =
    "Normalisation function number out of range";

// Data sets.
inline constexpr std::string_view kDataSetIndexOutOfRange = "Data Set index out of range";
inline constexpr std::string_view kNoDataSet = "No Data Set loaded with this index";
inline constexpr std::string_view kTooManyDataSets = "Too many Data Sets loaded";
inline constexpr std::string_view kNoInputFile = "No input file name given";
inline constexpr std::string_view kNoOutputFile = "No output file name given";
inline constexpr std::string_view kDataFormatOutOfRange = "File format out of range";
inline constexpr std::string_view kNoMemoryToLoadDataSet = "Not enough memory to load Data Set";
inline constexpr std::string_view kNoDataSetVariables =
    "A Data Set must have at least one variable";
inline constexpr std::string_view kDataNumberOutOfRange = "Data number out of range";
inline constexpr std::string_view kNoMemoryForVariableName =
    "Not enough memory to store variable name";
inline constexpr std::string_view kNoMemoryForCaseName = "Not enough memory to store case name";
inline constexpr std::string_view kNullCaseName =
    "To retrieve a case name you must allocate some space";
inline constexpr std::string_view kNullOutputArray = "Output array cannot be NULL";
inline constexpr std::string_view kNullInputArray = "Input array cannot be NULL";
// The case and variable counts differ in case between exports; callers may
// compare against either.
inline constexpr std::string_view kCaseCountOutOfRange = "Number of cases out of range";
inline constexpr std::string_view kCaseCountOutOfRangeCapital = "Number of Cases out of range";
inline constexpr std::string_view kVariableCountOutOfRangeCapital =
    "Number of Variables out of range";
inline constexpr std::string_view kCaseTypeOutOfRange = "Case type out of range";
inline constexpr std::string_view kVariableTypeOutOfRange = "Variable type out of range";

// Running a network on a data set's case.
inline constexpr std::string_view kPatternOutOfRange = "Pattern number out of range";
inline constexpr std::string_view kPatternBeforeWindow =
    "Pattern number too small for the network's steps and lookahead";
inline constexpr std::string_view kNoMemoryToRunCase = "Not enough memory to run network";

// Training.
inline constexpr std::string_view kEpochsOutOfRange = "Number of epochs out of range";

// Network sets.
inline constexpr std::string_view kSetNumberBelowMinusOne = "Network number must be at least -1";
inline constexpr std::string_view kSetHoldsNone = "Network Set contains no networks";
inline constexpr std::string_view kSetNumberTooLarge =
    "Network number is greater than number of networks in the network set";
inline constexpr std::string_view kSetEntryIndex = "Network index number out of range";
inline constexpr std::string_view kSetLockFlag = "is_locked flag out of range";
inline constexpr std::string_view kSetTextTooLong = "Network set text too long";
inline constexpr std::string_view kSetEmptyLoad = "Network Set is empty";
inline constexpr std::string_view kSetLoadNumberTooLarge =
    "Network number greater than number of networks in network set";
inline constexpr std::string_view kSetDataSetIndexOutOfRange = "Data set index out of range";
inline constexpr std::string_view kSetNoDataSet = "No data set loaded with this index";
inline constexpr std::string_view kSetNullFile = "The network set file name cannot be NULL";

// The spreadsheet entry points.
inline constexpr std::string_view kSheetInputSize = "Input array wrong size for network";
inline constexpr std::string_view kSheetOutputType = "Parameter type is out of range";
inline constexpr std::string_view kSheetOutputIndex = "Output index out of range";

}  // namespace nrx
