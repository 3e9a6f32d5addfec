#include "common/real_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "common/missing.h"

namespace tavrin {
namespace {

// How "%lg" writes the missing-value marker; files written before "?" was
// used for it hold this text where the marker was meant.
constexpr std::string_view kMissingAsReal = "1.17549e-38";

std::string_view WithoutPlus(std::string_view token) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  return token;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::optional<double> OldRuntimeSpecial(std::string_view token) {
  bool negative = false;
  if (!token.empty() && token.front() == '-') {
    negative = true;
    token.remove_prefix(1);
  }
  double value = 0.0;
  if (EqualsIgnoringCase(token, "1.#INF")) {
    value = std::numeric_limits<double>::infinity();
  } else if (EqualsIgnoringCase(token, "1.#IND") || EqualsIgnoringCase(token, "1.#QNAN") ||
             EqualsIgnoringCase(token, "1.#SNAN")) {
    value = std::numeric_limits<double>::quiet_NaN();
  } else {
    return std::nullopt;
  }
  return negative ? -value : value;
}

// Significant digits of the shortest text that reads back as the value.
int ShortestDigits(double value) {
  std::array<char, 64> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  text = text.substr(0, text.find_first_of("eE"));
  std::string digits;
  for (char c : text) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  return static_cast<int>(digits.find_last_not_of('0') - first + 1);
}

}  // namespace

std::string FormatRealRoundTrip(double value, int min_digits) {
  // Among texts of the shortest length the closest to the value is the one
  // rounded to that many digits, so "%.<shortest>g" reads back exactly.
  const int digits = std::isfinite(value) ? std::max(ShortestDigits(value), min_digits) : 1;
  std::array<char, 64> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, digits);
  return std::string(buffer.data(), result.ptr);
}

std::string FormatReal(double value) {
  return FormatRealRoundTrip(value, 6);
}

std::string FormatRealOrMissing(double value) {
  if (IsMissing(value)) return "?";
  std::string text = FormatReal(value);
  // A value next to the marker would print as the marker's old text and
  // read back as the marker; seventeen digits read back as itself, and are
  // never that text.
  if (text == kMissingAsReal) {
    std::array<char, 64> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 16);
    text.assign(buffer.data(), result.ptr);
  }
  return text;
}

std::string FormatRealExact(double value) {
  std::array<char, 64> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::optional<double> ParseReal(std::string_view token) {
  if (token == "?" || token == kMissingAsReal) return MISSING;
  const std::string_view digits = WithoutPlus(token);
  if (digits.empty()) return std::nullopt;
  double value = 0.0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::general);
  if (result.ec == std::errc() && result.ptr == digits.data() + digits.size()) return value;
  return OldRuntimeSpecial(digits);
}

std::optional<std::int32_t> ParseInt32(std::string_view token) {
  const std::string_view digits = WithoutPlus(token);
  if (digits.empty()) return std::nullopt;
  std::int32_t value = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace tavrin
