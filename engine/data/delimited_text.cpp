#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "common/ascii.h"
#include "common/messages.h"
#include "common/real_text.h"
#include "data/data_set_files.h"
#include "data/data_set_limits.h"

namespace tavrin {
namespace {

constexpr std::string_view kSubsetColumn = "NNTYPE";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

// A line of blanks is no row; but a tab that separates fields makes one.
bool IsBlankLine(std::string_view line, char separator) {
  return line.find_first_not_of(separator == '\t' ? " " : " \t") == std::string_view::npos;
}

// Calls field(i, text) for each field of a line without quotes; returns the
// count. With a blank separator, runs of blanks are one separator and leading
// blanks skip.
template <typename Field>
int SplitPlainFields(std::string_view line, char separator, Field&& field) {
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

// The same for a line with quotes, as spreadsheets write them: a field whose
// first character past blanks is a double quote runs to the closing quote,
// separators included, and "" inside stands for one quote. Its text (in
// `scratch`, valid during the call) goes to field(i, text, true); what follows
// the closing quote up to the separator is kept with it.
template <typename Field>
int SplitQuotedFields(std::string_view line, char separator, std::string& scratch, Field&& field) {
  int n = 0;
  std::size_t pos = 0;
  while (true) {
    if (separator == ' ') {
      pos = line.find_first_not_of(' ', pos);
      if (pos == std::string_view::npos) return n;
    }
    std::size_t quote = pos;
    while (quote < line.size() && line[quote] != separator &&
           (line[quote] == ' ' || line[quote] == '\t')) {
      ++quote;
    }
    std::size_t end;
    if (quote < line.size() && line[quote] == '"') {
      scratch.clear();
      std::size_t i = quote + 1;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            scratch.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        scratch.push_back(line[i++]);
      }
      end = std::min(line.find(separator, i), line.size());
      scratch.append(TrimBlanks(line.substr(i, end - i)));
      field(n++, std::string_view(scratch), true);
    } else {
      end = std::min(line.find(separator, pos), line.size());
      field(n++, line.substr(pos, end - pos), false);
    }
    if (end >= line.size()) return n;
    pos = end + 1;
  }
}

// Calls field(i, text, quoted) for each field of the line; returns the count.
template <typename Field>
int SplitFields(std::string_view line, char separator, std::string& scratch, Field&& field) {
  if (line.find('"') != std::string_view::npos) {
    return SplitQuotedFields(line, separator, scratch, field);
  }
  return SplitPlainFields(line, separator,
                          [&](int i, std::string_view text) { field(i, text, false); });
}

// Words in a column are value numbers of its nominal names until the import
// decides whether the column is nominal. Meanwhile each is held as a NaN
// carrying its number, which no number read from the file can be, so that
// a column found numeric can tell its words from its numbers.
double HeldWord(int value_number) {
  return std::bit_cast<double>(std::uint64_t{0x7ff8000000000000} |
                               static_cast<std::uint64_t>(value_number));
}

int HeldWordNumber(double x) {
  const auto bits = std::bit_cast<std::uint64_t>(x);
  if ((bits & 0xfff8000000000000) != 0x7ff8000000000000) return 0;
  return static_cast<int>(bits & 0xffffffff);
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
    return text.size() == word.size() && std::equal(text.begin(), text.end(), word.begin(),
                                                    [](char a, char b) { return ToUpper(a) == b; });
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

// How a warning names a variable.
std::string VariableLabel(const DataSet& data, int v) {
  return data.variable_names[v].empty() ? "VAR" + std::to_string(v + 1) : data.variable_names[v];
}

// Names a single-name variable "v2" as well, and makes numeric again a
// variable that holds numbers besides its words: the words then become
// missing, with a warning. (Taking a number 1 .. k as a value number instead
// would turn "2" into the second word without a word.)
void SettleNominals(DataSet& data) {
  for (int v = 0; v < data.no_variables; ++v) {
    std::vector<std::string>& names = data.nominals[v];
    if (names.empty()) continue;
    if (names.size() == 1) ResizeNominalNames(names, 2);
    bool nominal = true;
    for (int c = 0; c < data.no_cases && nominal; ++c) {
      const double x = data.at(c, v);
      nominal = IsMissing(x) || HeldWordNumber(x) > 0;
    }
    std::int64_t dropped = 0;
    for (int c = 0; c < data.no_cases; ++c) {
      double& x = data.at(c, v);
      const int word = HeldWordNumber(x);
      if (word == 0) continue;
      x = nominal ? word : MISSING;
      if (!nominal) ++dropped;
    }
    if (nominal) continue;
    names.clear();
    RecordWarning("Variable " + VariableLabel(data, v) + ": " + std::to_string(dropped) +
                  " entries that are not numbers were read as missing");
  }
}

// Separators that can occur inside a number or start a quoted field would
// split one.
bool IsUsableSeparator(char c) {
  return std::string_view("0123456789.+-eE\"\r\n").find(c) == std::string_view::npos && c != '\0';
}

bool IsValueNumber(double x, std::size_t names) {
  return names > 0 && x >= 1 && x <= static_cast<double>(names) &&
         x == static_cast<double>(static_cast<std::int64_t>(x));
}

// Appends the field so that the import reads it back as this text: quoted
// when it holds the separator or a quote, has blanks at its ends, is empty
// between blank separators (which would join it to the next), starts like a
// byte-order mark (which the first field would lose), or, for
// `as_text`, would otherwise read as a number, as missing or as a mark.
void AppendField(std::string& line, std::string_view text, char separator, bool as_text) {
  const bool needs_quotes =
      text.find(separator) != std::string_view::npos || text.find('"') != std::string_view::npos ||
      TrimBlanks(text).size() != text.size() || (text.empty() && separator == ' ') ||
      text.substr(0, kByteOrderMark.size()) == kByteOrderMark ||
      (as_text &&
       (ParseNumber(text) || text.empty() || text.front() == '?' || text == kSubsetColumn));
  if (!needs_quotes) {
    line += text;
    return;
  }
  line += '"';
  for (char ch : text) {
    if (ch == '"') line += '"';
    line += ch;
  }
  line += '"';
}

// Text has no form for a NaN or an infinity, and a nominal variable's entry
// that is not one of its value numbers would make the column numeric on
// reading: the user hears of both before the file is written.
void WarnOfValuesTextCannotCarry(const DataSet& data) {
  for (int v = 0; v < data.no_variables; ++v) {
    const std::size_t names = data.nominals[v].size();
    std::int64_t lost = 0;
    for (int r = 0; r < data.no_cases; ++r) {
      const double x = data.at(r, v);
      if (IsMissing(x)) continue;
      if (!std::isfinite(x) || (names > 0 && !IsValueNumber(x, names))) ++lost;
    }
    if (lost == 0) continue;
    RecordWarning("Variable " + VariableLabel(data, v) + ": " + std::to_string(lost) +
                  " entries cannot be written as text and will not read back as they are");
  }
}

}  // namespace

std::unique_ptr<DataSet> ImportText(std::istream& in, const DelimitedOptions& options) {
  try {
    const char c = options.separator;
    if (!IsUsableSeparator(c)) return Refused(kBadSeparator);
    const std::string whole = ReadAll(in);
    // A byte-order mark is no part of the first name.
    std::string_view text(whole);
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
      text.remove_prefix(kByteOrderMark.size());
    }
    const std::string_view missing =
        options.missing.empty() ? std::string_view("?") : std::string_view(options.missing);
    std::string scratch;

    // Pre-scan: rows (blank lines are not rows) and the widest row.
    std::int64_t rows = 0;
    int columns = 0;
    bool ragged = false;
    {
      Lines lines(text);
      std::string_view line;
      while (lines.Next(line)) {
        if (IsBlankLine(line, c)) continue;
        const bool plain = c != ' ' && line.find('"') == std::string_view::npos;
        const int n = plain ? static_cast<int>(std::count(line.begin(), line.end(), c)) + 1
                            : SplitFields(line, c, scratch, [](int, std::string_view, bool) {});
        if (rows > 0 && n != columns) ragged = true;
        columns = std::max(columns, n);
        ++rows;
      }
    }
    if (ragged) {
      RecordWarning(kRaggedRows);
    }
    const int name_column = options.case_names ? 0 : -1;
    const std::int64_t cases = rows - (options.header ? 1 : 0);
    int variables = columns - (options.case_names ? 1 : 0);
    if (cases < 1 || variables < 1) return Refused(kNotInFormat);
    if (cases > kMaxCases) return Refused(kTooManyCases);

    Lines lines(text);
    std::string_view line;
    auto next_row = [&]() {
      while (lines.Next(line)) {
        if (!IsBlankLine(line, c)) return true;
      }
      return false;
    };

    // The header gives names, and may mark the first data column as subsets
    // (by the word unquoted: a variable may have that name).
    std::vector<std::string> header(columns);
    const int first_data = options.case_names ? 1 : 0;
    bool subset_mark = false;
    if (options.header) {
      next_row();
      SplitFields(line, c, scratch, [&](int i, std::string_view f, bool quoted) {
        if (i >= columns) return;
        header[i] = std::string(quoted ? f : TrimBlanks(f));
        if (i == first_data) subset_mark = !quoted && header[i] == kSubsetColumn;
      });
    }
    const int subset_column = subset_mark ? first_data : -1;
    if (subset_column >= 0) --variables;
    if (variables < 1) return Refused(kNotInFormat);
    const int first_variable = first_data + (subset_column >= 0 ? 1 : 0);
    if (!DataEntriesFit(cases, variables)) return Refused(kNotEnoughMemory);

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
      SplitFields(line, c, scratch, [&](int i, std::string_view field, bool quoted) {
        if (i == name_column) {
          const std::string_view name = quoted ? field : TrimBlanks(field);
          if (quoted || !IsRowNumber(name, row + 1)) data->case_names[row] = std::string(name);
          return;
        }
        if (i == subset_column) {
          data->subset[row] = SubsetOfText(TrimBlanks(field));
          return;
        }
        const int v = i - first_variable;
        if (v < 0 || v >= variables) return;
        // Blanks around a value are not part of it; an empty field is
        // missing. A quoted field is text, whatever it looks like.
        const std::string_view value = quoted ? field : TrimBlanks(field);
        if (TrimBlanks(value).empty()) return;
        if (!quoted) {
          if (value.substr(0, missing.size()) == missing) return;
          if (const std::optional<double> number = ParseNumber(value)) {
            values[v] = *number;
            return;
          }
        }
        auto [it, added] = lookup[v].try_emplace(std::string(value), 0);
        if (added) {
          data->nominals[v].push_back(it->first);
          it->second = static_cast<int>(data->nominals[v].size());
        }
        values[v] = HeldWord(it->second);
      });
    }
    SettleNominals(*data);
    RecountDataSet(*data);
    return data;
  } catch (const std::bad_alloc&) {
    return Refused(kNotEnoughMemory);
  } catch (const std::length_error&) {
    return Refused(kNotEnoughMemory);
  }
}

