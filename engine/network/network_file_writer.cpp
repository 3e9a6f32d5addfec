#include <cmath>
#include <ios>
#include <new>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/line_reader.h"
#include "common/messages.h"
#include "common/missing.h"
#include "common/real_text.h"
#include "common/safe_file_writer.h"
#include "common/text_file_header.h"
#include "network/network_file.h"
#include "network/network_file_text.h"
#include "network/stored_network.h"

namespace tavrin {
namespace {

constexpr std::size_t kMaxLine = LineReader::kMaxLineLength;
constexpr int kValuesPerLine = 8;

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// ---- names the format cannot carry ----

Status CheckVariableNames(const VariableCoding& c) {
  for (int v = 0; v < c.no_variables(); ++v) {
    const std::string& name = c.variable_names[v];
    const int number = v + 1;
    if (HasLineBreak(name)) {
      return Fail(WithNumber(kVariableNameLineBreak, number));
    }
    if (!name.empty() && name.front() == kCommentMark) {
      return Fail(WithNumber(kVariableNameComment, number));
    }
    if (name.find(kNominalListOpen) != std::string::npos) {
      return Fail(WithNumber(kVariableNameListMark, number));
    }
    // A nominal list may continue over lines, but its opening must share the
    // name's line.
    const std::size_t longest = c.is_nominal(v) ? kMaxLine - kNominalListOpen.size() : kMaxLine;
    if (name.size() > longest) {
      return Fail(WithNumber(kVariableNameTooLong, number));
    }
    for (const std::string& value : c.nominals[v]) {
      if (HasLineBreak(value) || value.find_first_of(",}") != std::string::npos) {
        return Fail(WithNumber(kNominalNameNotWritable, number));
      }
    }
  }
  return Status::Ok();
}

// ---- unit labels ----

// The nominal value names of the first output variable, which class labels
// of Kohonen units stand for; empty when it is numeric or there is none.
const std::vector<std::string>& ClassNames(const Network& network) {
  static const std::vector<std::string> kNone;
  const VariableCoding& c = network.coding;
  if (c.no_outputs < 1) return kNone;
  return c.nominals[c.no_inputs];
}

bool IsKohonenClassLayer(const Network& network, int layer) {
  return network.type == NetworkType::kKohonen && layer == 1;
}

// The first value number of each value name of the first output variable.
using ClassNumbers = std::unordered_map<std::string_view, int>;

ClassNumbers ClassNumbersOf(const std::vector<std::string>& names) {
  ClassNumbers numbers;
  for (std::size_t k = names.size(); k-- > 0;) numbers[names[k]] = static_cast<int>(k) + 1;
  return numbers;
}

std::string ClassText(double cls) {
  if (cls == std::trunc(cls) && std::fabs(cls) < 2147483648.0) {
    return std::to_string(static_cast<long long>(cls));
  }
  return IsMissing(cls) ? std::string("?") : FormatRealExact(cls);
}

// The quoted label of a unit, or none. A Kohonen unit of layer 1 whose class
// has a value name, and no name of its own, is labelled with that value name,
// which reads back as the class; every other unit with a class gets
// "name:class", which keeps both.
std::optional<std::string> UnitLabelText(const Network& network, const ClassNumbers& numbers, int l,
                                         int u) {
  const Layer& layer = network.layers[l];
  const std::string& name = layer.unit_names[u];
  const double cls = layer.classes[u];
  const bool kohonen = IsKohonenClassLayer(network, l);
  const std::vector<std::string>& class_names = ClassNames(network);
  if (cls == 0.0) {
    if (name.empty()) return std::nullopt;
    // Such a name would read back as a class.
    if (kohonen && numbers.count(name) > 0) return name + kClassMark + "0";
    return name;
  }
  if (kohonen && name.empty() && cls == std::trunc(cls) && cls >= 1.0 &&
      cls <= static_cast<double>(class_names.size())) {
    const int k = static_cast<int>(cls);
    const std::string& value = class_names[k - 1];
    if (!value.empty() && numbers.at(value) == k &&
        value.find_first_of("\":\r\n") == std::string::npos) {
      return value;
    }
  }
  return name + kClassMark + ClassText(cls);
}

std::string UnitLine(const Network& network, const ClassNumbers& numbers, int l, int u) {
  std::string line = FormatRealOrMissing(network.layers[l].thresholds[u]);
  if (const auto label = UnitLabelText(network, numbers, l, u)) line += " \"" + *label + "\"";
  return line;
}

Status CheckUnitNames(const Network& network, const ClassNumbers& numbers) {
  for (int l = 0; l < network.no_layers(); ++l) {
    const Layer& layer = network.layers[l];
    for (int u = 0; u < layer.no_units; ++u) {
      const std::string& name = layer.unit_names[u];
      if (name.find_first_of("\":\r\n") != std::string::npos) {
        return Fail(WithNumber(kUnitNameNotWritable, l + 1));
      }
      if (UnitLine(network, numbers, l, u).size() > kMaxLine) {
        return Fail(WithNumber(kUnitNameTooLong, l + 1));
      }
    }
  }
  return Status::Ok();
}

// ---- writing ----

class FileWriter {
 public:
  explicit FileWriter(std::ostream& out) : out_(out) {}

