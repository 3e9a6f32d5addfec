#include <new>
#include <sstream>

#include "common/ascii.h"
#include "common/line_reader.h"
#include "common/messages.h"
#include "common/real_text.h"
#include "common/text_file_header.h"
#include "data/data_set_files.h"
#include "data/data_set_limits.h"

namespace tavrin {
namespace {

// Lines after the header, comments skipped.
class PatternLines {
 public:
  explicit PatternLines(std::istream& in) : reader_(in) {}
  bool Next(std::string& line) {
    while (reader_.Next(line)) {
      if (line.empty() || line[0] != '#') return true;
    }
    return false;
  }
  // The next line that holds anything but blanks.
  bool NextNonBlank(std::string& line) {
    while (Next(line)) {
      for (char c : line) {
        if (!IsBlank(c)) return true;
      }
    }
    return false;
  }
  LineReader& reader() { return reader_; }

 private:
  LineReader reader_;
};

// "keyword value" with a whole-number value.
std::optional<std::int32_t> KeywordNumber(const std::string& line, std::string_view keyword) {
  std::istringstream fields(line);
  std::string word, value;
  if (!(fields >> word) || word != keyword || !(fields >> value)) return std::nullopt;
  return ParseInt32(value);
}

std::string FirstWord(const std::string& line) {
  std::istringstream fields(line);
  std::string word;
  fields >> word;
  return word;
}

// A variable line: two role characters, a blank, then the name and an
// optional nominal list "={a,b}".
void ReadVariable(const std::string& line, DataSet& data, int v) {
  const char first = line.size() > 0 ? ToLower(line[0]) : ' ';
  const char second = line.size() > 1 ? ToLower(line[1]) : ' ';
  data.is_input[v] = first == 'i' ? 1 : 0;
  data.is_output[v] = (first == 'o' || (first == 'i' && second == 'o')) ? 1 : 0;
  const std::string rest = line.size() > 3 ? line.substr(3) : std::string();
  const std::size_t list = rest.find("={");
  data.variable_names[v] = rest.substr(0, list);
  if (list == std::string::npos) return;
  std::string names = rest.substr(list + 2);
  const std::size_t close = names.find('}');
  if (close != std::string::npos) names.resize(close);
  std::size_t start = 0;
  while (start <= names.size()) {
    const std::size_t comma = names.find(',', start);
    data.nominals[v].push_back(names.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

std::int32_t SubsetOfLetter(char letter) {
  switch (ToUpper(letter)) {
    case 'T':
      return static_cast<std::int32_t>(Subset::kTraining);
    case 'V':
      return static_cast<std::int32_t>(Subset::kVerification);
    case 'S':
      return static_cast<std::int32_t>(Subset::kTest);
    default:
      return static_cast<std::int32_t>(Subset::kIgnore);
  }
}

// "!NN S name": the number is not used; the subset letter; the rest is the name.
void ReadCaseLine(const std::string& line, std::int32_t& subset, std::string& name) {
  std::size_t i = 1;
  while (i < line.size() && IsDigit(line[i])) ++i;
  while (i < line.size() && IsBlank(line[i])) ++i;
  subset = SubsetOfLetter(i < line.size() ? line[i] : ' ');
  name = i + 2 <= line.size() ? line.substr(i + 2) : std::string();
}

// Reads `count` values, which may run over several lines.
bool ReadValues(PatternLines& lines, std::string& pending, double* values, int count,
                bool& bad_value) {
  int n = 0;
  std::size_t pos = 0;
  while (n < count) {
    while (pos < pending.size() && IsBlank(pending[pos])) ++pos;
    if (pos >= pending.size()) {
      if (!lines.Next(pending)) return false;
      pos = 0;
      continue;
    }
    std::size_t end = pos;
    while (end < pending.size() && !IsBlank(pending[end])) ++end;
    const auto value = ParseReal(std::string_view(pending).substr(pos, end - pos));
    // A number the line length limit cut in two is no number.
    if (!value || (end == pending.size() && lines.reader().cut_in_word())) {
      bad_value = true;
      return false;
    }
    values[n++] = *value;
    pos = end;
  }
  pending.erase(0, pos);
  return true;
}

bool Writable(const std::string& text) {
  return text.find('\n') == std::string::npos && text.find('\r') == std::string::npos;
}

}  // namespace

std::unique_ptr<DataSet> ReadPatternFile(std::istream& in) {
  PatternLines lines(in);
  auto Refuse = [&](std::string_view message) -> std::unique_ptr<DataSet> {
    RecordError(lines.reader().RefusalText(message));
    return nullptr;
  };
  try {
    std::string line;
    if (!lines.reader().Next(line)) return Refuse(kIncorrectDataSetHeader);
    const auto header = ParseTextFileHeader(line);
    if (!header || header->kind != "patterns") return Refuse(kIncorrectDataSetHeader);
    if (!IsReadableVersion(*header)) {
      return Refuse(kLaterVersion);
    }

    std::int32_t variables = 0;
    std::int32_t cases = 0;
    if (!lines.NextNonBlank(line)) return Refuse(kNoAttributesField);
    if (FirstWord(line) == "no_inputs") {
      // The earlier layout: inputs, outputs, cases and verification cases.
      const auto inputs = KeywordNumber(line, "no_inputs");
      std::optional<std::int32_t> outputs, patterns, verification;
      if (lines.NextNonBlank(line)) outputs = KeywordNumber(line, "no_outputs");
      if (!inputs || !outputs || *inputs < 0 || *outputs < 0) {
        return Refuse(kNoAttributesField);
      }
      if (lines.NextNonBlank(line)) patterns = KeywordNumber(line, "no_patterns");
      if (!patterns) return Refuse(kNoPatternsField);
      if (lines.NextNonBlank(line)) verification = KeywordNumber(line, "no_verification");
      if (!verification) return Refuse(kNoPatternsField);
      variables = static_cast<std::int32_t>(
          std::min<std::int64_t>(std::int64_t{*inputs} + *outputs, INT32_MAX));
      cases = *patterns;
    } else {
      const auto attributes = KeywordNumber(line, "no_attributes");
      if (!attributes) return Refuse(kNoAttributesField);
      std::optional<std::int32_t> patterns;
      if (lines.NextNonBlank(line)) patterns = KeywordNumber(line, "no_patterns");
      if (!patterns) return Refuse(kNoPatternsField);
      variables = *attributes;
      cases = *patterns;
    }
    if (variables < 1 || cases < 1 || cases > kMaxCases) {
      return Refuse(kVariablesMissing);
    }
    if (!lines.NextNonBlank(line) || FirstWord(line) != "attributes") {
      return Refuse(kVariablesMissing);
    }

    // Variables grow line by line, so a count the file does not back up with
    // lines never allocates.
    auto data = std::make_unique<DataSet>();
    for (std::int32_t v = 0; v < variables; ++v) {
      if (!lines.Next(line) || (!line.empty() && line[0] == '!')) {
        return Refuse(kVariablesMissing);
      }
      data->variable_names.emplace_back();
      data->nominals.emplace_back();
      data->is_input.push_back(0);
      data->is_output.push_back(0);
      ReadVariable(line, *data, v);
      if (static_cast<std::int64_t>(data->nominals[v].size()) > kMaxNominalValues) {
        return Refuse(kNotEnoughMemory);
      }
      if (!NominalNamesDistinct(data->nominals[v])) return Refuse(kDuplicateNominalInDataFile);
    }
    data->no_variables = variables;
    data->host_attributes.resize(variables);

    std::string pending;
    std::vector<double> row(variables);
    for (std::int32_t c = 0; c < cases; ++c) {
      if (!lines.NextNonBlank(line) || line[0] != '!') return Refuse(kEndOfPatternFile);
      if (!DataEntriesFit(std::int64_t{c} + 1, variables)) return Refuse(kNotEnoughMemory);
      std::int32_t subset = 0;
      std::string name;
      ReadCaseLine(line, subset, name);
      pending.clear();
      bool bad_value = false;
      if (!ReadValues(lines, pending, row.data(), variables, bad_value)) {
        return Refuse(bad_value ? kValueNotANumber : kEndOfPatternFile);
      }
      data->entries.insert(data->entries.end(), row.begin(), row.end());
      data->subset.push_back(subset);
      data->case_names.push_back(std::move(name));
    }
    data->no_cases = cases;
    data->case_capacity = cases;
    RecountDataSet(*data);
    return data;
  } catch (const std::bad_alloc&) {
    return Refuse(kNotEnoughMemory);
  }
}

Status WritePatternFile(const DataSet& data, std::ostream& out) {
  for (int v = 0; v < data.no_variables; ++v) {
    std::string line = data.variable_names[v];
    bool ok = Writable(line) && line.find("={") == std::string::npos;
    if (!data.nominals[v].empty()) {
      line += "={";
      for (std::size_t k = 0; k < data.nominals[v].size(); ++k) {
        const std::string& n = data.nominals[v][k];
        ok = ok && Writable(n) && n.find(',') == std::string::npos &&
             n.find('}') == std::string::npos;
        line += (k ? "," : "") + n;
      }
      line += "}";
    }
    if (!ok || line.size() + 3 > LineReader::kMaxLineLength) {
      return Fail(kNameNotInPatternFile);
    }
  }
  for (int c = 0; c < data.no_cases; ++c) {
    if (!Writable(data.case_names[c]) ||
        data.case_names[c].size() + 16 > LineReader::kMaxLineLength) {
      return Fail(kCaseNameNotInPatternFile);
    }
  }

  out << TextFileHeaderLine("Patterns") << "\n\n";
  out << "no_attributes " << data.no_variables << "\n";
  out << "no_patterns " << data.no_cases << "\n";
  out << "attributes\n";
  for (int v = 0; v < data.no_variables; ++v) {
    const VariableRole role = data.role(v);
    out << (role == VariableRole::kBoth     ? "io "
            : role == VariableRole::kInput  ? "i  "
            : role == VariableRole::kOutput ? "o  "
                                            : "X  ")
        << data.variable_names[v];
    if (!data.nominals[v].empty()) {
      out << "={";
      for (std::size_t k = 0; k < data.nominals[v].size(); ++k) {
        out << (k ? "," : "") << data.nominals[v][k];
      }
      out << "}";
    }
    out << "\n";
  }
  static constexpr char kLetters[] = {'T', 'V', 'S', 'X'};
  for (int c = 0; c < data.no_cases; ++c) {
    char number[16];
    std::snprintf(number, sizeof number, "!%02d ", c + 1);
    const std::int32_t s = data.subset[c];
    out << number << kLetters[(s >= 0 && s <= 3) ? s : 3];
    if (!data.case_names[c].empty()) out << ' ' << data.case_names[c];
    out << "\n";
    const double* row = data.row(c);
    for (int v = 0; v < data.no_variables; ++v) {
      out << FormatRealOrMissing(row[v]) << '\t';
      if ((v + 1) % 8 == 0 || v + 1 == data.no_variables) out << '\n';
    }
  }
  out << "\n\n";
  if (!out) return Fail(kCannotWriteDataSetFile);
  return Status::Ok();
}

}  // namespace tavrin
