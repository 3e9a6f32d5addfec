#pragma once

// The first line of the engine's text files: "# Tavrin v<major>.<minor> <kind>",
// the kind word naming the format ("Network", "Patterns", ...).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

struct TextFileHeader {
  std::int64_t major = 0;
  std::int64_t minor = 0;
  std::string kind;  // lower-cased
};

// Reads the line as C's "# Tavrin v%d.%d %s" would: blanks before either
// number and before the kind word are allowed. Nullopt when the line does
// not have that shape. Numbers too large for 32 bits read as very large.
std::optional<TextFileHeader> ParseTextFileHeader(std::string_view line);

// Whether the engine reads files of this version: major 2 or less, minor 1
// or less. Later ones are refused as written by a later version.
bool IsReadableVersion(const TextFileHeader& header);

// The line the engine writes: "# Tavrin v1.0 <kind>".
std::string TextFileHeaderLine(std::string_view kind);

}  // namespace tavrin
