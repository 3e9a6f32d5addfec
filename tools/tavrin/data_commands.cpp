#include "data_commands.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "common/real_text.h"
#include "data/data_set_files.h"

namespace tavrin::tool {
namespace {

struct FormatName {
  std::string_view name;
  DataFileFormat format;
};
constexpr FormatName kFormats[] = {{"host", DataFileFormat::kHost},
                                   {"binary", DataFileFormat::kBinary},
                                   {"text", DataFileFormat::kDelimited},
                                   {"pattern", DataFileFormat::kPattern}};

std::optional<DataFileFormat> FormatOf(std::string_view name) {
  for (const FormatName& f : kFormats) {
    if (f.name == name) return f.format;
  }
  return std::nullopt;
}

struct Options {
  std::vector<std::string> files;
  std::optional<DataFileFormat> from, to;
  DelimitedOptions text;    // reading
  DelimitedOptions output;  // writing: the same but for its separator
  std::optional<char> output_separator;
  int rows = 5;
  std::string problem;  // set when the arguments are wrong
};

std::optional<char> SeparatorOf(const std::string& text) {
  if (text == "\\t" || text == "tab") return '\t';
  if (text.size() == 1) return text[0];
  return std::nullopt;
}

Options Parse(const std::vector<std::string>& args) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        o.problem = a + " needs a value";
        return std::nullopt;
      }
      return args[++i];
    };
    if (a == "--from" || a == "--to" || a == "--format") {
      const auto v = value();
      if (!v) break;
      const auto f = FormatOf(*v);
      if (!f) {
        o.problem = "unknown format '" + *v + "' (host, binary, text or pattern)";
        break;
      }
      (a == "--to" ? o.to : o.from) = f;
    } else if (a == "--separator" || a == "--from-separator" || a == "--to-separator") {
      const auto v = value();
      if (!v) break;
      const std::optional<char> separator = SeparatorOf(*v);
      if (!separator) {
        o.problem = a + " takes one character (or tab)";
        break;
      }
      if (a != "--to-separator") o.text.separator = *separator;
      if (a != "--from-separator") o.output_separator = *separator;
    } else if (a == "--missing") {
      const auto v = value();
      if (!v) break;
      o.text.missing = *v;
    } else if (a == "--rows") {
      const auto v = value();
      if (!v) break;
      const auto n = ParseInt32(*v);
      if (!n || *n < 0) {
        o.problem = "--rows takes a count";
        break;
      }
      o.rows = *n;
    } else if (a == "--case-names") {
      o.text.case_names = true;
    } else if (a == "--header") {
      o.text.header = true;
    } else if (a == "--no-header") {
      o.text.header = false;
    } else if (a == "--subsets") {
      o.text.subsets = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      o.problem = "unknown option '" + a + "'";
      break;
    } else {
      o.files.push_back(a);
    }
  }
  o.output = o.text;
  if (o.output_separator) o.output.separator = *o.output_separator;
  return o;
}

int Usage(std::ostream& err, const std::string& problem) {
  err << "tavrin: " << problem << " (see tavrin --help)\n";
  return 1;
}

std::string_view RoleName(VariableRole role) {
  switch (role) {
    case VariableRole::kInput:
      return "input";
    case VariableRole::kOutput:
      return "output";
    case VariableRole::kBoth:
      return "both";
    case VariableRole::kNeither:
      return "ignored";
  }
  return "";
}

std::string ValueText(const DataSet& d, int v, double x) {
  if (IsMissing(x)) return "?";
  const auto& names = d.nominals[v];
  if (!names.empty() && x >= 1 && x <= static_cast<double>(names.size()) &&
      x == static_cast<double>(static_cast<std::int64_t>(x))) {
    return names[static_cast<std::size_t>(x) - 1];
  }
  return FormatReal(x);
}

}  // namespace

int DataConvert(const std::vector<std::string>& args, std::ostream& err) {
  const Options o = Parse(args);
  if (!o.problem.empty()) return Usage(err, o.problem);
  if (o.files.size() != 2) return Usage(err, "data-convert takes an input and an output file");
  if (!o.from || !o.to) return Usage(err, "data-convert needs --from and --to");
  const std::unique_ptr<DataSet> data = LoadDataSet(o.files[0], *o.from, o.text);
  if (!data) return 1;
  return SaveDataSet(*data, o.files[1], *o.to, o.output).ok() ? 0 : 1;
}

int DataDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options o = Parse(args);
  if (!o.problem.empty()) return Usage(err, o.problem);
  if (o.files.size() != 1) return Usage(err, "data-dump takes one file");
  const DataFileFormat format = o.from.value_or(FormatFromName(o.files[0]));
  const std::unique_ptr<DataSet> d = LoadDataSet(o.files[0], format, o.text);
  if (!d) return 1;
  out << "Data set " << o.files[0] << "\n";
  if (!d->title.empty()) out << "  title: " << d->title << "\n";
  out << "  " << d->no_variables << " variables (" << d->no_inputs << " inputs, " << d->no_outputs
      << " outputs), " << d->no_cases << " cases (" << d->no_training << " training, "
      << d->no_verification << " verification, " << d->no_test << " test, "
      << d->no_cases - d->no_training - d->no_verification - d->no_test << " ignored)\n";
  out << "Variables:\n";
  for (int v = 0; v < d->no_variables; ++v) {
    out << "  " << v + 1 << " "
        << (d->variable_names[v].empty() ? "(no name)" : d->variable_names[v]) << "  "
        << RoleName(d->role(v));
    if (!d->nominals[v].empty()) {
      out << "  nominal:";
      for (const std::string& n : d->nominals[v]) out << " " << n;
    }
    out << "\n";
  }
  static constexpr const char* kSubsets[] = {"training", "verification", "test", "ignored"};
  const int rows = std::min(o.rows, d->no_cases);
  if (rows > 0) out << "First " << rows << " cases:\n";
  for (int c = 0; c < rows; ++c) {
    out << "  " << c + 1 << " [" << kSubsets[d->subset[c]] << "]";
    if (!d->case_names[c].empty()) out << " " << d->case_names[c];
    out << ":";
    for (int v = 0; v < d->no_variables; ++v) out << " " << ValueText(*d, v, d->at(c, v));
    out << "\n";
  }
  return 0;
}

}  // namespace tavrin::tool
