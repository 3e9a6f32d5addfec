#include "codegen/code_generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <memory>
#include <ostream>

#include "codegen/fragment_expansion.h"
#include "codegen/fragment_numbers.h"
#include "common/file_access.h"
#include "common/messages.h"
#include "common/missing.h"
#include "common/safe_file_writer.h"
#include "network/stored_network.h"

namespace tavrin {
namespace {

constexpr double kOneOfN = static_cast<double>(ConversionFunction::kOneOfN);
constexpr double kTwoState = static_cast<double>(ConversionFunction::kTwoState);
constexpr double kKohonen = static_cast<double>(ConversionFunction::kKohonen);

bool IsIdentifier(std::string_view text) {
  const auto letter = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
  };
  if (text.empty() || !letter(text[0])) return false;
  return std::all_of(text.begin(), text.end(),
                     [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

int InputKind(const VariableCoding& c, int v) {
  using namespace fragment;
  int kind = kScaledNumeric;
  if (c.conversion[v] == kOneOfN) {
    kind = kOneOfNInput;
  } else if (c.conversion[v] == kTwoState) {
    kind = kTwoStateInput;
  } else if (c.scale[v] == 1.0 && c.shift[v] == 0.0) {
    kind = kPlainNumeric;
  }
  return c.steps > 1 ? kind + kStepsKinds : kind;
}

int OutputKind(const VariableCoding& c, int v) {
  using namespace fragment;
  const double conversion = c.conversion[v];
  if (conversion == kOneOfN) return kOneOfNOutput;
  if (conversion == kTwoState) return kTwoStateOutput;
  if (conversion == kKohonen) {
    return c.shift[v] == 0.0 && c.scale[v] == 1.0 ? kKohonenWinnerOutput : kKohonenVoteOutput;
  }
  return c.is_nominal(v) ? kNominalLinearOutput : kNumericOutput;
}

int LayerOneIndex(const Network& net) {
  return std::min(1, net.no_layers() - 1);
}

bool HasFeedback(const Network& net) {
  return net.no_layers() > 1 && !net.layers[0].connections[1].empty();
}

int NormalisationSlot(std::int32_t code) {
  return IsNormalisationCode(code, true) ? code : 0;
}

// Text of a name or nominal value that is safe inside a C comment.
std::string CommentText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '*' && i + 1 < text.size() && text[i + 1] == '/') {
      out += "* ";
    } else {
      out += (c >= ' ' && c <= '~') ? c : '?';
    }
  }
  return out;
}

// Walks the network in the order its source is written, filling the slots
// and handing each fragment number to `emit`.
class SourceWalk {
 public:
  using Emit = std::function<void(int fragment, bool merges)>;

  SourceWalk(const Network& net, const CodeOptions& options, Emit emit)
      : net_(net), c_(net.coding), options_(options), emit_(std::move(emit)) {}

  const SubstitutionTable& slots() const { return slots_; }
  int variable() const { return variable_; }

  void Run() {
    FillNetworkSlots();
    emit_(options_.cpp ? fragment::kHeadCpp : fragment::kHeadC, false);
    emit_(fragment::kWeights, true);
    emit_(fragment::kThresholds, true);
    emit_(fragment::kTables, true);
    int p = 0;
    for (int v = 0; v < c_.no_inputs; ++v) {
      FillInputSlots(v, p);
      emit_(fragment::kInput + InputKind(c_, v), true);
      p += c_.UnitCount(v);
    }
    emit_(fragment::kInputEnd, true);
    if (HasFeedback(net_)) {
      FillFeedbackSlots();
      emit_(fragment::kFeedback + static_cast<int>(net_.layers[0].psp_fn), true);
    }
    for (int l = 1; l < net_.no_layers(); ++l) {
      FillLayerSlots(l);
      emit_(fragment::kCombination + static_cast<int>(net_.layers[l].psp_fn), true);
      emit_(fragment::kActivation + static_cast<int>(net_.layers[l].act_fn), true);
    }
    emit_(fragment::kClassification + (c_.classify_by != 0 ? 1 : 0), true);
    emit_(fragment::kDecodeStart, true);
    p = 0;
    for (int i = 0; i < c_.no_outputs; ++i) {
      const int v = c_.no_inputs + i;
      FillOutputSlots(i, v, p);
      emit_(fragment::kOutput + OutputKind(c_, v), true);
      p += c_.UnitCount(v);
    }
    emit_(fragment::kEnd, true);
    if (options_.harness) emit_(fragment::kHarness, true);
  }

 private:
  void Set(int slot, std::int64_t value) { slots_[slot] = std::to_string(value); }
  void SetReal(int slot, double value) { slots_[slot] = CReal(value); }

  std::int64_t FirstUnit(int layer) const {
    std::int64_t first = 0;
    for (int l = 0; l < layer; ++l) first += net_.layers[l].no_units;
    return first;
  }

