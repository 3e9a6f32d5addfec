#include <fstream>
#include <ios>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/ascii.h"
#include "common/file_access.h"
#include "common/line_reader.h"
#include "common/messages.h"
#include "common/real_text.h"
#include "common/text_file_header.h"
#include "network/network_file.h"
#include "network/network_file_text.h"
#include "network/stored_network.h"

namespace tavrin {
namespace {

// Lines of the earlier short layout skipped after its output_normalisation.
constexpr int kShortLayoutSkippedLines = 7;

// The next blank-delimited token of `text` from `at`, moving past it.
std::string_view NextToken(std::string_view text, std::size_t& at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  const std::size_t first = at;
  while (at < text.size() && !IsBlank(text[at])) ++at;
  return text.substr(first, at - first);
}

// A value: the next token or, when it starts with a double quote, the text up
// to the closing quote (or the end of the line), quotes removed.
std::string_view NextValue(std::string_view text, std::size_t& at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  if (at < text.size() && text[at] == '"') {
    const std::size_t first = at + 1;
    const std::size_t close = text.find('"', first);
    if (close == std::string_view::npos) {
      at = text.size();
      return text.substr(first);
    }
    at = close + 1;
    return text.substr(first, close - first);
  }
  return NextToken(text, at);
}

// A keyword line: optional blanks, the keyword, blanks and a value. A line
// with no keyword is an empty line.
struct KeywordLine {
  std::string_view keyword;
  std::string_view value;
  std::string_view rest;  // everything after the keyword
  bool empty() const { return keyword.empty(); }
};

KeywordLine SplitKeyword(std::string_view line) {
  KeywordLine k;
  std::size_t at = 0;
  k.keyword = NextToken(line, at);
  k.rest = line.substr(at);
  k.value = NextValue(line, at);
  return k;
}

// The lines of the file, with one line of look-back.
class Lines {
 public:
  explicit Lines(std::istream& in) : reader_(in) {}

  // The next line as it is, comment or not.
  bool Raw(std::string& line) {
    if (has_pushed_) {
      has_pushed_ = false;
      line.swap(pushed_);
      return true;
    }
    return reader_.Next(line);
  }

  // The next line that is not a comment.
  bool Next(std::string& line) {
    while (Raw(line)) {
      if (line.empty() || line.front() != kCommentMark) return true;
    }
    return false;
  }

  // The next line that has a keyword.
  bool NextKeyword(std::string& line) {
    while (Next(line)) {
      if (!SplitKeyword(line).empty()) return true;
    }
    return false;
  }

  void PushBack(std::string line) {
    pushed_ = std::move(line);
    has_pushed_ = true;
  }

  std::string RefusalText(std::string_view message) const { return reader_.RefusalText(message); }
  bool cut_in_word() const { return !has_pushed_ && reader_.cut_in_word(); }

 private:
  LineReader reader_;
  std::string pushed_;
  bool has_pushed_ = false;
};

// A weight block as read, joined to its layers once all layers are known.
struct PendingBlock {
  int to = 0;
  int from = 0;
  std::int32_t no_from = 0;
  bool fixed = false;
  std::vector<double> weights;
};

// Which units carry a class given in their label; the Kohonen name rule
// leaves them alone.
using ExplicitClasses = std::vector<std::vector<bool>>;

class NetworkFileReader {
 public:
  explicit NetworkFileReader(std::istream& in) : lines_(in) {}

  std::unique_ptr<Network> Read();

 private:
  bool Refuse(std::string_view message) {
    RecordError(lines_.RefusalText(message));
    return false;
  }
  bool RefuseIn(std::string_view message, int layer) { return Refuse(WithNumber(message, layer)); }

  bool JoinContinuedLines(std::string& text, char close);
  bool ReadHeader();
  bool ReadNetworkSection(Network& net);
  bool ReadLayerList(const KeywordLine& line);
  bool ReadLayer(Network& net, int l, int no_layers);
  bool ReadLayerField(std::string_view keyword, std::string_view not_found, int l,
                      std::string_view& value);
  bool ReadUnits(Layer& layer, int l);
  bool ReadBlocks(Network& net, int l, int no_layers);
  bool ReadNumbers(std::int64_t count, std::vector<double>& values, std::string_view end_message,
                   std::string_view bad_message);
  bool JoinBlocks(Network& net);

