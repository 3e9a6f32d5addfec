#include "names_and_labels.h"

#include <algorithm>
#include <clocale>
#include <cstring>

namespace kvm {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Characters the host's expressions give a meaning, so never part of a name.
bool IsReservedInNames(unsigned char c) {
  return c == '"' || std::strchr("#&'()*+,-./;:<=>[]^\\{}~", c) != nullptr;
}

// Length of the well-formed UTF-8 multi-byte character at `at`, or 1.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (length == 1 || text.size() - at < length) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if (next < 0x80 || next > 0xBF) return 1;
  }
  return length;
}

char NameCharacter(unsigned char c) {
  if (c < 33 || c == 127 || IsReservedInNames(c)) return '_';
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return static_cast<char>(c);
}

// Consumes a decimal point at `at`: the full stop or the locale's separator.
bool TakeDecimalPoint(std::string_view text, std::size_t& at, std::string_view separator) {
  if (at < text.size() && text[at] == '.') {
    ++at;
    return true;
  }
  if (!separator.empty() && text.substr(at).starts_with(separator)) {
    at += separator.size();
    return true;
  }
  return false;
}

}  // namespace

std::string LocaleDecimalSeparator() {
  const std::lconv* conventions = std::localeconv();
  if (conventions == nullptr || conventions->decimal_point == nullptr ||
      conventions->decimal_point[0] == '\0') {
    return ".";
  }
  return conventions->decimal_point;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string_view StoredText(const char* data, std::size_t size) {
  std::string_view text(data, size);
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

bool MakeVariableName(std::string_view text, std::string_view decimal_separator,
                      std::array<char, kNameSize>& name) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) return false;
  const char first = trimmed.front();
  if (first == '-' || first == '+' || IsDigit(first)) return false;
  if (!decimal_separator.empty() && trimmed.starts_with(decimal_separator)) return false;

  std::array<char, kNameSize> made;
  made.fill(' ');
  std::size_t length = 0;
  for (std::size_t at = 0; at < trimmed.size();) {
    const std::size_t step = CharacterLength(trimmed, at);
    if (length + step > kNameSize) break;  // never split a character
    if (step > 1) {
      std::memcpy(&made[length], &trimmed[at], step);
    } else {
      made[length] = NameCharacter(static_cast<unsigned char>(trimmed[at]));
    }
    length += step;
    at += step;
  }
  name = made;
  return true;
}

std::array<char, kNameSize> GeneratedName(std::string_view prefix, std::int32_t number) {
  const std::string digits = std::to_string(number);
  std::array<char, kNameSize> name{};
  const std::size_t room = kNameSize - std::min(digits.size(), kNameSize);
  const std::size_t kept = std::min(prefix.size(), room);
  std::memcpy(name.data(), prefix.data(), kept);
  std::memcpy(name.data() + kept, digits.data(), std::min(digits.size(), kNameSize));
  return name;
}

bool ReadsAsNumber(std::string_view text, std::string_view decimal_separator) {
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  std::size_t digits = 0;
  while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
  if (TakeDecimalPoint(text, at, decimal_separator)) {
    while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t exponent_digits = 0;
    while (at < text.size() && IsDigit(text[at])) ++at, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  return at == text.size();
}

bool MakeLabel(std::string_view text, std::string_view decimal_separator,
               std::array<char, kLabelSize>& label) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty() || trimmed.size() > kLabelSize) return false;
  if (ReadsAsNumber(trimmed, decimal_separator)) return false;
  label.fill(' ');
  std::memcpy(label.data(), trimmed.data(), trimmed.size());
  return true;
}

}  // namespace kvm
