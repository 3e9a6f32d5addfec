#pragma once

// Numbers in the engine's text files. Reals are written as C's "%lg" would
// write them where six significant digits hold the value exactly, and with as
// many more digits as it takes to read back exactly otherwise; they are read
// back whatever the locale of the process: a desktop program may switch the C
// locale to one with a decimal comma, which must not change what a file holds.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// "%.<p>lg" of the value in the "C" locale with the least p of at least
// `min_digits` that reads back as exactly this value: "0.5", "1e+06",
// "-1.2345678e-05", "inf", "-nan".
std::string FormatRealRoundTrip(double value, int min_digits);

// FormatRealRoundTrip with at least six digits, so that values "%lg" holds
// exactly keep the text "%lg" gives them.
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
