#pragma once

// The numbers of the template's fragments and merges, and the slots the
// generator fills; resources/codegen/README.md describes each for the people
// who write fragments.

namespace tavrin::fragment {

inline constexpr int kHeadC = 0;  // written with no merge callback
inline constexpr int kHeadCpp = 1;
inline constexpr int kWeights = 2;
inline constexpr int kThresholds = 3;
inline constexpr int kTables = 4;  // class labels, substitutes; opens the input coding
inline constexpr int kDecodeStart = 5;
inline constexpr int kEnd = 6;
inline constexpr int kHarness = 7;
inline constexpr int kInput = 8;            // + input kind, + 4 when steps is above 1: 8 .. 15
inline constexpr int kOutput = 16;          // + decoding kind: 16 .. 21
inline constexpr int kInputEnd = 22;        // closes the input coding
inline constexpr int kFeedback = 23;        // + the input layer's PSP kind: 23 .. 25
inline constexpr int kCombination = 26;     // + PSP kind: 26 .. 28
inline constexpr int kActivation = 30;      // + activation kind: 30 .. 39
inline constexpr int kClassification = 47;  // + 0 by error, 1 by confidence

enum InputKind { kPlainNumeric = 0, kScaledNumeric = 1, kTwoStateInput = 2, kOneOfNInput = 3 };
inline constexpr int kStepsKinds = 4;
enum OutputKind {
  kNumericOutput = 0,
  kNominalLinearOutput = 1,
  kTwoStateOutput = 2,
  kOneOfNOutput = 3,
  kKohonenWinnerOutput = 4,
  kKohonenVoteOutput = 5,
};

}  // namespace tavrin::fragment

namespace tavrin::merge {

inline constexpr int kWeights = 1;
inline constexpr int kThresholds = 2;
inline constexpr int kClassLabels = 3;
inline constexpr int kSubstitutes = 4;
inline constexpr int kLayerCalls = 5;
inline constexpr int kVariableNote = 6;  // per variable

}  // namespace tavrin::merge

namespace tavrin::slot {

inline constexpr int kPrefix = 0;
inline constexpr int kRawInputs = 1;
inline constexpr int kOutputs = 2;
inline constexpr int kInputUnits = 3;
inline constexpr int kOutputUnits = 4;
inline constexpr int kTotalUnits = 5;
inline constexpr int kWeightCount = 6;
inline constexpr int kSteps = 7;
inline constexpr int kAccept = 8;
inline constexpr int kReject = 9;
// Per variable (inputs, then outputs).
inline constexpr int kVariable = 10;  // input: number; output: number among outputs
inline constexpr int kRawIndex = 11;  // input: its first raw value; output: its first unit
inline constexpr int kScale = 12;
inline constexpr int kShift = 13;
inline constexpr int kValueUnits = 14;  // units one value takes
inline constexpr int kNominals = 15;
inline constexpr int kFirstCoded = 16;  // input: its first coded unit
inline constexpr int kSubstitute = 17;  // input: its first substitute
inline constexpr int kLow = 18;         // the coded value of "off" (MinMean)
inline constexpr int kHigh = 19;        // the coded value of "on" (MaxSD)
// Per layer.
inline constexpr int kLayer = 20;
inline constexpr int kLayerUnits = 21;
inline constexpr int kSources = 22;
inline constexpr int kFirstUnit = 23;
inline constexpr int kFirstSource = 24;
inline constexpr int kFirstWeight = 25;
// Whole network.
inline constexpr int kMissing = 30;
inline constexpr int kCodedInputs = 31;   // at least 1, an array size
inline constexpr int kCodedToLayer = 32;  // coded units the input layer takes
inline constexpr int kOutputFirstUnit = 33;
inline constexpr int kCodedOutputs = 34;  // at least 1, an array size
inline constexpr int kCodedInLayer = 35;  // coded outputs the output layer holds
inline constexpr int kLayerOneFirstUnit = 36;
inline constexpr int kLayerOneUnits = 37;  // at least 1, an array size
inline constexpr int kInputNormalisation = 38;
inline constexpr int kOutputNormalisation = 39;
inline constexpr int kNormalisedInLayer = 40;  // 1: outputs normalised in the layer itself

}  // namespace tavrin::slot
