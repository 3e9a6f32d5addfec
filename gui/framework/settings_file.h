#pragma once

// Settings files of the interface (the GUI definition file among them): line
// files in sections, each opened by a header line "# Tavrin v<major>.<minor>
// <word>"; within a section, lines starting with "#" are comments and the
// others are a keyword and a value.

#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "su_parameter.h"

namespace tavrin::gui {

enum class SectionKind : int {
  kNotAHeader = -1,
  kOther = 0,
  kConfiguration = 1,
  kStatistics = 2,
  kPool = 3,
  kLayout = 4,  // "layout" or "screen"
  kConfigurationLayout = 5,
  kOutput = 6,  // "output" or "output."
  kScaleFactors = 7,
};

struct SectionHeader {
  int major = 0;
  int minor = 0;
  std::string word;  // lower-cased
  SectionKind kind = SectionKind::kOther;
};

// The header on the line, or nullopt when the line is none.
std::optional<SectionHeader> ParseSectionHeader(std::string_view line);
SectionKind KindOfLine(std::string_view line);

// A keyword and its value. Blanks are space, tab, line feed and carriage
// return. A value in double quotes runs to the closing quote (or the line's
// end) and keeps its blanks; otherwise only its first word counts.
struct KeywordValue {
  std::string_view keyword;  // empty for a blank line
  std::string_view value;
};
KeywordValue SplitKeywordValue(std::string_view line);

// Whole lines, however long, without their line ends ("\n" or "\r\n").
// Longer than 1023 characters is more than the files are meant to hold:
// `too_long` is called with the line's number, and the line is read whole.
class SettingsLines {
 public:
  explicit SettingsLines(std::istream& in, std::function<void(long)> too_long = {})
      : in_(in), too_long_(std::move(too_long)) {}
  bool Next(std::string& line);
  long line_number() const { return line_number_; }

  static constexpr std::size_t kLongestLine = 1023;
  // A line's own limit: beyond it the rest is skipped (a binary file with no
  // line ends must not take all memory).
  static constexpr std::size_t kMaxKeptLine = 1 << 20;

 private:
  bool ReadLine(std::string& line);

  std::istream& in_;
  std::function<void(long)> too_long_;
  long line_number_ = 0;
};

// Readers of section kinds by their word; at most 19 kinds.
class SectionReaders {
 public:
  using Reader = std::function<void(SettingsLines& lines)>;
  static constexpr int kMaxKinds = 19;

  // Reports "Couldn't register file section %s; too many section types".
  bool Register(std::string_view word, Reader reader, Reporter& reporter);

  // Calls the reader registered for the header's section word, or reports
  // "Unrecognised section type <%s> found in input file".
  bool Dispatch(const SectionHeader& header, SettingsLines& lines, Reporter& reporter) const;

 private:
  std::vector<std::pair<std::string, Reader>> readers_;
};

}  // namespace tavrin::gui
