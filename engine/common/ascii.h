#pragma once

// Characters of the engine's text files, read the same whatever the locale
// (a desktop program runs in the user's): blanks are space, tab, line feed,
// carriage return, vertical tab and form feed; letters and digits are ASCII.

#include <string_view>

namespace tavrin {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

inline char ToLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char ToUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

inline bool IsAllBlank(std::string_view text) {
  return TrimBlanks(text).empty();
}

}  // namespace tavrin
