// Every refusal the header documents. The checks it names for every export
// taking a network or a data set (handles, layer, unit, variable and case
// numbers, null out-arguments) run over the export list; each export's own
// messages are rows of a table. A call breaks its check and, where it can,
// every later one, so the message shows which check comes first; and a
// refused call leaves the slots, their contents and the caller's buffers as
// they were.

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "export_list.h"
#include "library_test_support.h"
#include "slot_snapshot.h"

namespace nrx_test {
namespace {

// Slot 0 holds a network and a data set of the same variables; slot 1 is empty.
constexpr int32_t kNet = 0;
constexpr int32_t kDs = 0;
constexpr int32_t kEmpty = 1;

// A caller's array that a refused run must not write, and the training
// errors, which a refusal sets to 0.
std::array<double, 8> caller_array;
double errors[2];
double* const kOut = caller_array.data();

const std::string kTooLong(NRX_MAX_NAME_LENGTH + 1, 'n');
const double kNan = std::nan("");
const double kNanRow[3] = {1.0, 1.0, kNan};
const int32_t kSizes[2] = {1, 1};

constexpr const char* kNull = "Output argument cannot be NULL";
constexpr const char* kVariable = "Variable number out of range";
constexpr const char* kCase = "Case number out of range";
constexpr const char* kTooLongName = "Name too long: at most 255 characters";
constexpr const char* kMemory = "Not enough memory to perform operation";
constexpr const char* kNominal = "Nominal number out of range";

auto Capture() {
  return std::tuple{NetworkSnapshot(kNet), DataSetSnapshot(kDs), FilledSlots(), caller_array};
}

class NrxContractTest : public LibraryTest {
 protected:
  void SetUp() override {
    // Layers 6, 2, 1: inputs 0 (numeric) and 1 (two values, One-of-N) over two
    // steps, output 2; with lookahead 1, cases 0 and 1 come too early to run.
    ASSERT_EQ((Design{.no_inputs = 2,
                      .units = {1, 2, 1},
                      .nominals = {0, 2, 0},
                      .conversions = {0, 1, 0},
                      .steps = 2,
                      .lookahead = 1}
                   .Create()),
              kNet)
        << ErrorText();
    // Variables 0 .. 2 (1 with two values), cases 0 .. 3.
    ASSERT_EQ(NRXCreateDataSet(2, 1), kDs);
    Ok(NRXAddDataCases(kDs, -1, 3));
    Ok(NRXSetDataNoNominals(kDs, 1, 2));
    caller_array.fill(-7.0);
  }
};

struct Refusal {
  const char* message;
  int32_t (*call)();
  const char* text;
  int32_t failure;  // -1 for the calls that fill a slot
};

// clang-format off
#define REFUSED(message, ...) Refusal{message, [] { return __VA_ARGS__; }, #__VA_ARGS__, 0}
#define NO_SLOT(message, ...) Refusal{message, [] { return __VA_ARGS__; }, #__VA_ARGS__, -1}
// clang-format on

// Each export's own messages, in its documented order.
const Refusal kRefusals[] = {
    // Data sets.
    NO_SLOT("Number of inputs out of bounds", NRXCreateDataSet(-1, -1)),
    NO_SLOT("Number of outputs out of bounds", NRXCreateDataSet(0, -1)),
    NO_SLOT("A Data Set must have at least one variable", NRXCreateDataSet(0, 0)),
    NO_SLOT(kMemory, NRXCreateDataSet(INT32_MAX, INT32_MAX)),
    NO_SLOT("No input file name given", NRXLoadDataSet(nullptr, 9, 0, 0, '1', nullptr)),
    NO_SLOT("Cannot open Data Set file for reading: x: No such file or directory",
            NRXLoadDataSet("/none/x", 1, 0, 0, ',', nullptr)),
    REFUSED("No output file name given", NRXSaveDataSet(kDs, nullptr, 9, 0, 0, 0, ',')),
    REFUSED("File format out of range", NRXSaveDataSet(kDs, "/none/x", 4, 0, 0, 0, ',')),
    REFUSED("Couldn't open specified file for writing: x: No such file or directory",
            NRXSaveDataSet(kDs, "/none/x", 1, 0, 0, 0, ',')),
    REFUSED("To retrieve a variable name you must allocate some space",
            NRXGetDataVariableName(kDs, 0, nullptr)),
    REFUSED(kTooLongName, NRXSetDataVariableName(kDs, 2, kTooLong.c_str())),
    REFUSED("To retrieve a case name you must allocate some space",
            NRXGetDataCaseName(kDs, 0, nullptr)),
    REFUSED("Output array cannot be NULL", NRXGetDataCase(kDs, 0, nullptr)),
    REFUSED("Input array cannot be NULL", NRXSetDataCase(kDs, 0, nullptr)),
    REFUSED("Data value is not a finite number", NRXSetDataCase(kDs, 3, kNanRow)),
    REFUSED("Data number out of range", NRXGetDataEntry(kDs, 4, 0, nullptr)),
    REFUSED("Data number out of range", NRXGetDataEntry(kDs, 0, 3, nullptr)),
    REFUSED("Data number out of range", NRXSetDataEntry(kDs, 0, 3, kNan)),
    REFUSED("Data value is not a finite number", NRXSetDataEntry(kDs, 3, 2, -HUGE_VAL)),
    REFUSED(kVariable, NRXAddDataVariables(kDs, 3, 0)),
    REFUSED("Number of variables out of range", NRXAddDataVariables(kDs, -1, 0)),
    REFUSED(kVariable, NRXDeleteDataVariables(kDs, 3, 0)),
    REFUSED("Number of variables out of range", NRXDeleteDataVariables(kDs, 1, 3)),
    REFUSED(kCase, NRXAddDataCases(kDs, 4, 0)),
    REFUSED("Number of cases out of range", NRXAddDataCases(kDs, -1, 0)),
    REFUSED(kCase, NRXDeleteDataCases(kDs, 4, 0)),
    REFUSED("Number of Cases out of range", NRXDeleteDataCases(kDs, 0, 0)),
    REFUSED("Number of Cases out of range", NRXDeleteDataCases(kDs, -1, 5)),
    REFUSED("Cannot Cut all cases", NRXDeleteDataCases(kDs, -1, 4)),
    REFUSED("Number of Cases out of range", NRXSetDataCaseTypes(kDs, 2, 3, 9)),
    REFUSED("Case type out of range", NRXSetDataCaseTypes(kDs, 0, 4, 4)),
    REFUSED("Number of Variables out of range", NRXSetDataVariableTypes(kDs, 1, 3, 9)),
    REFUSED("Variable type out of range", NRXSetDataVariableTypes(kDs, 0, 3, 4)),
    REFUSED(kNominal, NRXGetDataNominal(kDs, 1, 2, nullptr)),
    REFUSED("To retrieve a nominal name you must allocate some space",
            NRXGetDataNominal(kDs, 1, 1, nullptr)),
    REFUSED("Blank nominal names are not permitted", NRXSetDataNominal(kDs, 1, 1, nullptr)),
    REFUSED("Shuffle mode out of range", NRXShuffleDataSet(kDs, 5)),

    // Whole networks.
    NO_SLOT("Number of layers out of bounds",
            NRXCreateNetwork(9, -1, -1, -1, -1, 0, nullptr, nullptr, nullptr, nullptr)),
    NO_SLOT("Number of inputs out of bounds",
            NRXCreateNetwork(9, -1, -1, 2, -1, 0, nullptr, nullptr, nullptr, nullptr)),
    NO_SLOT("Number of outputs out of bounds",
            NRXCreateNetwork(9, 0, -1, 2, -1, 0, nullptr, nullptr, nullptr, nullptr)),
    NO_SLOT("Layer unit and width arrays cannot be NULL",
            NRXCreateNetwork(9, 0, 0, 2, -1, 0, nullptr, nullptr, nullptr, kSizes)),
    // Units then width, layer by layer; the largest size is still taken.
    NO_SLOT(
        "Width of layer out of bounds",
        Design{.design = 9, .units = {0x20000000, 0x20000001}, .widths = {0x20000001, 1}}.Create()),
    NO_SLOT("Number of units out of bounds",
            Design{.design = 9, .units = {1, 0x20000001}, .widths = {0x20000000, -1}}.Create()),
    NO_SLOT("Network design code out of range",
            Design{.design = 6, .units = {1}, .steps = 0}.Create()),
    NO_SLOT("A Network must have at least two layers",
            Design{.units = {1}, .steps = 0, .lookahead = -1}.Create()),
    NO_SLOT("Number of steps out of bounds", Design{.steps = 0, .lookahead = -1}.Create()),
    NO_SLOT("Lookahead out of bounds",
            Design{.no_inputs = INT32_MAX, .conversions = {7, 7}, .lookahead = -1}.Create()),
    NO_SLOT(kMemory, Design{.no_inputs = INT32_MAX}.Create()),
    NO_SLOT(kMemory, Design{.no_inputs = 100000, .steps = 100000}.Create()),
    NO_SLOT("Conversion function number out of range",
            Design{.nominals = {INT32_MAX, 0}, .conversions = {6, 0}}.Create()),
    NO_SLOT("Conversion function number out of range", Design{.conversions = {0, 7}}.Create()),
    NO_SLOT("Not enough memory to create new Network",
            Design{.nominals = {1 << 19, (1 << 19) + 1}}.Create()),
    NO_SLOT("A Kohonen network must have exactly two layers",
            Design{.design = NRX_DESIGN_KOHONEN, .units = {1, 1, 1}}.Create()),
    NO_SLOT(kMemory, Design{.units = {1, 0x20000000, 0x20000000}}.Create()),
    REFUSED("Network index out of range", NRXAppendNetwork(kNet, 64)),
    REFUSED("No Network loaded with this index", NRXAppendNetwork(kNet, kEmpty)),
    REFUSED("Input and output arrays cannot be NULL", NRXRunNetwork(kNet, 9, nullptr, kOut)),
    REFUSED("Output type out of range", NRXRunNetwork(kNet, 4, kOut, kOut)),
    REFUSED("Pattern number out of range", NRXRunNetworkFromDataSet(kNet, kDs, 4, 9, nullptr)),
    REFUSED("Pattern number too small for the network's steps and lookahead",
            NRXRunNetworkFromDataSet(kNet, kDs, 1, 9, nullptr)),
    REFUSED("Output type out of range", NRXRunNetworkFromDataSet(kNet, kDs, 2, 5, nullptr)),
    REFUSED("Output array cannot be NULL", NRXRunNetworkFromDataSet(kNet, kDs, 2, 4, nullptr)),

    // Layers, units and weights.
    REFUSED("Activation function number out of range", NRXSetNetworkLayerAct(kNet, 2, 10)),
    REFUSED("PSP function number out of range", NRXSetNetworkLayerPSP(kNet, 2, 3)),
    REFUSED("Error function number out of range", NRXSetNetworkErrorFunction(kNet, 5)),
    REFUSED("To retrieve a unit name you must allocate some space",
            NRXGetNetworkUnitName(kNet, 1, 1, nullptr)),
    REFUSED(kTooLongName, NRXSetNetworkUnitName(kNet, 1, 1, kTooLong.c_str())),
    REFUSED("Only connections between successive layers can be set",
            NRXGetNetworkWeight(kNet, INT32_MAX, 0, INT32_MIN, 0, nullptr)),
    REFUSED("Specified layer out of range", NRXGetNetworkWeight(kNet, 2, 9, 3, 9, nullptr)),
    REFUSED("Specified unit out of range", NRXGetNetworkWeight(kNet, 0, 6, 1, 0, nullptr)),
    REFUSED("Specified unit out of range", NRXSetNetworkWeight(kNet, 1, 1, 2, 1, 1.0)),
    REFUSED("Offset out of range", NRXAddNetworkUnits(kNet, 1, 2, 0)),
    REFUSED("Number of units out of range", NRXAddNetworkUnits(kNet, 1, -1, 0)),
    REFUSED("Offset out of range", NRXDeleteNetworkUnits(kNet, 1, 1, 0)),
    REFUSED("Number of units out of range", NRXDeleteNetworkUnits(kNet, 1, 0, 0)),
    REFUSED("Number of units out of range", NRXDeleteNetworkUnits(kNet, 0, 2, INT32_MAX)),

    // Variables and their coding.
    REFUSED("Offset out of range", NRXAddNetworkInputVariables(kNet, 3, 0)),
    REFUSED("Number of variables out of range", NRXAddNetworkInputVariables(kNet, 2, 0)),
    REFUSED("Cannot add output variables at position 0", NRXAddNetworkOutputVariables(kNet, 0, 0)),
    REFUSED("Offset out of range", NRXAddNetworkOutputVariables(kNet, 2, 0)),
    REFUSED("Number of variables out of range", NRXAddNetworkOutputVariables(kNet, 1, 0)),
    REFUSED("Offset or no out of range", NRXDeleteNetworkInputVariables(kNet, 1, 2)),
    REFUSED("Offset or no out of range", NRXDeleteNetworkInputVariables(kNet, 0, 0)),
    REFUSED(kNominal, NRXSetNetworkNominal(kNet, 1, 2, nullptr)),
    REFUSED("Blank nominal names are not permitted", NRXSetNetworkNominal(kNet, 1, 1, nullptr)),
    REFUSED("Conversion function number out of range", NRXSetNetworkConvertFunction(kNet, 1, 6)),
    REFUSED("Missing value substitution function number out of range",
            NRXSetNetworkMissingFunction(kNet, 2, 5)),
    REFUSED("Normalisation function number out of range", NRXSetNetworkInputNormFunction(kNet, 3)),
    REFUSED("Normalisation function number out of range", NRXSetNetworkOutputNormFunction(kNet, 6)),
    REFUSED("Number of steps out of bounds", NRXSetNetworkSteps(kNet, 0)),
    REFUSED("Lookahead out of bounds", NRXSetNetworkLookahead(kNet, -1)),

    // Training.
    REFUSED("Layer number out of bounds", NRXReinitializeNetwork(kNet, 9, 3, 0, 0)),
    REFUSED(kNull, NRXBackPropagation(kNet, kDs, -1, 0, 0, 0, kNan, 0, 0, 0, 0, nullptr, errors)),
    REFUSED("Number of epochs out of range",
            NRXBackPropagation(kNet, kDs, -1, 0, 0, 0, kNan, 0, 0, 0, 0, errors, errors + 1)),
    REFUSED("Momentum is not a finite number",
            NRXBackPropagation(kNet, kDs, 0, 0, 0, 0, 0, 0, 0, kNan, 0, errors, errors + 1)),
    REFUSED(kNull, NRXConjugateGradients(kNet, kDs, -1, 0, 0, errors, nullptr)),
    REFUSED("Number of epochs out of range",
            NRXConjugateGradients(kNet, kDs, -1, 0, 0, errors, errors + 1)),
    REFUSED(kNull, NRXQuasiNewton(kNet, kDs, -1, 0, 0, nullptr, errors)),
    REFUSED("Number of epochs out of range",
            NRXQuasiNewton(kNet, kDs, -1, 0, 0, errors, errors + 1)),
    REFUSED(kNull, NRXLevenbergMarquardt(kNet, kDs, -1, 0, 0, errors, nullptr)),
    REFUSED("Number of epochs out of range",
            NRXLevenbergMarquardt(kNet, kDs, -1, 0, 0, errors, errors + 1)),
    REFUSED("Method out of range",
            NRXLVQ(kNet, kDs, 0, 0, 0, 0, 3, kNan, kNan, kNan, kNan, errors, errors + 1)),
    REFUSED("Learning rate is not a finite number",
            NRXLVQ(kNet, kDs, 0, 0, 0, 0, 2, kNan, 0, 0, 0, errors, errors + 1)),
    REFUSED("This algorithm can only be used on Networks with a Radial layer",
            NRXLVQ(kNet, kDs, 0, 0, 0, 0, 0, 0, 0, 0, 0, errors, errors + 1)),
    REFUSED("This algorithm can only be used on Networks with a Radial layer",
            NRXExplicitDeviation(kNet, 0.0)),
    REFUSED("This algorithm can only be used on Networks with a Radial layer",
            NRXKNearestClassLabel(kNet, kDs, 0, 0)),
    REFUSED(kNull, NRXRegressionTrain(kNet, kDs, kNan, nullptr, errors)),
};

TEST_F(NrxContractTest, EachExportsOwnRefusals) {
  const auto before = Capture();
  for (const Refusal& r : kRefusals) {
    nrx::LastError().Record("(mark)");
    EXPECT_EQ(r.call(), r.failure) << r.text;
    EXPECT_EQ(ErrorText(), r.message) << r.text;
    EXPECT_TRUE(Capture() == before) << r.text << " changed something";
  }
}

// Exports that say "No Network ..." for an empty network slot.
constexpr std::string_view kCapitalNoNetwork =
    " AppendNetwork RunNetworkFromDataSet GetNetworkVariableName SetNetworkVariableName"
    " GetNetworkNoNominals SetNetworkNoNominals GetNetworkNominal SetNetworkNominal"
    " GetNetworkConvertFunction SetNetworkConvertFunction GetNetworkMissingFunction"
    " SetNetworkMissingFunction CalculateScaleFactors BackPropagation QuickPropagation"
    " DeltaBarDelta ConjugateGradients QuasiNewton LevenbergMarquardt Kohonen LVQ Subsample"
    " KMeans ExplicitDeviation IsotropicDeviation KNearestDeviation WinFrequencyClassLabel"
    " KNearestClassLabel PseudoInverse ProbabilisticTrain RegressionTrain PrincipalComponents"
    " SensitivityAnalysis ";

// Exports whose last pointer is an optional out-argument (null: not wanted).
constexpr std::string_view kOptionalOut = " PrincipalComponents ";

using Arguments = std::map<std::string, int32_t, std::less<>>;

// The checks the header names for every export taking "net" or "ds", by the
// parameters they look at: `arguments` breaks exactly this check.
struct CommonCheck {
  std::string_view first;      // the exports whose first parameter this is
  std::string_view parameter;  // and that take this one
  Arguments arguments;
  std::string_view message;
};

const CommonCheck kCommonChecks[] = {
    {"net", "net", {{"net", kSlots}}, "Network index out of range"},
    {"net", "net", {{"net", kEmpty}}, "No network loaded with this index"},
    {"net", "ds", {{"net", kNet}, {"ds", kSlots}}, "Data Set index out of range"},
    {"net", "ds", {{"net", kNet}, {"ds", kEmpty}}, "No Data Set loaded with this index"},
    {"net", "layer", {{"net", kNet}, {"layer", 3}}, "Layer number out of range"},
    {"net", "unit", {{"net", kNet}, {"layer", 2}, {"unit", 1}}, "Unit number out of range"},
    {"net", "variable", {{"net", kNet}, {"variable", 3}}, kVariable},
    {"ds", "ds", {{"ds", kSlots}}, "Data Set index out of range"},
    {"ds", "ds", {{"ds", kEmpty}}, "No Data Set loaded with this index"},
    {"ds", "variable", {{"ds", kDs}, {"variable", 3}}, kVariable},
    {"ds", "c", {{"ds", kDs}, {"c", 4}}, kCase},
};

// Every index valid, for the check of a null out-argument.
const Arguments kValid = {{"net", kNet},    {"ds", kDs},     {"layer", 2},  {"unit", 0},
                          {"variable", 2},  {"c", 3},        {"value", 1},  {"from_layer", 0},
                          {"from_unit", 0}, {"to_layer", 1}, {"to_unit", 0}};

// Where an export's documented text differs from the common one.
const std::map<std::string, std::string_view, std::less<>> kOwnText = {
    {"GetNetworkScaleFactor variable", "Attribute number out of range"},
    {"ReinitializeNetwork layer", "Layer number out of bounds"},
    {"GetDataVariableType variable", kCase},
    {"SortDataSet variable", "Data Set index out of range"},
    {"GetDataEntry variable", "Data number out of range"},
    {"GetDataEntry c", "Data number out of range"},
    {"SetDataEntry variable", "Data number out of range"},
    {"SetDataEntry c", "Data number out of range"},
    {"GetDataCase out", "Output array cannot be NULL"},
    {"RunNetwork out", "Input and output arrays cannot be NULL"},
    {"RunNetworkFromDataSet out", "Output type out of range"},
};

// Calls `form` with the `given` values for the parameters they name and every
// other argument bad: integers -2, reals NaN, pointers null.
template <typename Result, typename... P>
int32_t CallWith(Result(NRX_CALL* form)(P...), const std::vector<Parameter>& parameters,
                 const Arguments& given) {
  const auto argument = [&]<typename T>(std::size_t i) -> T {
    if constexpr (std::is_same_v<T, int32_t>) {
      const auto found = given.find(parameters[i].name);
      return found == given.end() ? -2 : found->second;
    } else if constexpr (std::is_same_v<T, double>) {
      return kNan;
    }
    return T{};
  };
  if constexpr (std::is_same_v<Result, int32_t>) {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
      return form(argument.template operator()<P>(I)...);
    }
    (std::index_sequence_for<P...>{});
  }
  return 0;
}

template <typename Form>
void ExpectCommonChecks(std::string_view name, std::string_view parameter_list, Form form) {
  const std::vector<Parameter> parameters = ParseParameters(parameter_list);
  const int32_t failure = name.starts_with("Copy") ? -1 : 0;
  const auto expect = [&](std::string_view check, const Arguments& arguments,
                          std::string_view message) {
    const auto own = kOwnText.find(std::string(name) + " " + std::string(check));
    if (own != kOwnText.end()) message = own->second;
    nrx::LastError().Record("(mark)");
    EXPECT_EQ(CallWith(form, parameters, arguments), failure) << name << " " << check;
    EXPECT_EQ(ErrorText(), message) << name << " " << check;
  };
  const auto takes = [&](std::string_view parameter) {
    return std::any_of(parameters.begin(), parameters.end(),
                       [&](const Parameter& p) { return p.name == parameter; });
  };
  if (parameters.empty()) return;
  for (const CommonCheck& check : kCommonChecks) {
    if (parameters[0].name != check.first || !takes(check.parameter)) continue;
    const bool capital = check.message.starts_with("No network") &&
                         kCapitalNoNetwork.find(" " + std::string(name) + " ") != std::string::npos;
    expect(check.parameter, check.arguments,
           capital ? "No Network loaded with this index" : check.message);
  }
  const std::string& last = parameters.back().type;
  const bool optional = kOptionalOut.find(" " + std::string(name) + " ") != std::string::npos;
  if ((last == "int32_t*" || last == "double*") && !optional) expect("out", kValid, kNull);
}

TEST_F(NrxContractTest, TheCommonChecksComeFirst) {
  const auto before = Capture();
#define NRX_EXPECT_COMMON_CHECKS(result, name, parameters, arguments) \
  ExpectCommonChecks(#name, #parameters, &NRX##name);
  NRX_CDECL_FORMS(NRX_EXPECT_COMMON_CHECKS)
#undef NRX_EXPECT_COMMON_CHECKS
  EXPECT_TRUE(Capture() == before);
}

// The out-arguments that a refusal does write, so that a caller who ignores
// the result reads nothing stale. The count, name and training exports each
// share the code that clears them.
TEST_F(NrxContractTest, CountsNamesAndTrainingErrorsAreClearedByARefusal) {
  int32_t count = 7;
  EXPECT_EQ(NRXGetDataNoTest(kEmpty, &count), 0);
  EXPECT_EQ(count, 0);
  char name[NRX_NAME_BUFFER_SIZE] = "stale";
  EXPECT_EQ(NRXGetDataVariableName(kDs, 3, name), 0);
  EXPECT_STREQ(name, "");
  errors[0] = errors[1] = 9.0;
  EXPECT_EQ(NRXQuickPropagation(kNet, kDs, -1, 0, 0, 0, 0, 0, errors, errors + 1), 0);
  EXPECT_EQ(std::pair(errors[0], errors[1]), std::pair(0.0, 0.0));
  errors[0] = errors[1] = 9.0;
  EXPECT_EQ(NRXProbabilisticTrain(kNet, kDs, 0.0, nullptr, errors, errors + 1), 0);
  EXPECT_EQ(std::pair(errors[0], errors[1]), std::pair(0.0, 0.0));
}

}  // namespace
}  // namespace nrx_test