Status ExportText(const DataSet& data, std::ostream& out, const DelimitedOptions& options) {
  const char c = options.separator;
  if (!IsUsableSeparator(c)) return Fail(kBadSeparator);
  auto one_line = [](const std::string& text) {
    return text.find('\n') == std::string::npos && text.find('\r') == std::string::npos;
  };
  for (int v = 0; v < data.no_variables; ++v) {
    bool ok = !options.header || one_line(data.variable_names[v]);
    for (const std::string& n : data.nominals[v]) ok = ok && one_line(n) && !n.empty();
    if (!ok) {
      return Fail(kNameNotExportable);
    }
  }
  if (options.case_names &&
      !std::all_of(data.case_names.begin(), data.case_names.end(), one_line)) {
    return Fail(kCaseNameNotExportable);
  }
  WarnOfValuesTextCannotCarry(data);
  static constexpr const char* kSubsets[] = {"TRAIN", "VERIFY", "TEST", "IGNORE"};
  std::string line;
  auto add = [&](std::string_view text, bool as_text) {
    AppendField(line, text, c, as_text);
    line += c;
  };
  if (options.header) {
    if (options.case_names) add("", false);
    if (options.subsets) add(kSubsetColumn, false);
    for (const std::string& name : data.variable_names) add(name, name == kSubsetColumn);
    line.pop_back();
    // A header of one empty name would be a blank line, which is no row.
    out << (IsBlankLine(line, c) ? "\"" + line + "\"" : line) << '\n';
  }
  for (int r = 0; r < data.no_cases; ++r) {
    line.clear();
    if (options.case_names) {
      char number[16];
      std::snprintf(number, sizeof number, "%02d", r + 1);
      const std::string& name = data.case_names[r];
      // A name that is just a row number would read back as no name.
      add(name.empty() ? std::string_view(number) : name, !name.empty());
    }
    if (options.subsets) {
      const std::int32_t s = data.subset[r];
      add(kSubsets[(s >= 0 && s <= 3) ? s : 0], false);
    }
    const double* row = data.row(r);
    for (int v = 0; v < data.no_variables; ++v) {
      const double x = row[v];
      const auto& names = data.nominals[v];
      if (IsMissing(x)) {
        add("?", false);
      } else if (IsValueNumber(x, names.size())) {
        add(names[static_cast<std::size_t>(x) - 1], true);
      } else {
        add(FormatRealRoundTrip(x, 7), false);
      }
    }
    line.back() = '\n';
    out << line;
  }
  if (!out) return Fail(kCannotWriteDataSetFile);
  return Status::Ok();
}

}  // namespace tavrin
