#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "data/data_set_files.h"
#include "data/data_set_limits.h"

namespace tavrin {
namespace {

constexpr std::string_view kNotInFormat = "Cannot read data file: not in the correct format";

std::unique_ptr<DataSet> Refuse(std::string_view message) {
  RecordError(message);
  return nullptr;
}

// One line of the file at a time, without its line end ("\r\n" or "\n").
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The whole stream: in one read when its size can be had, else in pieces.
std::string ReadAll(std::istream& in) {
  std::string text;
  const std::istream::pos_type start = in.tellg();
  if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
    const std::streamoff size = in.tellg() - start;
    in.seekg(start);
    if (size > 0) {
      text.resize(static_cast<std::size_t>(size));
      in.read(text.data(), size);
      text.resize(static_cast<std::size_t>(in.gcount()));
    }
    return text;
  }
  in.clear();
  char piece[1 << 16];
  while (in.read(piece, sizeof piece) || in.gcount() > 0) {
    text.append(piece, static_cast<std::size_t>(in.gcount()));
  }
  return text;
}

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Calls field(i, text) for each field of the line; returns the count. With a
// blank separator, runs of blanks are one separator and leading blanks skip.
template <typename Field>
int SplitFields(std::string_view line, char separator, Field&& field) {
  int n = 0;
  std::size_t pos = 0;
  if (separator == ' ') {
    while (true) {
      pos = line.find_first_not_of(' ', pos);
      if (pos == std::string_view::npos) break;
      std::size_t end = line.find(' ', pos);
      if (end == std::string_view::npos) end = line.size();
      field(n++, line.substr(pos, end - pos));
      pos = end;
    }
    return n;
  }
  while (true) {
    std::size_t end = line.find(separator, pos);
    if (end == std::string_view::npos) {
      field(n++, line.substr(pos));
      return n;
    }
    field(n++, line.substr(pos, end - pos));
    pos = end + 1;
  }
}

std::string_view Trim(std::string_view s) {
  std::size_t first = 0;
  std::size_t last = s.size();
  while (first < last && (s[first] == ' ' || s[first] == '\t')) ++first;
  while (last > first && (s[last - 1] == ' ' || s[last - 1] == '\t')) --last;
  return s.substr(first, last - first);
}

bool LooksNumeric(std::string_view s) {
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || c == 'e' || c == 'E' || c == '.' || c == '-' || c == '+')) {
      return false;
    }
  }
  return true;
}

// Most fields are short decimals: up to 15 significant digits with a power of
// ten within 10^22 either way. Their value is one correctly rounded product
// or quotient of two exactly held numbers, the same double from_chars gives.
std::optional<double> ShortDecimal(std::string_view s) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = s.data();
  const char* const end = p + s.size();
  auto is_digit = [](char c) { return static_cast<unsigned>(c - '0') < 10u; };
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  const char* const digits = p;
  while (p < end && *p == '0') ++p;  // leading zeros are not significant
  std::uint64_t mantissa = 0;
  const char* const whole = p;
  while (p < end && is_digit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
  std::ptrdiff_t significant = p - whole;
  int exponent = 0;
  bool any_digit = p > digits;
  if (p < end && *p == '.') {
    const char* const fraction = ++p;
    if (significant == 0) {
      while (p < end && *p == '0') ++p;
    }
    const char* const first = p;
    while (p < end && is_digit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    significant += p - first;
    exponent = -static_cast<int>(p - fraction);
    any_digit = any_digit || p > fraction;
  }
  if (!any_digit || significant > 15) return std::nullopt;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negative_exponent = false;
    if (p < end && (*p == '-' || *p == '+')) negative_exponent = *p++ == '-';
    const char* const start = p;
    int written = 0;
    while (p < end && is_digit(*p) && p - start < 4) written = written * 10 + (*p++ - '0');
    if (p == start) return std::nullopt;
    exponent += negative_exponent ? -written : written;
  }
  if (p != end) return std::nullopt;
  double value = 0.0;
  if (mantissa != 0) {
    if (exponent < -22 || exponent > 22) return std::nullopt;
    value = static_cast<double>(mantissa);
    value = exponent < 0 ? value / kPowersOfTen[-exponent] : value * kPowersOfTen[exponent];
  }
  return negative ? -value : value;
}

