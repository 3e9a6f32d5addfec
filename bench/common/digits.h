#pragma once

// The 8x8 handwritten digits table (bench/data/digits.csv): 64 pixel counts
// 0..16 and the digit 0..9 per line, in file order.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tavrin::bench {

inline constexpr int kDigitsPixels = 64;
inline constexpr std::size_t kDigitsRows = 1797;

struct Digits {
  std::size_t rows = 0;
  std::vector<double> inputs;  // rows x 64: pixel / 16
  std::vector<int> classes;    // digit + 1: 1..10

  const double* row(std::size_t r) const { return inputs.data() + r * kDigitsPixels; }
};

// Parses the table's text. Any line that is not exactly 64 integers 0..16 and
// one integer 0..9, separated by commas, refuses the whole table; `error`
// then says which line and why.
std::optional<Digits> ParseDigits(const std::string& text, std::string& error);

// Reads and parses the file; refuses files larger than the table could be.
std::optional<Digits> LoadDigits(const std::string& path, std::string& error);

// The stored copy: bench/data/digits.csv, which must hold all 1797 rows.
std::optional<Digits> LoadBenchDigits(std::string& error);

}  // namespace tavrin::bench
