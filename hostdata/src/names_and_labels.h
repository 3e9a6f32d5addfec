#pragma once

// The rules for variable names and value labels, and the generated names.
// The decimal separator is a parameter so the rules can be checked for any
// locale; exports pass the current C locale's.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "header_sections.h"

namespace kvm {

// The decimal separator of the current C locale ("." when it names none).
std::string LocaleDecimalSeparator();

// Without leading and trailing blanks.
std::string_view TrimBlanks(std::string_view text);

// A stored name or label as text: up to its first NUL, without trailing blanks.
std::string_view StoredText(const char* data, std::size_t size);

// Turns `text` into a stored variable name: trimmed, not empty, not starting
// with a digit, sign or the decimal separator; letters upper-cased; blanks,
// control characters and punctuation that the host reads as operators become
// '_'; UTF-8 multi-byte characters kept whole; cut to 8 bytes and
// blank-padded. False, with `name` untouched, when refused.
bool MakeVariableName(std::string_view text, std::string_view decimal_separator,
                      std::array<char, kNameSize>& name);

// "VAR12", "NEWVAR3": the prefix cut to leave room for the number, then
// zero-padded to 8 bytes.
std::array<char, kNameSize> GeneratedName(std::string_view prefix, std::int32_t number);

// Whether the whole text is a decimal number: sign, digits with at most one
// decimal point (the full stop or `decimal_separator`), optional exponent.
bool ReadsAsNumber(std::string_view text, std::string_view decimal_separator);

// Turns `text` into a stored label: trimmed, 1 .. 8 bytes, not a number;
// blank-padded. False, with `label` untouched, when refused.
bool MakeLabel(std::string_view text, std::string_view decimal_separator,
               std::array<char, kLabelSize>& label);

}  // namespace kvm