// A field made only of digits, "e", "E", ".", "-" and "+" that reads whole
// as a real; anything else is a nominal value. Reading first and checking the
// ends afterwards costs one pass: a real that starts and ends like this has
// no other characters ("inf" and "nan" fail the checks).
std::optional<double> ParseNumber(std::string_view s) {
  if (s.empty()) return std::nullopt;
  if (const auto quick = ShortDecimal(s)) return quick;
  const char first = s.front();
  const char last = s.back();
  if (!((first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.') ||
      !((last >= '0' && last <= '9') || last == '.')) {
    return std::nullopt;
  }
  if (first == '+') s.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

std::int32_t SubsetOfText(std::string_view text) {
  auto is = [&](std::string_view word) {
    return text.size() == word.size() &&
           std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
             return std::toupper(static_cast<unsigned char>(a)) == b;
           });
  };
  if (is("VERIFY")) return static_cast<std::int32_t>(Subset::kVerification);
  if (is("TEST")) return static_cast<std::int32_t>(Subset::kTest);
  if (is("IGNORE")) return static_cast<std::int32_t>(Subset::kIgnore);
  return static_cast<std::int32_t>(Subset::kTraining);
}

bool IsRowNumber(std::string_view text, int row) {
  if (text.empty() || !LooksNumeric(text)) return false;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value == row;
}

// Names a single-name variable "v2" as well, and makes numeric again a
// variable whose entries are not all value numbers of its names.
void SettleNominals(DataSet& data) {
  for (int v = 0; v < data.no_variables; ++v) {
    std::vector<std::string>& names = data.nominals[v];
    if (names.empty()) continue;
    if (names.size() == 1) ResizeNominalNames(names, 2);
    const double k = static_cast<double>(names.size());
    for (int c = 0; c < data.no_cases; ++c) {
      const double x = data.at(c, v);
      if (IsMissing(x)) continue;
      if (!(x >= 1.0 && x <= k && x == static_cast<double>(static_cast<std::int64_t>(x)))) {
        names.clear();
        break;
      }
    }
  }
}

std::string FormatValue(double x) {
  char text[64];
  auto r = std::to_chars(text, text + sizeof text, x, std::chars_format::general, 7);
  if (r.ptr - text > 9)
    r = std::to_chars(text, text + sizeof text, x, std::chars_format::general, 4);
  return std::string(text, r.ptr);
}

}  // namespace

std::unique_ptr<DataSet> ImportText(std::istream& in, const DelimitedOptions& options) {
  try {
    const std::string text = ReadAll(in);
    const char c = options.separator;
    const std::string_view missing =
        options.missing.empty() ? std::string_view("?") : std::string_view(options.missing);

    // Pre-scan: rows (blank lines are not rows) and the widest row.
    std::int64_t rows = 0;
    int columns = 0;
    bool ragged = false;
    {
      Lines lines(text);
      std::string_view line;
      while (lines.Next(line)) {
        if (IsBlankLine(line)) continue;
        const int n = c == ' ' ? SplitFields(line, c, [](int, std::string_view) {})
                               : static_cast<int>(std::count(line.begin(), line.end(), c)) + 1;
        if (rows > 0 && n != columns) ragged = true;
        columns = std::max(columns, n);
        ++rows;
      }
    }
    if (ragged) {
      RecordWarning(
          "The rows in the data file contain an inconsistent number of columns. Please check "
          "that the data is correct (missing values have been added to short rows).");
    }
    const int name_column = options.case_names ? 0 : -1;
    const std::int64_t cases = rows - (options.header ? 1 : 0);
    int variables = columns - (options.case_names ? 1 : 0);
    if (cases < 1 || variables < 1) return Refuse(kNotInFormat);
    if (cases > kMaxCases)
      return Refuse("Cannot create any more cases: maximum (536870912) reached");

    Lines lines(text);
    std::string_view line;
    auto next_row = [&]() {
      while (lines.Next(line)) {
        if (!IsBlankLine(line)) return true;
      }
      return false;
    };

    // The header gives names, and may mark the first data column as subsets.
    std::vector<std::string> header(columns);
    if (options.header) {
      next_row();
      SplitFields(line, c, [&](int i, std::string_view f) {
        if (i < columns) header[i] = std::string(Trim(f));
      });
    }
    const int first_data = options.case_names ? 1 : 0;
    const int subset_column =
        (options.header && first_data < columns && header[first_data] == "NNTYPE") ? first_data
                                                                                   : -1;
    if (subset_column >= 0) --variables;
    if (variables < 1) return Refuse(kNotInFormat);
    const int first_variable = first_data + (subset_column >= 0 ? 1 : 0);
    if (!DataEntriesFit(cases, variables)) return Refuse(kNotEnoughMemory);

    auto data = std::make_unique<DataSet>();
    data->no_variables = variables;
    data->no_cases = static_cast<std::int32_t>(cases);
    data->case_capacity = data->no_cases;
    data->entries.assign(static_cast<std::size_t>(cases) * variables, MISSING);
    data->variable_names.resize(variables);
    for (int v = 0; v < variables; ++v) {
      data->variable_names[v] =
          options.header ? header[first_variable + v] : "VAR" + std::to_string(v + 1);
    }
    data->nominals.resize(variables);
    data->case_names.resize(cases);
    data->is_input.assign(variables, 1);
    data->is_output.assign(variables, 0);
    data->subset.assign(cases, static_cast<std::int32_t>(Subset::kTraining));
    data->host_attributes.resize(variables);

    std::vector<std::unordered_map<std::string, int>> lookup(variables);
    for (std::int32_t row = 0; row < data->no_cases && next_row(); ++row) {
      double* values = data->row(row);
      SplitFields(line, c, [&](int i, std::string_view field) {
        if (i == name_column) {
          const std::string_view name = Trim(field);
          if (!IsRowNumber(name, row + 1)) data->case_names[row] = std::string(name);
          return;
        }
        if (i == subset_column) {
          data->subset[row] = SubsetOfText(Trim(field));
          return;
        }
        const int v = i - first_variable;
        if (v < 0 || v >= variables) return;
        // Blanks around a value are not part of it; an empty field is missing.
        const std::string_view value = Trim(field);
        if (value.empty() || value.substr(0, missing.size()) == missing) return;
        const std::optional<double> number = ParseNumber(value);
        if (number) {
          values[v] = *number;
          return;
        }
        auto [it, added] = lookup[v].try_emplace(std::string(value), 0);
        if (added) {
          data->nominals[v].push_back(it->first);
          it->second = static_cast<int>(data->nominals[v].size());
        }
        values[v] = it->second;
      });
    }
    SettleNominals(*data);
    RecountDataSet(*data);
    return data;
  } catch (const std::bad_alloc&) {
    return Refuse(kNotEnoughMemory);
  } catch (const std::length_error&) {
    return Refuse(kNotEnoughMemory);
  }
}

