#include "data/data_set_files.h"

#include <fstream>

#include "common/file_access.h"
#include "common/safe_file_writer.h"

namespace tavrin {

std::unique_ptr<DataSet> LoadDataSet(const std::filesystem::path& path, DataFileFormat format,
                                     const DelimitedOptions& options) {
  if (format == DataFileFormat::kHost) return ReadHostDataFile(path);
  constexpr std::string_view kCannotOpen = "Cannot open Data Set file for reading";
  // The binary reader checks every count against the bytes left, so it needs
  // the size; the text formats read in one pass.
  if (format == DataFileFormat::kBinary) {
    const std::unique_ptr<std::istream> in = OpenSizedForReading(path, kCannotOpen);
    return in ? ReadBinaryDataSet(*in) : nullptr;
  }
  std::ifstream in;
  if (!OpenForReading(path, in, kCannotOpen)) return nullptr;
  switch (format) {
    case DataFileFormat::kDelimited:
      return ImportText(in, options);
    case DataFileFormat::kPattern:
      return ReadPatternFile(in);
    case DataFileFormat::kBinary:
    case DataFileFormat::kHost:
      break;
  }
  RecordError("Unrecognised Data Set Format");
  return nullptr;
}

Status SaveDataSet(const DataSet& data, const std::filesystem::path& path, DataFileFormat format,
                   const DelimitedOptions& options) {
  if (format == DataFileFormat::kHost) return WriteHostDataFile(data, path);
  constexpr std::string_view kCannotWrite = "Couldn't open specified file for writing";
  SafeFileWriter writer;
  if (!writer.Open(path, kCannotWrite)) return Status::Failed();
  Status written = Status::Failed();
  switch (format) {
    case DataFileFormat::kBinary:
      written = WriteBinaryDataSet(data, writer.stream());
      break;
    case DataFileFormat::kDelimited:
      written = ExportText(data, writer.stream(), options);
      break;
    case DataFileFormat::kPattern:
      written = WritePatternFile(data, writer.stream());
      break;
    case DataFileFormat::kHost:
      break;
  }
  if (!written) return Status::Failed();
  return writer.Commit(kCannotWrite);
}

}  // namespace tavrin
