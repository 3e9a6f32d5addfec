#pragma once

// Every text the engine records, by the part of the engine that records it.
// Messages with "%d" take a number (see WithNumber).

#include <string_view>

namespace tavrin {

// Shared by every part of the engine.
inline constexpr std::string_view kBlankNominal = "Blank nominal names are not permitted";
inline constexpr std::string_view kDuplicateNominal =
    "Nominal value names of a variable must differ";

// Data sets and their files.
inline constexpr std::string_view kHostFileInUse =
    "Cannot write to this file as it is open in KALVIMETRA";
inline constexpr std::string_view kHostCloseFailed =
    "Internal error reading KALVIMETRA file: KvmCloseFile failed";
inline constexpr std::string_view kValueNotANumber =
    "Data Set file corrupted: a value is not a number";
inline constexpr std::string_view kBadSeparator =
    "The separator cannot be a character of a number, a quote or a line end";
inline constexpr std::string_view kCannotCutAllCases = "Cannot Cut all cases";
inline constexpr std::string_view kCannotOpenDataSetFile = "Cannot open Data Set file for reading";
inline constexpr std::string_view kCannotReadHostFile = "Cannot read KALVIMETRA data file";
inline constexpr std::string_view kCannotRemoveAllVariables =
    "Cannot remove all variables from Data Set";
inline constexpr std::string_view kCannotWriteDataSetFile =
    "Couldn't open specified file for writing";
inline constexpr std::string_view kCaseNameNotExportable =
    "A case name holds a line break and cannot be exported";
inline constexpr std::string_view kCaseNameNotInPatternFile =
    "A case name cannot be written to a pattern file: it holds a line break or makes a line over "
    "1023 characters";
inline constexpr std::string_view kCaseOutOfRange = "Case number out of range";
inline constexpr std::string_view kDataValueNotFinite = "Data value is not a finite number";
inline constexpr std::string_view kDuplicateNominalInDataFile =
    "Data Set file corrupted: duplicate nominal value name";
inline constexpr std::string_view kEndOfPatternFile = "Unexpected end of file reading Data Set";
inline constexpr std::string_view kHostLongLabelTooLong =
    "A variable's long label is too long for a KALVIMETRA data file";
inline constexpr std::string_view kHostNominalTooLong =
    "A nominal value name longer than 40 characters cannot be saved in a KALVIMETRA data file";
inline constexpr std::string_view kIncorrectDataSetHeader =
    "Cannot open Data Set file: incorrect header";
inline constexpr std::string_view kNameNotExportable =
    "A variable name or nominal value holds a line break, or is empty, and cannot be exported";
inline constexpr std::string_view kNameNotInPatternFile =
    "A variable name or nominal value cannot be written to a pattern file: it holds a line break, "
    "\"={\", \",\" or \"}\", or makes a line over 1023 characters";
inline constexpr std::string_view kNoAttributesField =
    "Data Set file corrupted: no_attributes field missing";
inline constexpr std::string_view kNoPatternsField =
    "Data Set file corrupted: no_patterns field missing";
inline constexpr std::string_view kNominalCountOutOfRange = "Number of nominal values out of range";
inline constexpr std::string_view kNotInFormat = "Cannot read data file: not in the correct format";
inline constexpr std::string_view kRaggedRows =
    "The rows in the data file contain an inconsistent number of columns. Please check that the "
    "data is correct (missing values have been added to short rows).";
inline constexpr std::string_view kShortDataSetRead =
    "Unexpected end of file while reading data file";
inline constexpr std::string_view kShuffleModeOutOfRange = "Shuffle mode out of range";
inline constexpr std::string_view kTooManyCases =
    "Cannot create any more cases: maximum (536870912) reached";
inline constexpr std::string_view kTooManyHostNominals =
    "A variable with more than 720 nominal values cannot be saved in a KALVIMETRA data file";
inline constexpr std::string_view kTooManyHostVariables =
    "Too many variables for a KALVIMETRA data file (at most 4091)";
inline constexpr std::string_view kUnknownDataFormat = "Unrecognised Data Set Format";
inline constexpr std::string_view kVariableOutOfRange = "Variable number out of range";
inline constexpr std::string_view kVariablesMissing = "Data Set file incomplete: variables missing";

// Networks, their edits and their files.
inline constexpr std::string_view kUnknownClassifyBy =
    "Network file corrupted: unrecognised classify_by option <";
inline constexpr std::string_view kUnknownPspIn =
    "Network file corrupted: unrecognised psp function in layer %d";
inline constexpr std::string_view kUnknownActivationIn =
    "Network file corrupted: unrecognised activation function in layer %d";
inline constexpr std::string_view kWidthNotPositive =
    "Network file corrupted: width in layer %d zero or negative";
inline constexpr std::string_view kNoUnitsNotPositive =
    "Network file corrupted: no_units in layer %d zero or negative";
inline constexpr std::string_view kCannotOpenNetworkFileForWriting =
    "Cannot open network file for writing";
inline constexpr std::string_view kUnknownInputNormalisationWritten =
    "Internal error recognising input_normalisation function: reverting to default function";
inline constexpr std::string_view kUnknownOutputNormalisationWritten =
    "Internal error recognising output_normalisation function: reverting to default function";
inline constexpr std::string_view kUnitNameTooLong =
    "Cannot save network: a unit name in layer %d is too long for a network file";
inline constexpr std::string_view kUnitNameNotWritable =
    "Cannot save network: a unit name in layer %d holds a double quote, a colon or a line break";
inline constexpr std::string_view kNominalNameNotWritable =
    "Cannot save network: a nominal value of variable %d holds \",\", \"}\" or a line break";
inline constexpr std::string_view kVariableNameTooLong =
    "Cannot save network: the name of variable %d is too long for a network file";
inline constexpr std::string_view kVariableNameListMark =
    "Cannot save network: the name of variable %d holds \"={\"";
inline constexpr std::string_view kVariableNameComment =
    "Cannot save network: the name of variable %d starts with \"#\"";
inline constexpr std::string_view kVariableNameLineBreak =
    "Cannot save network: the name of variable %d holds a line break";
inline constexpr std::string_view kAcceptNotFound =
    "Network file corrupted: accept field not found";
inline constexpr std::string_view kActNotFound =
    "Network file corrupted: act_fn for layer %d not found";
inline constexpr std::string_view kAppendMismatch =
    "No. of inputs/outputs on appended/existing net do not match";
inline constexpr std::string_view kBadNumber = "Network file corrupted: invalid number in layer %d";
inline constexpr std::string_view kBlockMismatch =
    "Network file corrupted: weights into layer %d do not match the layer they come from";
inline constexpr std::string_view kCannotOpenNetworkFile = "Cannot open network file for reading";
inline constexpr std::string_view kClassifyByNotFound =
    "Network file corrupted: classify_by field not found";
inline constexpr std::string_view kConversionOutOfRange = "Conversion function number out of range";
inline constexpr std::string_view kDesignCodeOutOfRange = "Network design code out of range";
inline constexpr std::string_view kDuplicateNominalInFile =
    "Network file corrupted: duplicate nominal value name";
inline constexpr std::string_view kEndInWeights =
    "Unexpected end of file while reading network weights";
inline constexpr std::string_view kErrorFnNotFound = "Network file corrupted: error_fn not found";
inline constexpr std::string_view kFactorsMissing =
    "Network file corrupted: not all normalisation factors present";
inline constexpr std::string_view kInconsistentNetwork =
    "Internal error: network record inconsistent";
inline constexpr std::string_view kInputNormNotFound =
    "Network file corrupted: input_normalisation not found";
inline constexpr std::string_view kKohonenLayers = "A Kohonen network must have exactly two layers";
inline constexpr std::string_view kLaterVersion =
    "File created by a later version of Tavrin; cannot open";
inline constexpr std::string_view kLayerOutOfRange = "Layer number out of range";
inline constexpr std::string_view kLayersOutOfBounds = "Number of layers out of bounds";
inline constexpr std::string_view kLineTooLong = "Internal error: network file line too long";
inline constexpr std::string_view kLinearLayers = "A Linear network must have exactly two layers";
inline constexpr std::string_view kLookaheadNotFound =
    "Network file corrupted: lookahead field not found";
inline constexpr std::string_view kLossMatrixUnits =
    "A probabilistic network with loss matrix must have equal number of units in third and fourth "
    "layer";
inline constexpr std::string_view kNegativeLength =
    "Network file corrupted: negative count or length";
inline constexpr std::string_view kNetworkWriteFailed = "Cannot write network file";
inline constexpr std::string_view kNoHeader =
    "Network file corrupted: no header line (probably not a Tavrin network file at all)";
inline constexpr std::string_view kNoInputsLeft =
    "A Network must always have at least one input variable";
inline constexpr std::string_view kNoLayersLeft = "A Network must always have at least one layer";
inline constexpr std::string_view kNoLayersNotFound =
    "Network file corrupted: no_layers field not found";
inline constexpr std::string_view kNoMemoryForNominals = "Not enough memory to add nominals";
inline constexpr std::string_view kNoNormalisation =
    "Network file corrupted: normalisation section not found";
inline constexpr std::string_view kNoOutputsLeft =
    "A Network must always have at least one output variable";
inline constexpr std::string_view kNoSuchSource =
    "Network file corrupted: connections from non-existent layer found";
inline constexpr std::string_view kNoUnitsNotFound =
    "Network file corrupted: no_units field for layer %d not found";
inline constexpr std::string_view kNoWeightsHeader =
    "Network file corrupted: weights header not found";
inline constexpr std::string_view kOffsetOrCountOutOfRange = "Offset or no out of range";
inline constexpr std::string_view kOffsetOutOfRange = "Offset out of range";
inline constexpr std::string_view kOutputNormNotFound =
    "Network file corrupted: output_normalisation not found";
inline constexpr std::string_view kProbabilisticLayers =
    "A Probabilistic network must have three or four layers";
inline constexpr std::string_view kPspNotFound =
    "Network file corrupted: psp_fn for layer %d not found";
inline constexpr std::string_view kRbfLayers = "An RBF network must have exactly three layers";
inline constexpr std::string_view kRegressionLayers =
    "A Regression network must have exactly four layers";
inline constexpr std::string_view kRegressionUnits =
    "A regression network must have one more regression than output units";
inline constexpr std::string_view kRejectNotFound =
    "Network file corrupted: reject field not found";
inline constexpr std::string_view kShortNetworkRead =
    "Unexpected end of file while reading network file";
inline constexpr std::string_view kSingleOutputKind =
    "This type of network must always have exactly one output variable";
inline constexpr std::string_view kStepsNotFound = "Network file corrupted: steps field not found";
inline constexpr std::string_view kStepsOutOfBounds = "Number of steps out of bounds";
inline constexpr std::string_view kStepsOutOfRange =
    "Network file corrupted: steps or lookahead out of range";
inline constexpr std::string_view kTooFewLayers = "A Network must have at least two layers";
inline constexpr std::string_view kTypeNotFound = "Network file corrupted: type field not found";
inline constexpr std::string_view kUnitCountOutOfRange = "Number of units out of range";
inline constexpr std::string_view kUnitCountsMismatch =
    "Network file corrupted: unit counts do not match the variables";
inline constexpr std::string_view kUnitOutOfRange = "Unit number out of range";
inline constexpr std::string_view kUnknownActivation =
    "Internal error: unrecognised activation function";
inline constexpr std::string_view kUnknownConversion =
    "Internal error: unrecognised conversion function";
inline constexpr std::string_view kUnknownConversionInFile =
    "Network file corrupted: unrecognised input preparation function";
inline constexpr std::string_view kUnknownErrorFunction =
    "Internal error: unrecognised error function";
inline constexpr std::string_view kUnknownErrorFunctionInFile =
    "Network file corrupted: unrecognised error function";
inline constexpr std::string_view kUnknownInputNormalisationInFile =
    "Network file corrupted: unrecognised input_normalisation function";
inline constexpr std::string_view kUnknownMissingFunction =
    "Internal error: unrecognised missing value function";
inline constexpr std::string_view kUnknownMissingInFile =
    "Network file corrupted: unrecognised missing value patch function";
inline constexpr std::string_view kUnknownNormalisation =
    "Internal error: unrecognised normalisation function";
inline constexpr std::string_view kUnknownOutputNormalisationInFile =
    "Network file corrupted: unrecognised output_normalisation function";
inline constexpr std::string_view kUnknownPsp = "Internal error: unrecognised PSP function";
inline constexpr std::string_view kUnknownType =
    "Network file corrupted: unrecognised network type";
inline constexpr std::string_view kVariableCountsOutOfRange =
    "Network file corrupted: number of variables out of range";
inline constexpr std::string_view kWidthNotFound =
    "Network file corrupted: width field for layer %d not found";

// Network sets and their files.
inline constexpr std::string_view kSetCannotOpen = "Could not open network file for reading";
inline constexpr std::string_view kSetOverCapacity =
    "Network set file corrupted: more networks than the set can hold";
inline constexpr std::string_view kSetBadCurrent =
    "Network set file corrupted: current network out of range";
inline constexpr std::string_view kSetBadSettings =
    "Network set file corrupted: unrecognised when-full setting";
inline constexpr std::string_view kSetBadLock =
    "Network set file corrupted: lock flag out of range";
inline constexpr std::string_view kSetBadImagePlace =
    "Network set file corrupted: a network image lies outside its place";
inline constexpr std::string_view kSetTooLarge = "The network set file would exceed 2 GB";
inline constexpr std::string_view kSetNoIdLeft = "The network set has no identifier left";
inline constexpr std::string_view kSetEmptyReplace =
    "The network set is already empty - cannot replace networks";
inline constexpr std::string_view kSetReplaceIndex = "The replace index is out of range";
inline constexpr std::string_view kSetEmptyDelete =
    "The network set is already empty - cannot delete networks";
inline constexpr std::string_view kSetDeleteIndices =
    "First and/or last network indices out of range";
inline constexpr std::string_view kSetCriterion = "Criterion out of range";
inline constexpr std::string_view kSetNotTaken =
    "The network set is full and the network was not taken";

// Training.
inline constexpr std::string_view kInputMismatch =
    "Network and Data Set have differing numbers of inputs, or differing nominal variables";
inline constexpr std::string_view kDataMismatch =
    "Network and Data Set have differing number of inputs and outputs, or differing nominal "
    "variable";
inline constexpr std::string_view kDivergenceMessage =
    "Training algorithm has stopped prematurely because the weights are diverging rapidly. Try "
    "Reinitialising your network and run the algorithm again with a lower learning rate (the "
    "current learning rate is probably unsuitable for the type of activation functions in this "
    "network).";
inline constexpr std::string_view kEntropyMultipleOnOneOutput =
    "Cannot use multiple node cross-entropy function on a single output network";
inline constexpr std::string_view kEntropySingleOnManyOutputs =
    "Cannot use single node cross-entropy function on a multiple output network";
inline constexpr std::string_view kLayerOutOfBounds = "Layer number out of bounds";
inline constexpr std::string_view kLevenbergMultipleOutputs =
    "Cannot run Levenberg-Marquardt algorithm on networks with multiple outputs";
inline constexpr std::string_view kLineSearchTooManyIterations =
    "Line Search Algorithm Iterating too many times";
inline constexpr std::string_view kLocalMinimum =
    "Training algorithm has stopped in a (possibly local) minima";
inline constexpr std::string_view kNoActiveDataSet = "No Data Set is loaded";
inline constexpr std::string_view kNoActiveNetwork = "No Network is loaded";
inline constexpr std::string_view kNoNetworkToRestore = "No network to restore";
inline constexpr std::string_view kNoTrainingCases =
    "The current Data Set contains no Training cases";
inline constexpr std::string_view kOutputLayerMismatch =
    "The Network's output layer does not match its output variables";
inline constexpr std::string_view kSoftmaxEntropyUnpaired =
    "Cannot train a Softmax output with multiple node cross-entropy set after the network was "
    "built: rebuild or reload the network";
inline constexpr std::string_view kStoppingConditionNotANumber =
    "Stopping condition is not a number";
inline constexpr std::string_view kStoppingWindowNegative = "Stopping window cannot be negative";
inline constexpr std::string_view kTrainingNeedsTwoLayers =
    "At least two layers required in Network";
inline constexpr std::string_view kWeigendLambdaOutOfRange =
    "Weigend lambda must be a number not below 0";
inline constexpr std::string_view kWeigendScaleOutOfRange =
    "Weigend scale must be a number above 0";

// Result statistics.
inline constexpr std::string_view kRocNeedsTwoState =
    "Can only calculate ROC curve using networks with the Two-state output conversion function";
inline constexpr std::string_view kSensitivityNoCases =
    "The current Data Set contains no Training or Verification cases";
inline constexpr std::string_view kSensitivitySingleInput =
    "Cannot conduct sensitivity analysis on a network with only a single input variable";
inline constexpr std::string_view kNoRunResults =
    "There are no results of this Network on this Data Set: run it over the Data Set first";
inline constexpr std::string_view kNoSensitivityResults =
    "There is no sensitivity analysis of this Network: analyse it first";

// One-shot training: pseudo-inverse, probabilistic, regression and principal
// components.
inline constexpr std::string_view kLinearOutputLayerNeeded =
    "This algorithm can only be used on Networks with a Linear output layer";
inline constexpr std::string_view kWrongNetworkType =
    "This algorithm cannot be used on this type of Network";
inline constexpr std::string_view kThreeLayersNeeded = "At least three layers required in network";
inline constexpr std::string_view kPnnOutputVariable =
    "Data Set must have one nominal-valued output variable which matches the network output to use "
    "PNN training";
inline constexpr std::string_view kPnnClassUnits =
    "A Probabilistic network must have the same number of Radial Units as Training cases";
inline constexpr std::string_view kLossLayerNotSquare = "Loss matrix layer must be square";
inline constexpr std::string_view kFewerCasesThanRadialUnits =
    "There must be more Training cases than Radial Units to use this algorithm";
inline constexpr std::string_view kExcessTrainingCases =
    "Network not big enough to use all training cases: ignoring excess ones";
inline constexpr std::string_view kNetworkTrainedTesting = "Network trained: testing cases";
inline constexpr std::string_view kRegressionFourLayers =
    "Network must have exactly four layers to use regression training";
inline constexpr std::string_view kWrongRegressionUnits =
    "Cannot train network as it has the wrong number of regression units";
inline constexpr std::string_view kSmoothingOutOfRange =
    "Smoothing factor must be a number above 0";
inline constexpr std::string_view kPriorOutOfRange = "Class priors must be numbers not below 0";
inline constexpr std::string_view kPcaNeedsLinearLayer =
    "Only Linear networks can be trained using Principal Components Analysis";
inline constexpr std::string_view kPcaStageScatter =
    "Stage 1 of 4: Calculating Auto-correlation matrix";
inline constexpr std::string_view kPcaStageReduce = "Stage 2 of 4: Reducing Autocorrelation matrix";
inline constexpr std::string_view kPcaStageEigen = "Stage 3 of 4: Determining Principal Components";
inline constexpr std::string_view kPcaStageSort = "Stage 4 of 4: Sorting Components";
inline constexpr std::string_view kPcaNotConverged = "PCA Algorithm failed to converge";
// "Stage %d of 6" (see WithNumber).
inline constexpr std::string_view kPseudoInverseStage = "Stage %d of 6";
// Radial and self-organising training, and the labelling of radial units.
inline constexpr std::string_view kRadialLayerNeeded =
    "This algorithm can only be used on Networks with a Radial layer";
inline constexpr std::string_view kCentreAssignmentNote =
    "Center assignment probably inappropriate for this network (continuing anyway)";
inline constexpr std::string_view kTrainingFinished = "Training Finished";
inline constexpr std::string_view kDeviationNotPositive = "The deviation must be a number above 0";
inline constexpr std::string_view kIsotropicNeedsDistinctCentres =
    "Isotropic deviation needs at least two radial units whose centres differ";
inline constexpr std::string_view kNeighboursNotPositive =
    "The number of neighbours must be at least 1";
inline constexpr std::string_view kMethodOutOfRange = "Method out of range";
inline constexpr std::string_view kLvqNominalOutput =
    "The network output variable must be nominal to use Learned Vector Quantization";
inline constexpr std::string_view kLvqNoDataOutput =
    "The Data Set must have an output variable to use Learned Vector Quantization";
inline constexpr std::string_view kLvqDivergence =
    "The LVQ algorithm has stopped prematurely because the weights are diverging rapidly. Ensure "
    "you have assigned centres sensibly using a clustering algorithm, and consider lowering the "
    "learning rate, before executing this algorithm again.";
inline constexpr std::string_view kLabelsNeedNominalOutput =
    "There must be at least one output variable in the data set, and the first one must be "
    "nominal-valued, to use the KL-Nearest algorithm";

// Input selection and the genetic search it runs.
inline constexpr std::string_view kSelectionNoOutput =
    "Data Set must have at least one output variable to do input feature selection";
inline constexpr std::string_view kSelectionNoInput =
    "Data Set must have both input and output variables to use the Input Feature Selection "
    "Algorithms";
inline constexpr std::string_view kSelectionOneVariable =
    "Data Set has only one (Input/Output) variable. The Input Selection Algorithm cannot be used "
    "for Time Series problems";
inline constexpr std::string_view kSelectionTooFewCases =
    "There are not enough training and verification cases to use Genetic Algorithm input "
    "selection";
inline constexpr std::string_view kSamplingRateOutOfRange = "Sampling rate out of range";
inline constexpr std::string_view kPopulationOutOfRange = "Population size must be at least 1";
inline constexpr std::string_view kGenerationsOutOfRange =
    "Number of generations cannot be negative";
inline constexpr std::string_view kUsingExhaustiveSearch =
    "Using exhaustive evaluation (no. inputs small)";
inline constexpr std::string_view kNoMaskToApply =
    "You must generate a mask using the options above before applying it";
inline constexpr std::string_view kReplacementRateProportion =
    "Replacement Rate must be in the range [0,1] if replacement_rate_type is proportion";
inline constexpr std::string_view kReplacementExceedsPool =
    "Replacement Rate cannot exceed pool size";
inline constexpr std::string_view kBiasedFitnessNotPositive =
    "A biased fitness of zero was found; should be strictly positive";
inline constexpr std::string_view kScaledBiasOverridden =
    "Need bias > 1.0 for scaled fitness normalisation; overriding to 2.0";
inline constexpr std::string_view kRankedBiasOverridden =
    "Need bias > 1.0 for ranked fitness normalisation; overriding to 2.0";
inline constexpr std::string_view kGeometricBiasOverridden =
    "Need bias > 0.0, not equal 1.0 for geometric ranked fitness normalisation; overriding to 2.0";
inline constexpr std::string_view kMeanScaleBiasOverridden =
    "Need bias > 1.0 for mean scale normalisation; overriding to 2.0";

// The code generator. The original texts end in a line end, which the
// reporting adds here.
inline constexpr std::string_view kCodegenNoNetwork =
    "Internal error: code generator enabled with no current network";
inline constexpr std::string_view kCodegenNoFileName =
    "Internal error: code generator enabled with no file name";
inline constexpr std::string_view kCodegenNoPrefix =
    "Internal error: code generator enabled with no prefix";
inline constexpr std::string_view kCannotCreateDumpFile = "Can't create dump file";
inline constexpr std::string_view kProcessingFailed = "Processing failed";
inline constexpr std::string_view kCodegenPrefixNotIdentifier =
    "The name prefix must be a C identifier: a letter or _, then letters, digits or _";
// "%d" is the fragment's number (see WithNumber).
inline constexpr std::string_view kCodegenMissingFragment =
    "The code template has no fragment %d, which this network needs";

// The automatic design search.
inline constexpr std::string_view kSolverNeedsRoles =
    "You must have both input and output variables defined to use the wizard";
inline constexpr std::string_view kCannotCreateTemporarySet =
    "Internal error: cannot create temporary file for network editing";
inline constexpr std::string_view kSolverNothingToTry =
    "At least one architecture must be chosen when there is no iteration budget";
inline constexpr std::string_view kSolverBudget = "The iteration budget must be 0 or more";
inline constexpr std::string_view kSolverHiddenUnits =
    "Hidden layer sizes must be at least 1 (or -1 for automatic sizes)";
inline constexpr std::string_view kSolverTemporaryCapacity =
    "The temporary network set must hold at least one network";
inline constexpr std::string_view kSolverWhenFull =
    "The temporary network set's when-full choice must be 0 or 1";
inline constexpr std::string_view kSolverProportions =
    "The training and verification proportions must be numbers";

}  // namespace tavrin
