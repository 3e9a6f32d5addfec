#pragma once

// The four kinds of data set file: the host package's data file (through
// kvmdev32), the engine's binary data set file, delimited text, and the
// engine's text pattern file. Readers build a new data set or record the
// system's message and yield none; writers write to a temporary file beside
// the target and rename it over the target only when complete.

#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "common/status.h"
#include "data/data_set.h"

namespace tavrin {

enum class DataFileFormat : int { kHost = 0, kBinary = 1, kDelimited = 2, kPattern = 3 };

// Options of delimited text; the other formats ignore them.
struct DelimitedOptions {
  char separator = ',';
  bool case_names = false;    // a first column of case names
  bool header = true;         // a first row of variable names
  bool subsets = false;       // (export) a subset column "NNTYPE"
  std::string missing = "?";  // (import) a field beginning with it is missing
};

// Binary data set file (format 1). Layout, all little-endian:
//   offset 0      32 int32: 721347, 1124562, -354621, -909912, 30 (version),
//                 no_variables, no_cases, no_inputs, no_outputs, no_training,
//                 no_verification, no_test, then 20 x -1
//   offset 128    no_cases x no_variables doubles, case by case
//   then          no_variables int32 input flags, no_variables int32 output
//                 flags, no_cases int32 subsets (0..3), a text list of the
//                 variable names, a text list of the case names,
//                 no_variables int32 nominal counts, and for each variable
//                 with a count k > 0 a text list of its k names.
// A text list of n entries is n int32 lengths (0 = no text), then the
// entries' bytes without terminators.
std::unique_ptr<DataSet> ReadBinaryDataSet(std::istream& in);
[[nodiscard]] Status WriteBinaryDataSet(const DataSet& data, std::ostream& out);

// Text pattern file (format 3): "# Tavrin v1.0 Patterns", "no_attributes",
// "no_patterns", "attributes" with one role-and-name line per variable, then
// per case a "!NN S name" line and its values ("?" for missing).
std::unique_ptr<DataSet> ReadPatternFile(std::istream& in);
[[nodiscard]] Status WritePatternFile(const DataSet& data, std::ostream& out);

// Delimited text (format 2).
std::unique_ptr<DataSet> ImportText(std::istream& in, const DelimitedOptions& options);
[[nodiscard]] Status ExportText(const DataSet& data, std::ostream& out,
                                const DelimitedOptions& options);

// The host package's data file (format 0), through kvmdev32.
std::unique_ptr<DataSet> ReadHostDataFile(const std::filesystem::path& path);
[[nodiscard]] Status WriteHostDataFile(const DataSet& data, const std::filesystem::path& path);

// The format a file's name suggests: .csv .txt .tsv delimited text, .pat
// patterns, .kvm .sta the host package's, anything else binary.
DataFileFormat FormatFromName(std::string_view path);

// By format code, from and to named files.
std::unique_ptr<DataSet> LoadDataSet(const std::filesystem::path& path, DataFileFormat format,
                                     const DelimitedOptions& options);
[[nodiscard]] Status SaveDataSet(const DataSet& data, const std::filesystem::path& path,
                                 DataFileFormat format, const DelimitedOptions& options);

}  // namespace tavrin