  void FillNetworkSlots() {
    using namespace slot;
    const Layer& input = net_.layers[0];
    const Layer& output = net_.output_layer();
    const std::int64_t coded = std::int64_t{c_.no_normed_inputs} * c_.steps;
    slots_[kPrefix] = options_.prefix;
    Set(kRawInputs, std::int64_t{c_.no_inputs} * c_.steps);
    Set(kOutputs, c_.no_outputs);
    Set(kInputUnits, input.no_units);
    Set(kOutputUnits, output.no_units);
    Set(kTotalUnits, std::max<std::int64_t>(1, FirstUnit(net_.no_layers())));
    std::int64_t weights =
        HasFeedback(net_) ? static_cast<std::int64_t>(input.connections[1].weights.size()) : 0;
    for (int l = 1; l < net_.no_layers(); ++l) {
      weights += static_cast<std::int64_t>(net_.layers[l].connections[l - 1].weights.size());
    }
    Set(kWeightCount, weights);
    Set(kSteps, c_.steps);
    SetReal(kAccept, c_.accept);
    SetReal(kReject, c_.reject);
    SetReal(kMissing, MISSING);
    Set(kCodedInputs, std::max<std::int64_t>(1, coded));
    Set(kCodedToLayer, std::min<std::int64_t>(input.no_units, coded));
    Set(kOutputFirstUnit, FirstUnit(net_.no_layers() - 1));
    Set(kCodedOutputs, std::max(1, c_.no_normed_outputs));
    Set(kCodedInLayer, std::min(output.no_units, c_.no_normed_outputs));
    Set(kLayerOneFirstUnit, FirstUnit(LayerOneIndex(net_)));
    Set(kLayerOneUnits, std::max(1, net_.layers[LayerOneIndex(net_)].no_units));
    Set(kInputNormalisation, NormalisationSlot(c_.input_normalisation));
    Set(kOutputNormalisation, NormalisationSlot(c_.output_normalisation));
    Set(kNormalisedInLayer, output.no_units >= c_.no_normed_outputs ? 1 : 0);
  }

  void FillVariableSlots(int number, int v) {
    using namespace slot;
    variable_ = v;
    Set(kVariable, number);
    SetReal(kScale, c_.scale[v]);
    SetReal(kShift, c_.shift[v]);
    Set(kValueUnits, c_.UnitCount(v));
    Set(kNominals, c_.no_nominals(v));
    SetReal(kLow, c_.min_mean[v]);
    SetReal(kHigh, c_.max_sd[v]);
  }

  void FillInputSlots(int v, int p) {
    using namespace slot;
    FillVariableSlots(v, v);
    Set(kRawIndex, std::int64_t{v} * c_.steps);
    Set(kFirstCoded, std::int64_t{p} * c_.steps);
    Set(kSubstitute, p);
  }

  void FillOutputSlots(int i, int v, int p) {
    FillVariableSlots(i, v);
    Set(slot::kRawIndex, p);
  }

  // The feedback block of layer 0 comes first among the weights.
  void FillFeedbackSlots() {
    using namespace slot;
    const Connection& block = net_.layers[0].connections[1];
    Set(kLayer, 0);
    Set(kLayerUnits, std::min(net_.layers[0].no_units, block.no_to));
    Set(kSources, block.no_from);
    Set(kFirstUnit, 0);
    Set(kFirstSource, FirstUnit(1));
    Set(kFirstWeight, 0);
    next_weight_ = static_cast<std::int64_t>(block.weights.size());
  }

  void FillLayerSlots(int l) {
    using namespace slot;
    const Connection& block = net_.layers[l].connections[l - 1];
    Set(kLayer, l);
    Set(kLayerUnits, net_.layers[l].no_units);
    Set(kSources, block.no_from);
    Set(kFirstUnit, FirstUnit(l));
    Set(kFirstSource, FirstUnit(l - 1));
    Set(kFirstWeight, next_weight_);
    next_weight_ += static_cast<std::int64_t>(block.weights.size());
  }

  const Network& net_;
  const VariableCoding& c_;
  const CodeOptions& options_;
  Emit emit_;
  SubstitutionTable slots_;
  int variable_ = -1;
  std::int64_t next_weight_ = 0;
};

// Writes the generated arrays and lists that fragments ask for by merge number.
class Merges {
 public:
  Merges(const Network& net, const CodeOptions& options, const SourceWalk& walk)
      : net_(net), options_(options), walk_(walk) {}

