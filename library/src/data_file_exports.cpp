// Data set files: loading into a slot and saving from one, in the four formats.

#include <cstdint>
#include <memory>
#include <utility>

#include "checks.h"
#include "data/data_set_files.h"
#include "entry_point.h"
#include "nrx32.h"

namespace nrx {
namespace {

using tavrin::DataFileFormat;

constexpr std::int32_t kLastFormat = static_cast<std::int32_t>(DataFileFormat::kPattern);

bool ValidFormat(std::int32_t format) {
  return format >= 0 && format <= kLastFormat;
}

std::int32_t LoadDataSet(const char* file, std::int32_t format, std::int32_t case_names,
                         std::int32_t header, char separator, const char* missing) {
  const int index = FindFreeDataSetSlot();
  if (index < 0) {
    tavrin::RecordError(kTooManyDataSets);
    return kNoSlot;
  }
  if (file == nullptr || *file == '\0') {
    tavrin::RecordError(kNoInputFile);
    return kNoSlot;
  }
  if (!ValidFormat(format)) {
    tavrin::RecordError(kUnknownDataFormat);
    return kNoSlot;
  }
  tavrin::DelimitedOptions options;
  options.separator = separator;
  options.case_names = case_names != 0;
  options.header = header != 0;
  if (missing != nullptr && *missing != '\0') options.missing = missing;
  std::unique_ptr<tavrin::DataSet> data =
      tavrin::LoadDataSet(file, static_cast<DataFileFormat>(format), options);
  if (!data) return kNoSlot;
  DataSets()[index] = std::move(data);
  return index;
}

}  // namespace
}  // namespace nrx

NRX_API int32_t NRX_CALL NRXLoadDataSet(const char* file, int32_t format, int32_t case_names,
                                        int32_t header, char separator, const char* missing) {
  return nrx::Guarded(nrx::kNoSlot, nrx::kNoMemoryToLoadDataSet, [&] {
    return nrx::LoadDataSet(file, format, case_names, header, separator, missing);
  });
}

NRX_API int32_t NRX_CALL NRXSaveDataSet(int32_t ds, const char* file, int32_t format,
                                        int32_t case_names, int32_t header, int32_t subsets,
                                        char separator) {
  return nrx::OnDataSet(ds, [&](tavrin::DataSet& data) {
    if (file == nullptr || *file == '\0') return nrx::Refuse(nrx::kNoOutputFile);
    if (!nrx::ValidFormat(format)) return nrx::Refuse(nrx::kDataFormatOutOfRange);
    tavrin::DelimitedOptions options;
    options.separator = separator;
    options.case_names = case_names != 0;
    options.header = header != 0;
    options.subsets = subsets != 0;
    return static_cast<bool>(
        tavrin::SaveDataSet(data, file, static_cast<nrx::DataFileFormat>(format), options));
  });
}