Status ExportText(const DataSet& data, std::ostream& out, const DelimitedOptions& options) {
  const char c = options.separator;
  auto writable = [&](const std::string& text) {
    return text.find(c) == std::string::npos && text.find('\n') == std::string::npos &&
           text.find('\r') == std::string::npos;
  };
  for (int v = 0; v < data.no_variables; ++v) {
    bool ok = !options.header || writable(data.variable_names[v]);
    for (const std::string& n : data.nominals[v]) ok = ok && writable(n) && !n.empty();
    if (!ok) {
      return Fail(
          "A variable name or nominal value holds the separator or a line break, or is "
          "empty, and cannot be exported");
    }
  }
  if (options.case_names) {
    for (const std::string& name : data.case_names) {
      if (!writable(name)) {
        return Fail("A case name holds the separator or a line break and cannot be exported");
      }
    }
  }
  static constexpr const char* kSubsets[] = {"TRAIN", "VERIFY", "TEST", "IGNORE"};
  std::string line;
  if (options.header) {
    std::vector<std::string> fields;
    if (options.case_names) fields.emplace_back();
    if (options.subsets) fields.emplace_back("NNTYPE");
    fields.insert(fields.end(), data.variable_names.begin(), data.variable_names.end());
    for (std::size_t i = 0; i < fields.size(); ++i)
      line += (i ? std::string(1, c) : "") + fields[i];
    out << line << '\n';
  }
  for (int r = 0; r < data.no_cases; ++r) {
    line.clear();
    auto add = [&](std::string_view field) {
      line += field;
      line += c;
    };
    if (options.case_names) {
      char number[16];
      std::snprintf(number, sizeof number, "%02d", r + 1);
      add(data.case_names[r].empty() ? std::string_view(number) : data.case_names[r]);
    }
    if (options.subsets) {
      const std::int32_t s = data.subset[r];
      add(kSubsets[(s >= 0 && s <= 3) ? s : 0]);
    }
    const double* row = data.row(r);
    for (int v = 0; v < data.no_variables; ++v) {
      const double x = row[v];
      const auto& names = data.nominals[v];
      if (IsMissing(x)) {
        add("?");
      } else if (!names.empty() && x >= 1 && x <= static_cast<double>(names.size()) &&
                 x == static_cast<double>(static_cast<std::int64_t>(x))) {
        add(names[static_cast<std::size_t>(x) - 1]);
      } else {
        add(FormatValue(x));
      }
    }
    line.back() = '\n';
    out << line;
  }
  if (!out) return Fail("Couldn't open specified file for writing");
  return Status::Ok();
}

}  // namespace tavrin
