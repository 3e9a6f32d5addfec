#include "data/data_set_files.h"

#include <fstream>

#include "common/safe_file_writer.h"

namespace tavrin {

std::unique_ptr<DataSet> LoadDataSet(const std::filesystem::path& path, DataFileFormat format,
                                     const DelimitedOptions& options) {
  if (format == DataFileFormat::kHost) return ReadHostDataFile(path);
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    RecordError("Cannot open Data Set file for reading");
    return nullptr;
  }
  switch (format) {
    case DataFileFormat::kBinary:
      return ReadBinaryDataSet(in);
    case DataFileFormat::kDelimited:
      return ImportText(in, options);
    case DataFileFormat::kPattern:
      return ReadPatternFile(in);
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
