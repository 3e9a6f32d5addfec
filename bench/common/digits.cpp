#include "digits.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <string_view>

namespace tavrin::bench {
namespace {

constexpr int kFields = kDigitsPixels + 1;
// Far above the 265 kB of the real table; anything larger is not that table.
constexpr std::streamoff kMaxFileBytes = std::streamoff{16} << 20;

bool ParseField(std::string_view text, int low, int high, int& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value >= low && value <= high;
}

bool ParseLine(std::string_view line, Digits& digits) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  int field = 0;
  while (true) {
    const std::size_t comma = line.find(',');
    const std::string_view text = line.substr(0, comma);
    const bool last = field == kFields - 1;
    if ((comma == std::string_view::npos) != last) return false;  // too few or too many
    int value = 0;
    if (last) {
      if (!ParseField(text, 0, 9, value)) return false;
      digits.classes.push_back(value + 1);
      return true;
    }
    if (!ParseField(text, 0, 16, value)) return false;
    digits.inputs.push_back(value / 16.0);
    line.remove_prefix(comma + 1);
    ++field;
  }
}

}  // namespace

std::optional<Digits> ParseDigits(const std::string& text, std::string& error) {
  Digits digits;
  std::string_view rest(text);
  std::size_t line_number = 0;
  while (!rest.empty()) {
    ++line_number;
    const std::size_t newline = rest.find('\n');
    const std::string_view line = rest.substr(0, newline);
    rest.remove_prefix(newline == std::string_view::npos ? rest.size() : newline + 1);
    if (!ParseLine(line, digits)) {
      error = "digits line " + std::to_string(line_number) +
              ": expected 64 integers 0..16 and a digit 0..9, separated by commas";
      return std::nullopt;
    }
    ++digits.rows;
  }
  if (digits.rows == 0) {
    error = "digits table is empty";
    return std::nullopt;
  }
  return digits;
}

std::optional<Digits> LoadDigits(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return std::nullopt;
  }
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0 || size > kMaxFileBytes) {
    error = path + " is not a digits table (size)";
    return std::nullopt;
  }
  file.seekg(0);
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!file.read(text.data(), size)) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  return ParseDigits(text, error);
}

std::optional<Digits> LoadBenchDigits(std::string& error) {
  const std::string path = std::string(TAVRIN_BENCH_DATA_DIR) + "/digits.csv";
  std::optional<Digits> digits = LoadDigits(path, error);
  if (digits && digits->rows != kDigitsRows) {
    error = path + " holds " + std::to_string(digits->rows) + " rows, not " +
            std::to_string(kDigitsRows);
    return std::nullopt;
  }
  return digits;
}

}  // namespace tavrin::bench