  void Line(std::string_view text) {
    if (text.size() > kMaxLine) overlong_ = true;
    out_ << text << '\n';
  }

  // A text that may be longer than a line: pieces of at most a line each,
  // broken after a comma where one lies at or beyond `first_break` (so that
  // the opening bracket stays on the first line), else at the limit.
  void Continued(std::string_view text, std::size_t first_break) {
    while (text.size() > kMaxLine) {
      std::size_t cut = kMaxLine;
      const std::size_t comma = text.rfind(',', kMaxLine - 1);
      if (comma != std::string_view::npos && comma + 1 > first_break) cut = comma + 1;
      Line(text.substr(0, cut));
      text.remove_prefix(cut);
      first_break = 0;
    }
    Line(text);
  }

  void Keyword(std::string_view keyword, std::string_view value) {
    Line(std::string(keyword) + " " + std::string(value));
  }
  void Quoted(std::string_view keyword, std::string_view value) {
    Line(std::string(keyword) + " \"" + std::string(value) + "\"");
  }

  bool ok() const { return !overlong_ && static_cast<bool>(out_); }
  bool overlong() const { return overlong_; }
  std::ostream& stream() { return out_; }

 private:
  std::ostream& out_;
  bool overlong_ = false;
};

void WriteWeights(FileWriter& w, const Connection& block) {
  std::string line;
  for (int u = 0; u < block.no_to; ++u) {
    const double* row = block.row(u);
    line.clear();
    for (int s = 0; s < block.no_from; ++s) {
      line += FormatRealOrMissing(row[s]);
      line += '\t';
      if ((s + 1) % kValuesPerLine == 0 || s == block.no_from - 1) {
        w.Line(line);
        line.clear();
      }
    }
  }
}

void WriteNetworkSection(FileWriter& w, const Network& network, const ClassNumbers& numbers) {
  w.Keyword("type", NetworkTypeName(network.type));
  w.Quoted("error_fn", ErrorName(network.error_fn));
  std::string layers = "no_layers " + std::to_string(network.no_layers()) + " (";
  const std::size_t list_start = layers.size();
  for (int l = 0; l < network.no_layers(); ++l) {
    if (l > 0) layers += ',';
    layers += std::to_string(network.layers[l].no_units);
  }
  layers += ')';
  w.Continued(layers, list_start);

  for (int l = 0; l < network.no_layers(); ++l) {
    const Layer& layer = network.layers[l];
    w.Line("");
    w.Keyword("layer", std::to_string(l + 1));
    w.Keyword("no_units", std::to_string(layer.no_units));
    w.Keyword("width", std::to_string(layer.width));
    w.Quoted("act_fn", ActivationName(layer.act_fn));
    w.Quoted("psp_fn", PspName(layer.psp_fn));
    for (int u = 0; u < layer.no_units; ++u) w.Line(UnitLine(network, numbers, l, u));
    for (int j = 0; j < network.no_layers(); ++j) {
      const Connection& block = layer.connections[j];
      if (block.empty()) continue;
      w.Keyword(block.fixed != 0 ? "fixed_weights" : "weights", std::to_string(j + 1));
      WriteWeights(w, block);
    }
  }
  w.Line("");
}

std::string_view NormalisationText(std::int32_t code, bool output) {
  if (IsNormalisationCode(code, output)) return NormalisationName(static_cast<Normalisation>(code));
  RecordError(output ? kUnknownOutputNormalisationWritten : kUnknownInputNormalisationWritten);
  return NormalisationName(Normalisation::kNone);
}

void WriteNormalisationSection(FileWriter& w, const VariableCoding& c) {
  w.Line("normalisation");
  w.Keyword("classify_by", c.classify_by != 0 ? "confidence" : "error");
  w.Keyword("accept", FormatRealOrMissing(c.accept));
  w.Keyword("reject", FormatRealOrMissing(c.reject));
  w.Keyword("steps", std::to_string(c.steps));
  w.Keyword("lookahead", std::to_string(c.lookahead));
  w.Quoted("input_normalisation", NormalisationText(c.input_normalisation, false));
  w.Quoted("output_normalisation", NormalisationText(c.output_normalisation, true));
  w.Keyword("no_inputs", std::to_string(c.no_inputs));
  w.Keyword("no_outputs", std::to_string(c.no_outputs));
  w.Keyword("no_normed_inputs", std::to_string(c.no_normed_inputs));
  w.Keyword("no_normed_outputs", std::to_string(c.no_normed_outputs));

  w.Line("attributes");
  for (int v = 0; v < c.no_variables(); ++v) {
    std::string line = c.variable_names[v];
    if (!c.is_nominal(v)) {
      w.Line(line);
      continue;
    }
    line += kNominalListOpen;
    const std::size_t list_start = line.size();
    for (std::size_t k = 0; k < c.nominals[v].size(); ++k) {
      if (k > 0) line += kNominalSeparator;
      line += c.nominals[v][k];
    }
    line += kNominalListClose;
    w.Continued(line, list_start);
  }

  w.Line("factors");
  for (int v = 0; v < c.no_variables(); ++v) {
    std::string line(ConversionName(static_cast<ConversionFunction>(c.conversion[v])));
    line += '\t';
    line += MissingFunctionName(static_cast<MissingFunction>(c.missing_fn[v]));
    for (const double value : {c.min_mean[v], c.max_sd[v], c.shift[v], c.scale[v]}) {
      line += '\t';
      line += FormatRealOrMissing(value);
    }
    w.Line(line);
  }

  w.Line("missing values");
  for (const double value : c.substitutes) w.Line(FormatRealOrMissing(value));
  w.Line("");
  w.Line("");
}

}  // namespace

Status WriteNetworkFile(const Network& network, std::ostream& out) {
  try {
    if (!CheckWritable(network) || !CheckVariableNames(network.coding)) return Status::Failed();
    const ClassNumbers numbers = ClassNumbersOf(ClassNames(network));
    if (!CheckUnitNames(network, numbers)) return Status::Failed();
    FileWriter w(out);
    w.Line(TextFileHeaderLine("Network"));
    w.Line("");
    WriteNetworkSection(w, network, numbers);
    WriteNormalisationSection(w, network.coding);
    w.stream().flush();
    if (w.overlong()) return Fail(kLineTooLong);
    if (!w.ok()) return Fail(kNetworkWriteFailed);
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  } catch (const std::ios_base::failure&) {
    return Fail(kNetworkWriteFailed);
  }
}

Status WriteNetworkFile(const Network& network, const std::filesystem::path& path) {
  SafeFileWriter file;
  if (!file.Open(path, kCannotOpenNetworkFileForWriting)) return Status::Failed();
  if (!WriteNetworkFile(network, file.stream())) return Status::Failed();
  return file.Commit(kNetworkWriteFailed);
}

}  // namespace tavrin