  bool ReadNormalisationSection(Network& net);
  bool ReadShortLayout(Network& net, const std::string& input_line);
  bool ReadCount(std::string_view keyword, std::int32_t& value);
  bool ReadAttributes(VariableCoding& c);
  bool ReadFactors(VariableCoding& c);
  void ApplyKohonenClassNames(Network& net);

  Lines lines_;
  std::string line_;
  std::vector<std::int32_t> listed_units_;  // the no_layers line's sizes, 0 when not given
  std::vector<PendingBlock> blocks_;
  ExplicitClasses explicit_classes_;
};

// A list too long for one line continues on the next ones, taken as they
// are (comment mark or not) and joined, up to its closing mark, which ends
// the text.
bool NetworkFileReader::JoinContinuedLines(std::string& text, char close) {
  std::size_t searched = 0;
  std::size_t at = text.find(close);
  while (at == std::string::npos) {
    std::string more;
    if (!lines_.Raw(more)) return false;
    searched = text.size();
    text += more;
    at = text.find(close, searched);
  }
  text.resize(at);
  return true;
}

// ---- header and network section ----

bool NetworkFileReader::ReadHeader() {
  if (!lines_.Raw(line_)) return Refuse(kNoHeader);
  const auto header = ParseTextFileHeader(line_);
  if (!header || header->kind != "network") return Refuse(kNoHeader);
  if (!IsReadableVersion(*header)) return Refuse(kLaterVersion);
  // The writer's empty line after the header, skipped unread, unless the file
  // goes straight on with its first field.
  if (lines_.Raw(line_) && SplitKeyword(line_).keyword == "type") lines_.PushBack(line_);
  return true;
}

bool NetworkFileReader::ReadLayerList(const KeywordLine& k) {
  // The count may run straight into the list: "3 (2,3,1)" or "3(2,3,1)".
  std::string_view rest = TrimBlanks(k.rest);
  const std::size_t open = rest.find(kLayerListOpen);
  const std::optional<std::int32_t> count = ParseInt32(TrimBlanks(rest.substr(0, open)));
  if (!count || *count <= 0) return Refuse(kNoLayersNotFound);
  if (*count > kMaxStoredLayers) return Refuse(kNotEnoughMemory);
  listed_units_.assign(static_cast<std::size_t>(*count), 0);
  if (open == std::string_view::npos) return true;

  std::string list(rest.substr(open + 1));
  if (!JoinContinuedLines(list, kLayerListClose)) return Refuse(kNoLayersNotFound);
  std::string_view items(list);
  for (std::size_t l = 0; l < listed_units_.size() && !items.empty(); ++l) {
    const std::size_t comma = items.find(',');
    const auto units = ParseInt32(TrimBlanks(items.substr(0, comma)));
    listed_units_[l] = units && *units > 0 ? *units : 0;
    if (comma == std::string_view::npos) break;
    items.remove_prefix(comma + 1);
  }
  return true;
}

bool NetworkFileReader::ReadLayerField(std::string_view keyword, std::string_view not_found, int l,
                                       std::string_view& value) {
  if (!lines_.NextKeyword(line_)) return RefuseIn(not_found, l + 1);
  const KeywordLine k = SplitKeyword(line_);
  if (k.keyword != keyword || k.value.empty()) return RefuseIn(not_found, l + 1);
  value = k.value;
  return true;
}

bool NetworkFileReader::ReadNumbers(std::int64_t count, std::vector<double>& values,
                                    std::string_view end_message, std::string_view bad_message) {
  values.clear();
  std::string line;
  std::size_t at = 0;
  while (static_cast<std::int64_t>(values.size()) < count) {
    const std::string_view token = NextToken(line, at);
    if (token.empty()) {
      if (!lines_.Next(line)) return Refuse(end_message);
      at = 0;
      continue;
    }
    const auto value = ParseReal(token);
    // A number the line length limit cut in two is no number.
    if (!value || (at == line.size() && lines_.cut_in_word())) return Refuse(bad_message);
    values.push_back(*value);
  }
  return true;
}

bool NetworkFileReader::ReadUnits(Layer& layer, int l) {
  std::vector<bool>& explicit_class = explicit_classes_[l];
  for (std::int32_t u = 0; u < layer.no_units; ++u) {
    if (!lines_.Next(line_)) return Refuse(kEndInWeights);
    std::size_t at = 0;
    const auto threshold = ParseReal(NextToken(line_, at));
    if (!threshold) return RefuseIn(kBadNumber, l + 1);
    // Only a quoted label counts, so that no name read holds a quote.
    while (at < line_.size() && IsBlank(line_[at])) ++at;
    std::string_view label;
    if (at < line_.size() && line_[at] == '"') label = NextValue(line_, at);
    double cls = 0.0;
    const std::size_t colon = label.find(kClassMark);
    if (colon != std::string_view::npos) {
      const std::string_view class_text = TrimBlanks(label.substr(colon + 1));
      if (const auto exact = ParseReal(class_text)) {
        cls = *exact;
      } else {
        // Files of other writers may follow the class with more text; its
        // leading integer is the class, as C's atoi would read it.
        std::size_t end = 0;
        while (end < class_text.size() &&
               ((class_text[end] >= '0' && class_text[end] <= '9') ||
                (end == 0 && (class_text[end] == '-' || class_text[end] == '+')))) {
          ++end;
        }
        cls = ParseInt32(class_text.substr(0, end)).value_or(0);
      }
      label = label.substr(0, colon);
    }
    layer.thresholds.push_back(*threshold);
    layer.classes.push_back(cls);
    layer.unit_names.emplace_back(label);
    layer.activations.push_back(0.0);
    explicit_class.push_back(colon != std::string_view::npos);
  }
  return true;
}

bool NetworkFileReader::ReadBlocks(Network& net, int l, int no_layers) {
  const Layer& layer = net.layers[l];
  while (lines_.Next(line_)) {
    const KeywordLine k = SplitKeyword(line_);
    if (k.empty()) return true;
    if (k.keyword != "weights" && k.keyword != "fixed_weights") return Refuse(kNoWeightsHeader);
    const auto source = ParseInt32(k.value);
    if (!source || *source < 1 || *source > no_layers) return Refuse(kNoSuchSource);
    PendingBlock block;
    block.to = l;
    block.from = *source - 1;
    block.fixed = k.keyword == "fixed_weights";
    // Layers not yet read are known only by the no_layers line's list.
    block.no_from = block.from <= l ? net.layers[block.from].no_units : listed_units_[block.from];
    if (block.no_from <= 0) return RefuseIn(kBlockMismatch, l + 1);
    const std::int64_t count = std::int64_t{block.no_from} * layer.no_units;
    if (!ReadNumbers(count, block.weights, kEndInWeights, WithNumber(kBadNumber, l + 1))) {
      return false;
    }
    blocks_.push_back(std::move(block));
  }
  // The end of the file ends the blocks; the missing normalisation section is
  // reported next.
  return true;
}

bool NetworkFileReader::ReadLayer(Network& net, int l, int no_layers) {
  // Anything before the layer's keyword is passed over.
  while (true) {
    if (!lines_.Next(line_)) return Refuse(kEndInWeights);
    if (SplitKeyword(line_).keyword == "layer") break;
  }
  net.layers.emplace_back();
  explicit_classes_.emplace_back();
  Layer& layer = net.layers.back();

  std::string_view value;
  if (!ReadLayerField("no_units", kNoUnitsNotFound, l, value)) return false;
  const auto units = ParseInt32(value);
  if (!units) return RefuseIn(kNoUnitsNotFound, l + 1);
  if (*units <= 0) return Refuse(NoUnitsNotPositive(l + 1));
  layer.no_units = *units;

  if (!ReadLayerField("width", kWidthNotFound, l, value)) return false;
  const auto width = ParseInt32(value);
  if (!width) return RefuseIn(kWidthNotFound, l + 1);
  if (*width <= 0) return Refuse(WidthNotPositive(l + 1));
  layer.width = *width;

  if (!ReadLayerField("act_fn", kActNotFound, l, value)) return false;
  const auto act = ActivationFromName(value);
  if (!act) return Refuse(UnknownActivationIn(l + 1));
  layer.act_fn = *act;

  if (!ReadLayerField("psp_fn", kPspNotFound, l, value)) return false;
  const auto psp = PspFromName(value);
  if (!psp) return Refuse(UnknownPspIn(l + 1));
  layer.psp_fn = *psp;

  return ReadUnits(layer, l) && ReadBlocks(net, l, no_layers);
}

bool NetworkFileReader::JoinBlocks(Network& net) {
  const int n = net.no_layers();
  for (Layer& layer : net.layers)
    layer.connections.assign(static_cast<std::size_t>(n), Connection());
  for (PendingBlock& block : blocks_) {
    if (block.no_from != net.layers[block.from].no_units) {
      return RefuseIn(kBlockMismatch, block.to + 1);
    }
    Connection& c = net.layers[block.to].connections[block.from];
    c.no_from = block.no_from;
    c.no_to = net.layers[block.to].no_units;
    c.fixed = block.fixed ? 1 : 0;
    c.weights = std::move(block.weights);
  }
  blocks_.clear();
  return true;
}

bool NetworkFileReader::ReadNetworkSection(Network& net) {
  if (!lines_.NextKeyword(line_)) return Refuse(kTypeNotFound);
  KeywordLine k = SplitKeyword(line_);
  if (k.keyword != "type") return Refuse(kTypeNotFound);
  // The kind is the rest of the line: "Simple recurrent" holds a blank.
  std::string_view kind = TrimBlanks(k.rest);
  if (kind.size() >= 2 && kind.front() == '"' && kind.back() == '"') {
    kind = kind.substr(1, kind.size() - 2);
  }
  net.type = NetworkType::kMlp;
  for (int t = 0; t < kNetworkTypeCount; ++t) {
    if (NetworkTypeName(static_cast<NetworkType>(t)) == kind)
      net.type = static_cast<NetworkType>(t);
  }

  if (!lines_.NextKeyword(line_)) return Refuse(kErrorFnNotFound);
  k = SplitKeyword(line_);
  if (k.keyword != "error_fn") return Refuse(kErrorFnNotFound);
  const auto error_fn = ErrorFromName(k.value);
  if (!error_fn) return Refuse(kUnknownErrorFunctionInFile);
  net.error_fn = *error_fn;

  if (!lines_.NextKeyword(line_)) return Refuse(kNoLayersNotFound);
  k = SplitKeyword(line_);
  if (k.keyword != "no_layers") return Refuse(kNoLayersNotFound);
  if (!ReadLayerList(k)) return false;

  const int n = static_cast<int>(listed_units_.size());
  for (int l = 0; l < n; ++l) {
    if (!ReadLayer(net, l, n)) return false;
  }
  if (!lines_.NextKeyword(line_) || SplitKeyword(line_).keyword != "normalisation") {
    return Refuse(kNoNormalisation);
  }
  return JoinBlocks(net);
}

// ---- normalisation section ----

bool NetworkFileReader::ReadCount(std::string_view keyword, std::int32_t& value) {
  if (!lines_.NextKeyword(line_)) return Refuse(kFactorsMissing);
  const KeywordLine k = SplitKeyword(line_);
  const auto count = ParseInt32(k.value);
  if (k.keyword != keyword || !count) return Refuse(kFactorsMissing);
  if (*count < 0) return Refuse(kVariableCountsOutOfRange);
  value = *count;
  return true;
}

bool NetworkFileReader::ReadAttributes(VariableCoding& c) {
  if (!lines_.NextKeyword(line_) || SplitKeyword(line_).keyword != "attributes") {
    return Refuse(kFactorsMissing);
  }
  const int v_count = c.no_variables();
  for (int v = 0; v < v_count; ++v) {
    // An empty line is a variable without a name.
    if (!lines_.Next(line_)) return Refuse(kFactorsMissing);
    const std::size_t open = line_.find(kNominalListOpen);
    if (open == std::string::npos) {
      c.variable_names.push_back(line_);
      c.nominals.emplace_back();
      continue;
    }
    c.variable_names.push_back(line_.substr(0, open));
    std::string list = line_.substr(open + kNominalListOpen.size());
    if (!JoinContinuedLines(list, kNominalListClose)) return Refuse(kFactorsMissing);
    std::vector<std::string> names;
    std::size_t first = 0;
    while (true) {
      const std::size_t comma = list.find(kNominalSeparator, first);
      names.push_back(list.substr(first, comma - first));
      if (comma == std::string::npos) break;
      first = comma + 1;
    }
    c.nominals.push_back(std::move(names));
  }
  return true;
}

bool NetworkFileReader::ReadFactors(VariableCoding& c) {
  if (!lines_.NextKeyword(line_) || SplitKeyword(line_).keyword != "factors") {
    return Refuse(kFactorsMissing);
  }
  for (int v = 0; v < c.no_variables(); ++v) {
    if (!lines_.Next(line_)) return Refuse(kFactorsMissing);
    std::size_t at = 0;
    const std::string_view conversion_name = NextToken(line_, at);
    const std::string_view missing_name = NextToken(line_, at);
    std::optional<double> reals[4];
    for (auto& real : reals) real = ParseReal(NextToken(line_, at));
    if (missing_name.empty()) return Refuse(kFactorsMissing);
    const auto conversion = ConversionFromName(conversion_name, c.is_output(v));
    if (!conversion) return Refuse(kUnknownConversionInFile);
    const auto missing = MissingFunctionFromName(missing_name);
    if (!missing) return Refuse(kUnknownMissingInFile);
    for (const auto& real : reals) {
      if (!real) return Refuse(kFactorsMissing);
    }
    c.conversion.push_back(static_cast<double>(*conversion));
    c.missing_fn.push_back(static_cast<double>(*missing));
    c.min_mean.push_back(*reals[0]);
    c.max_sd.push_back(*reals[1]);
    c.shift.push_back(*reals[2]);
    c.scale.push_back(*reals[3]);
  }
  return true;
}

bool NetworkFileReader::ReadShortLayout(Network& net, const std::string& input_line) {
  VariableCoding& c = net.coding;
  const auto input_norm = NormalisationFromName(SplitKeyword(input_line).value, false);
  if (!input_norm) return Refuse(kUnknownInputNormalisationInFile);
  if (!lines_.NextKeyword(line_)) return Refuse(kOutputNormNotFound);
  const KeywordLine k = SplitKeyword(line_);
  if (k.keyword != "output_normalisation") return Refuse(kOutputNormNotFound);
  const auto output_norm = NormalisationFromName(k.value, true);
  if (!output_norm) return Refuse(kUnknownOutputNormalisationInFile);
  for (int i = 0; i < kShortLayoutSkippedLines; ++i) {
    if (!lines_.Next(line_)) return Refuse(kFactorsMissing);
  }

  // One numeric variable per unit of the first and the last layer.
  const int inputs = net.layers.front().no_units;
  const int outputs = net.layers.back().no_units;
  if (std::int64_t{inputs} + outputs > std::numeric_limits<std::int32_t>::max()) {
    return Refuse(kVariableCountsOutOfRange);
  }
  const double classify_by = c.classify_by;
  const double accept = c.accept;
  const double reject = c.reject;
  c = MakeDefaultCoding(inputs, outputs);
  c.classify_by = static_cast<std::int32_t>(classify_by);
  c.accept = accept;
  c.reject = reject;
  c.input_normalisation = static_cast<std::int32_t>(*input_norm);
  c.output_normalisation = static_cast<std::int32_t>(*output_norm);
  for (int v = 0; v < c.no_variables(); ++v) {
    if (!lines_.Next(line_)) return Refuse(kFactorsMissing);
    std::size_t at = 0;
    NextToken(line_, at);  // an integer whose meaning is not used
    const auto shift = ParseReal(NextToken(line_, at));
    const auto scale = ParseReal(NextToken(line_, at));
    if (!shift || !scale) return Refuse(kFactorsMissing);
    c.shift[v] = *shift;
    c.scale[v] = *scale;
  }
  return true;
}

bool NetworkFileReader::ReadNormalisationSection(Network& net) {
  VariableCoding& c = net.coding;
  c = VariableCoding();

  if (!lines_.NextKeyword(line_)) return Refuse(kClassifyByNotFound);
  KeywordLine k = SplitKeyword(line_);
  if (k.keyword != "classify_by") return Refuse(kClassifyByNotFound);
  if (k.value == "confidence") {
    c.classify_by = 1;
  } else if (k.value == "error") {
    c.classify_by = 0;
  } else {
    return Refuse(std::string(kUnknownClassifyBy) + std::string(k.value) + ">");
  }

  std::optional<double> real;
  if (!lines_.NextKeyword(line_)) return Refuse(kAcceptNotFound);
  k = SplitKeyword(line_);
  real = ParseReal(k.value);
  if (k.keyword != "accept" || !real) return Refuse(kAcceptNotFound);
  c.accept = *real;

  if (!lines_.NextKeyword(line_)) return Refuse(kRejectNotFound);
  k = SplitKeyword(line_);
  real = ParseReal(k.value);
  if (k.keyword != "reject" || !real) return Refuse(kRejectNotFound);
  c.reject = *real;

  if (!lines_.NextKeyword(line_)) return Refuse(kStepsNotFound);
  k = SplitKeyword(line_);
  if (k.keyword == "input_normalisation") return ReadShortLayout(net, line_);
  auto count = ParseInt32(k.value);
  if (k.keyword != "steps" || !count) return Refuse(kStepsNotFound);
  c.steps = *count;

  if (!lines_.NextKeyword(line_)) return Refuse(kLookaheadNotFound);
  k = SplitKeyword(line_);
  count = ParseInt32(k.value);
  if (k.keyword != "lookahead" || !count) return Refuse(kLookaheadNotFound);
  c.lookahead = *count;

  if (!lines_.NextKeyword(line_)) return Refuse(kInputNormNotFound);
  k = SplitKeyword(line_);
  if (k.keyword != "input_normalisation") return Refuse(kInputNormNotFound);
  const auto input_norm = NormalisationFromName(k.value, false);
  if (!input_norm) return Refuse(kUnknownInputNormalisationInFile);
  c.input_normalisation = static_cast<std::int32_t>(*input_norm);

  if (!lines_.NextKeyword(line_)) return Refuse(kOutputNormNotFound);
  k = SplitKeyword(line_);
  if (k.keyword != "output_normalisation") return Refuse(kOutputNormNotFound);
  const auto output_norm = NormalisationFromName(k.value, true);
  if (!output_norm) return Refuse(kUnknownOutputNormalisationInFile);
  c.output_normalisation = static_cast<std::int32_t>(*output_norm);

  if (!ReadCount("no_inputs", c.no_inputs) || !ReadCount("no_outputs", c.no_outputs) ||
      !ReadCount("no_normed_inputs", c.no_normed_inputs) ||
      !ReadCount("no_normed_outputs", c.no_normed_outputs)) {
    return false;
  }
  if (std::int64_t{c.no_inputs} + c.no_outputs > std::numeric_limits<std::int32_t>::max() ||
      std::int64_t{c.no_normed_inputs} + c.no_normed_outputs >
          std::numeric_limits<std::int32_t>::max()) {
    return Refuse(kVariableCountsOutOfRange);
  }
  if (!ReadAttributes(c) || !ReadFactors(c)) return false;

  if (!lines_.NextKeyword(line_)) return Refuse(kFactorsMissing);
  k = SplitKeyword(line_);
  if (k.keyword != "missing" || k.value != "values") return Refuse(kFactorsMissing);
  const std::int64_t units = std::int64_t{c.no_normed_inputs} + c.no_normed_outputs;
  return ReadNumbers(units, c.substitutes, kFactorsMissing, kFactorsMissing);
}

// A Kohonen unit of layer 1 labelled with a value name of the first output
// variable stands for that value: the writer's class label.
void NetworkFileReader::ApplyKohonenClassNames(Network& net) {
  const VariableCoding& c = net.coding;
  if (net.type != NetworkType::kKohonen || net.no_layers() < 2 || c.no_outputs < 1) return;
  const std::vector<std::string>& values = c.nominals[c.no_inputs];
  if (values.empty()) return;
  // The first value of each name, so that many units and many values cost
  // no more than reading them.
  std::unordered_map<std::string_view, int> value_number;
  for (std::size_t k = values.size(); k-- > 0;) value_number[values[k]] = static_cast<int>(k) + 1;
  Layer& layer = net.layers[1];
  for (int u = 0; u < layer.no_units; ++u) {
    if (explicit_classes_[1][u] || layer.unit_names[u].empty()) continue;
    const auto found = value_number.find(layer.unit_names[u]);
    if (found == value_number.end()) continue;
    layer.classes[u] = found->second;
    layer.unit_names[u].clear();
  }
}

std::unique_ptr<Network> NetworkFileReader::Read() {
  auto net = std::make_unique<Network>();
  if (!ReadHeader() || !ReadNetworkSection(*net) || !ReadNormalisationSection(*net)) {
    return nullptr;
  }
  if (!CheckReadCoding(net->coding)) return nullptr;
  ApplyKohonenClassNames(*net);
  ApplyPairingRule(*net);
  return net;
}

}  // namespace

std::unique_ptr<Network> ReadNetworkFile(std::istream& in) {
  try {
    return NetworkFileReader(in).Read();
  } catch (const std::bad_alloc&) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  } catch (const std::length_error&) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  } catch (const std::ios_base::failure&) {
    RecordError(kEndInWeights);
    return nullptr;
  }
}

std::unique_ptr<Network> ReadNetworkFile(const std::filesystem::path& path) {
  std::ifstream in;
  if (!OpenForReading(path, in, kCannotOpenNetworkFile)) return nullptr;
  return ReadNetworkFile(in);
}

}  // namespace tavrin