  void operator()(int number, std::ostream& out) const {
    switch (number) {
      case merge::kWeights:
        Weights(out);
        return;
      case merge::kThresholds:
        Thresholds(out);
        return;
      case merge::kClassLabels:
        ClassLabels(out);
        return;
      case merge::kSubstitutes:
        Items(out, net_.coding.substitutes.data(), net_.coding.no_normed_inputs);
        if (net_.coding.no_normed_inputs == 0) out << '0';
        return;
      case merge::kLayerCalls:
        LayerCalls(out);
        return;
      case merge::kVariableNote:
        VariableNote(out);
        return;
      default:
        out << "\n#error \"the template asks for merge " << number << ", which there is not\"\n";
        return;
    }
  }

 private:
  static void Items(std::ostream& out, const double* values, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) out << CReal(values[i]) << ", ";
  }

  static void Block(std::ostream& out, int layer, const Connection& block) {
    out << "\n/* layer " << layer << " */\n";
    for (int u = 0; u < block.no_to; ++u) {
      Items(out, block.row(u), block.no_from);
      out << '\n';
    }
  }

  void Weights(std::ostream& out) const {
    bool any = false;
    if (HasFeedback(net_)) {
      Block(out, 0, net_.layers[0].connections[1]);
      any = true;
    }
    for (int l = 1; l < net_.no_layers(); ++l) {
      const Connection& block = net_.layers[l].connections[l - 1];
      Block(out, l, block);
      any = any || !block.weights.empty();
    }
    if (!any) out << '0';
  }

  void Thresholds(std::ostream& out) const {
    for (int l = 0; l < net_.no_layers(); ++l) {
      out << "\n/* layer " << l << " */\n";
      Items(out, net_.layers[l].thresholds.data(), net_.layers[l].no_units);
    }
  }

  void ClassLabels(std::ostream& out) const {
    const Layer& layer = net_.layers[LayerOneIndex(net_)];
    Items(out, layer.classes.data(), layer.no_units);
    if (layer.no_units == 0) out << '0';
  }

  void LayerCalls(std::ostream& out) const {
    if (HasFeedback(net_)) out << "  " << options_.prefix << "Feedback();\n";
    for (int l = 1; l < net_.no_layers(); ++l) {
      out << "  " << options_.prefix << "Layer" << l << "();\n";
    }
  }

  void VariableNote(std::ostream& out) const {
    const VariableCoding& c = net_.coding;
    const int v = walk_.variable();
    if (v < 0) return;
    out << "/* " << (c.is_output(v) ? "output" : "input");
    if (!c.variable_names[v].empty()) out << " \"" << CommentText(c.variable_names[v]) << '"';
    if (c.is_nominal(v)) {
      out << ", values";
      for (int k = 0; k < c.no_nominals(v); ++k) {
        out << (k == 0 ? " " : ", ") << k + 1 << " \"" << CommentText(c.nominals[v][k]) << '"';
      }
    }
    out << " */";
  }

  const Network& net_;
  const CodeOptions& options_;
  const SourceWalk& walk_;
};

}  // namespace

std::string CReal(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "(-NAN)" : "NAN";
  if (std::isinf(value)) return value < 0.0 ? "(-HUGE_VAL)" : "HUGE_VAL";
  char text[96];
  const auto end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, 40).ptr;
  std::string out(text, end);
  if (out.find_first_of(".e") == std::string::npos) out += ".0";
  return out;
}

std::vector<int> NeededFragments(const Network& network, const CodeOptions& options) {
  std::vector<int> numbers;
  SourceWalk walk(network, options, [&](int number, bool) { numbers.push_back(number); });
  walk.Run();
  return numbers;
}

Status GenerateCode(const Network* network, const CodeOptions& options) {
  if (network == nullptr) return Fail(kCodegenNoNetwork);
  if (options.output.empty()) return Fail(kCodegenNoFileName);
  if (options.prefix.empty()) return Fail(kCodegenNoPrefix);
  if (!IsIdentifier(options.prefix)) return Fail(kCodegenPrefixNotIdentifier);

  const std::unique_ptr<std::istream> in =
      OpenSizedForReading(options.template_file, kProcessingFailed);
  if (!in) return Status::Failed();
  const std::optional<CodeTemplate> code_template = ReadCodeTemplate(*in);
  if (!code_template) return Status::Failed();
  for (int number : NeededFragments(*network, options)) {
    if (!code_template->has(number)) {
      return Fail(WithNumber(kCodegenMissingFragment, number));
    }
  }

  SafeFileWriter file;
  if (!file.Open(options.output, kCannotCreateDumpFile)) return Status::Failed();
  std::ostream& out = file.stream();
  MergeCallback merge;
  SourceWalk walk(*network, options, [&](int number, bool merges) {
    ExpandFragment(code_template->fragment(number), walk.slots(), merges ? &merge : nullptr, out);
  });
  merge = Merges(*network, options, walk);
  walk.Run();
  return file.Commit(kCannotCreateDumpFile);
}

}  // namespace tavrin
