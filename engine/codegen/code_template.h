#pragma once

// The code generator's template: numbered text fragments of C source, kept
// scrambled in "ctemplate.bin". The file is a little-endian int32 count, then
// for each fragment its int32 number (0 .. 99), its int32 length and its bytes.
// A stored byte is the text's byte plus the key's byte at the same position
// (mod 256), the key restarting with each fragment and whenever it runs out.

#include <array>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "common/status.h"

namespace tavrin {

inline constexpr int kFragmentNumbers = 100;

struct CodeTemplate {
  std::array<std::optional<std::string>, kFragmentNumbers> fragments;

  bool has(int number) const { return fragments[number].has_value(); }
  const std::string& fragment(int number) const { return *fragments[number]; }
};

// Reads a whole template file, treating it as hostile: a count, number or
// length the bytes left cannot hold, a number outside 0 .. 99 or given twice,
// or trailing bytes record "Processing failed\n" and yield none.
std::optional<CodeTemplate> ReadCodeTemplate(std::istream& in);

// Writes the template's fragments in number order; false when a write fails.
[[nodiscard]] bool WriteCodeTemplate(const CodeTemplate& code_template, std::ostream& out);

}  // namespace tavrin
