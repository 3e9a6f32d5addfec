#pragma once

// The reg16 regression table: 10,000 cases of 16 inputs uniform in (-1, 1)
// and one target, drawn from splitmix64 with seed 16.

#include <cstddef>
#include <string>
#include <vector>

namespace tavrin::bench {

inline constexpr int kReg16Inputs = 16;
inline constexpr std::size_t kReg16Cases = 10'000;
inline constexpr std::size_t kReg16Seed = 16;
// The published sum of the table as CSV (see Reg16Csv).
inline constexpr const char* kReg16CsvMd5 = "6f12786643018c8f8f96463d938c0d3a";

struct Reg16 {
  std::vector<double> inputs;   // kReg16Cases x 16
  std::vector<double> targets;  // kReg16Cases

  const double* row(std::size_t c) const { return inputs.data() + c * kReg16Inputs; }
};

// Per case: x1..x16 = uniform(-1, 1), then n = uniform(-1, 1);
// y = sin(x1) + x2*x3 - 0.5*(x4*x4) + 0.1*(x5 + ... + x16) + 0.01*n, left to right.
Reg16 GenerateReg16();

// The table as the published CSV: header "x1,...,x16,y", one line per case,
// every number the shortest decimal that reads back exactly, lines ended by
// a line feed.
std::string Reg16Csv(const Reg16& table);

// Generates the table and checks its CSV against the published MD5; on a
// mismatch `error` says so and the table is still returned.
Reg16 GenerateCheckedReg16(std::string& error);

}  // namespace tavrin::bench
