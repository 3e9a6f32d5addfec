#pragma once

// Numbers in the engine's text files. Reals are written as C's "%lg" would
// write them (six significant digits) and read back whatever the locale of
// the process: a desktop program may switch the C locale to one with a
// decimal comma, which must not change what a file holds.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// "%lg" of the value in the "C" locale: "0.5", "1e+06", "-1.23457e-05",
// "inf", "-nan".
std::string FormatReal(double value);

// Like FormatReal, but the missing-value marker is written as "?", which
// reads back as that marker (its "%lg" text reads back as another number),
// and a value whose "%lg" text is the marker's is written with seventeen
// digits, since ParseReal reads that text as the marker.
std::string FormatRealOrMissing(double value);

// The shortest text that reads back as exactly this value.
std::string FormatRealExact(double value);

// A whole token as a real: decimal or exponent notation with an optional
// sign, "inf" and "nan" in any case, and the infinity and not-a-number texts
// of older Windows runtimes ("1.#INF", "-1.#IND", "1.#QNAN"). "?" and the
// "%lg" text of the missing-value marker read as the marker. Nullopt for
// anything else, including a number with trailing characters or one beyond
// the range of a double.
std::optional<double> ParseReal(std::string_view token);

// A whole token as a decimal integer with an optional sign; nullopt when it
// is not one or lies outside 32 bits.
std::optional<std::int32_t> ParseInt32(std::string_view token);

}  // namespace tavrin
