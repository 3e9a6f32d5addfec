#include "data/data_set_files.h"
#include "common/messages.h"

#include <fstream>

#include "common/file_access.h"
#include "common/safe_file_writer.h"

namespace tavrin {

DataFileFormat FormatFromName(std::string_view path) {
  auto ends = [&](std::string_view end) {
    return path.size() >= end.size() && path.substr(path.size() - end.size()) == end;
  };
  if (ends(".csv") || ends(".txt") || ends(".tsv")) return DataFileFormat::kDelimited;
  if (ends(".pat")) return DataFileFormat::kPattern;
  if (ends(".kvm") || ends(".sta")) return DataFileFormat::kHost;
  return DataFileFormat::kBinary;
}

std::unique_ptr<DataSet> LoadDataSet(const std::filesystem::path& path, DataFileFormat format,
                                     const DelimitedOptions& options) {
  if (format == DataFileFormat::kHost) return ReadHostDataFile(path);
  // The binary reader checks every count against the bytes left, so it needs
  // the size; the text formats read in one pass.
  if (format == DataFileFormat::kBinary) {
    const std::unique_ptr<std::istream> in = OpenSizedForReading(path, kCannotOpenDataSetFile);
    return in ? ReadBinaryDataSet(*in) : nullptr;
  }
  std::ifstream in;
  if (!OpenForReading(path, in, kCannotOpenDataSetFile)) return nullptr;
  switch (format) {
    case DataFileFormat::kDelimited:
      return ImportText(in, options);
    case DataFileFormat::kPattern:
      return ReadPatternFile(in);
    case DataFileFormat::kBinary:
    case DataFileFormat::kHost:
      break;
  }
  RecordError(kUnknownDataFormat);
  return nullptr;
}

Status SaveDataSet(const DataSet& data, const std::filesystem::path& path, DataFileFormat format,
                   const DelimitedOptions& options) {
  if (format == DataFileFormat::kHost) return WriteHostDataFile(data, path);
  SafeFileWriter writer;
  if (!writer.Open(path, kCannotWriteDataSetFile)) return Status::Failed();
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
  return writer.Commit(kCannotWriteDataSetFile);
}

}  // namespace tavrin
