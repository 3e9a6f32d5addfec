// Built with -ffp-contract=off: the published sum was made from values
// computed without fused multiply-add, which would change some last bits.

#include "reg16.h"

#include <charconv>
#include <cmath>

#include "md5.h"
#include "splitmix64.h"

namespace tavrin::bench {
namespace {

void AppendShortest(std::string& out, double value) {
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  out.append(text, ec == std::errc() ? end : text);
}

}  // namespace

Reg16 GenerateReg16() {
  SplitMix64 generator(kReg16Seed);
  Reg16 table;
  table.inputs.resize(kReg16Cases * kReg16Inputs);
  table.targets.resize(kReg16Cases);
  for (std::size_t c = 0; c < kReg16Cases; ++c) {
    double* x = table.inputs.data() + c * kReg16Inputs;
    for (int i = 0; i < kReg16Inputs; ++i) x[i] = generator.Uniform(-1.0, 1.0);
    const double noise = generator.Uniform(-1.0, 1.0);
    double sum = 0.0;
    for (int i = 4; i < kReg16Inputs; ++i) sum += x[i];
    table.targets[c] =
        std::sin(x[0]) + x[1] * x[2] - 0.5 * (x[3] * x[3]) + 0.1 * sum + 0.01 * noise;
  }
  return table;
}

std::string Reg16Csv(const Reg16& table) {
  std::string csv;
  csv.reserve(kReg16Cases * 400);
  for (int i = 1; i <= kReg16Inputs; ++i) csv += "x" + std::to_string(i) + ",";
  csv += "y\n";
  for (std::size_t c = 0; c < table.targets.size(); ++c) {
    for (int i = 0; i < kReg16Inputs; ++i) {
      AppendShortest(csv, table.row(c)[i]);
      csv += ',';
    }
    AppendShortest(csv, table.targets[c]);
    csv += '\n';
  }
  return csv;
}

Reg16 GenerateCheckedReg16(std::string& error) {
  Reg16 table = GenerateReg16();
  const std::string sum = Md5Hex(Reg16Csv(table));
  if (sum != kReg16CsvMd5) error = "reg16 CSV has MD5 " + sum + ", expected " + kReg16CsvMd5;
  return table;
}

}  // namespace tavrin::bench
