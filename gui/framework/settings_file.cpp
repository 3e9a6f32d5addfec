#include "settings_file.h"

#include <charconv>

namespace tavrin::gui {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Reads a decimal number at `at`, moving past it; large numbers saturate.
std::optional<int> ReadNumber(std::string_view text, std::size_t& at) {
  const std::size_t start = at;
  long long value = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    if (value < 1000000) value = value * 10 + (text[at] - '0');
    ++at;
  }
  if (at == start) return std::nullopt;
  return static_cast<int>(value);
}

SectionKind KindOfWord(const std::string& word) {
  if (word == "configuration") return SectionKind::kConfiguration;
  if (word == "statistics") return SectionKind::kStatistics;
  if (word == "pool") return SectionKind::kPool;
  if (word == "layout" || word == "screen") return SectionKind::kLayout;
  if (word == "configuration_layout") return SectionKind::kConfigurationLayout;
  if (word == "output" || word == "output.") return SectionKind::kOutput;
  if (word == "scalefactors") return SectionKind::kScaleFactors;
  return SectionKind::kOther;
}

}  // namespace

std::optional<SectionHeader> ParseSectionHeader(std::string_view line) {
  constexpr std::string_view kStart = "# Tavrin v";
  if (line.substr(0, kStart.size()) != kStart) return std::nullopt;
  std::size_t at = kStart.size();
  SectionHeader header;
  const auto major = ReadNumber(line, at);
  if (!major || at >= line.size() || line[at] != '.') return std::nullopt;
  ++at;
  const auto minor = ReadNumber(line, at);
  if (!minor) return std::nullopt;
  while (at < line.size() && IsBlank(line[at])) ++at;
  std::size_t end = at;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  header.major = *major;
  header.minor = *minor;
  header.word = Lower(line.substr(at, end - at));
  header.kind = KindOfWord(header.word);
  return header;
}

SectionKind KindOfLine(std::string_view line) {
  const auto header = ParseSectionHeader(line);
  return header ? header->kind : SectionKind::kNotAHeader;
}

KeywordValue SplitKeywordValue(std::string_view line) {
  std::size_t at = 0;
  while (at < line.size() && IsBlank(line[at])) ++at;
  std::size_t end = at;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  KeywordValue kv;
  kv.keyword = line.substr(at, end - at);
  at = end;
  while (at < line.size() && IsBlank(line[at])) ++at;
  if (at >= line.size()) return kv;
  if (line[at] == '"') {
    const std::size_t close = line.find('"', at + 1);
    kv.value =
        line.substr(at + 1, (close == std::string_view::npos ? line.size() : close) - at - 1);
    // A line end inside the quotes is no part of the value.
    while (!kv.value.empty() && (kv.value.back() == '\r' || kv.value.back() == '\n')) {
      kv.value.remove_suffix(1);
    }
    return kv;
  }
  end = at;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  kv.value = line.substr(at, end - at);
  return kv;
}

bool SettingsLines::Next(std::string& line) {
  // A file buffer throws when the system's read fails; that ends the file.
  try {
    return ReadLine(line);
  } catch (...) {
    return false;
  }
}

bool SettingsLines::ReadLine(std::string& line) {
  line.clear();
  std::streambuf* buffer = in_.rdbuf();
  if (buffer == nullptr) return false;
  int c = buffer->sbumpc();
  if (c == std::char_traits<char>::eof()) return false;
  ++line_number_;
  bool kept_whole = true;
  while (c != std::char_traits<char>::eof() && c != '\n') {
    if (line.size() < kMaxKeptLine) {
      line.push_back(static_cast<char>(c));
    } else {
      kept_whole = false;
    }
    c = buffer->sbumpc();
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if ((line.size() > kLongestLine || !kept_whole) && too_long_) too_long_(line_number_);
  return true;
}

bool SectionReaders::Register(std::string_view word, Reader reader, Reporter& reporter) {
  if (static_cast<int>(readers_.size()) >= kMaxKinds) {
    reporter.Error("Couldn't register file section " + std::string(word) +
                   "; too many section types");
    return false;
  }
  readers_.emplace_back(Lower(word), std::move(reader));
  return true;
}

bool SectionReaders::Dispatch(const SectionHeader& header, SettingsLines& lines,
                              Reporter& reporter) const {
  for (const auto& [word, reader] : readers_) {
    if (word == header.word) {
      reader(lines);
      return true;
    }
  }
  reporter.Error("Unrecognised section type <" + header.word + "> found in input file");
  return false;
}

}  // namespace tavrin::gui
