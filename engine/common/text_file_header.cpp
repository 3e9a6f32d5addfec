#include "common/text_file_header.h"

#include "common/ascii.h"

namespace tavrin {
namespace {

constexpr std::string_view kStart = "# Tavrin v";
// Beyond this a version number is simply "large"; it keeps the sum in range.
constexpr std::int64_t kLargeNumber = std::int64_t{1} << 40;

void SkipBlanks(std::string_view text, std::size_t& at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
}

// A decimal integer with an optional sign, as "%d" reads it.
bool ReadInteger(std::string_view text, std::size_t& at, std::int64_t& value) {
  SkipBlanks(text, at);
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
    negative = text[at] == '-';
    ++at;
  }
  const std::size_t first = at;
  value = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    if (value < kLargeNumber) value = value * 10 + (text[at] - '0');
    ++at;
  }
  if (at == first) return false;
  if (negative) value = -value;
  return true;
}

}  // namespace

std::optional<TextFileHeader> ParseTextFileHeader(std::string_view line) {
  if (line.substr(0, kStart.size()) != kStart) return std::nullopt;
  TextFileHeader header;
  std::size_t at = kStart.size();
  if (!ReadInteger(line, at, header.major)) return std::nullopt;
  if (at >= line.size() || line[at] != '.') return std::nullopt;
  ++at;
  if (!ReadInteger(line, at, header.minor)) return std::nullopt;
  SkipBlanks(line, at);
  const std::size_t first = at;
  while (at < line.size() && !IsBlank(line[at])) ++at;
  if (at == first) return std::nullopt;
  header.kind.assign(line.substr(first, at - first));
  for (char& c : header.kind) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return header;
}

bool IsReadableVersion(const TextFileHeader& header) {
  return header.major <= 2 && header.minor <= 1;
}

std::string TextFileHeaderLine(std::string_view kind) {
  return std::string(kStart) + "1.0 " + std::string(kind);
}

}  // namespace tavrin
