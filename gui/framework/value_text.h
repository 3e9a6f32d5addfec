#pragma once

// A parameter's value as text, both ways: what a control shows and what a
// user or the definition file types. Texts never depend on the locale.

#include <optional>
#include <string>
#include <string_view>

#include "su_parameter.h"

namespace tavrin::gui {

// Converts the text by the parameter's kind and stores it, reporting a text
// the kind cannot take (the value then stays); then runs the change
// callback, which runs even after a refusal. Returns whether it was stored.
bool SetFromText(SuParameter& parameter, std::string_view text, Reporter& reporter);

// "%d", "%.4g" (a real as "%-9.4lg" shows it, without the padding), the
// string, the current option, "on"/"off", "%ld"; "" for kinds without a value.
std::string ToText(const SuParameter& parameter);

// The parameter's line in a settings dump: its name right-aligned in 30
// characters, two blanks, the value ("%lg" for reals), or " on"/" off" for a
// switch; a missing string leaves the name alone.
std::string DumpLine(const SuParameter& parameter);

// Whether the text holds the value the parameter holds, by kind: numbers by
// value, strings by text, a switch's "on"/"off", an option by its name.
bool SameValue(std::string_view text, const SuParameter& parameter);

// Whether a field's text is an edit of the parameter: any text other than
// the one the field was given (ToText). A real shown to four digits is thus
// not cut to them when its field merely loses the focus.
bool IsEdited(std::string_view field_text, const SuParameter& parameter);

// Options of an action or a choice; none for other kinds.
int OptionCount(const SuParameter& parameter);
std::optional<std::string> OptionName(const SuParameter& parameter, int index);
int OptionIndex(const SuParameter& parameter, std::string_view name);  // -1: none
int CurrentOption(const SuParameter& parameter);                       // -1: none

// Whole-text numbers as the interface reads them (blanks around allowed).
std::optional<long long> ParseWholeNumber(std::string_view text);
std::optional<double> ParseRealNumber(std::string_view text);

}  // namespace tavrin::gui
