#include <array>
#include <new>

#include "common/binary_reader.h"
#include "common/binary_writer.h"
#include "common/messages.h"
#include "data/data_set_files.h"
#include "data/data_set_limits.h"

namespace tavrin {
namespace {

constexpr std::array<std::int32_t, 4> kIdentification = {721347, 1124562, -354621, -909912};
constexpr std::int32_t kVersion = 30;
constexpr int kHeaderWords = 32;

bool ReadTextList(BinaryReader& in, std::int64_t n, std::vector<std::string>& texts) {
  std::vector<std::int32_t> lengths;
  if (!in.ReadInt32s(lengths, n)) return false;
  texts.assign(static_cast<std::size_t>(n), std::string());
  for (std::int64_t i = 0; i < n; ++i) {
    if (lengths[i] < 0) return false;
    if (!in.ReadBytes(texts[i], lengths[i])) return false;
  }
  return true;
}

void WriteTextList(BinaryWriter& out, const std::vector<std::string>& texts) {
  for (const std::string& t : texts) out.WriteInt32(static_cast<std::int32_t>(t.size()));
  for (const std::string& t : texts) out.WriteBytes(t);
}

}  // namespace

std::unique_ptr<DataSet> ReadBinaryDataSet(std::istream& stream) {
  try {
    BinaryReader in(stream);
    if (!in.Seek(0)) return Refused(kShortDataSetRead);
    std::vector<std::int32_t> header;
    if (!in.ReadInt32s(header, kHeaderWords)) {
      // A file too short to hold the identification is not one of ours.
      return Refused(kIncorrectDataSetHeader);
    }
    for (std::size_t i = 0; i < kIdentification.size(); ++i) {
      if (header[i] != kIdentification[i]) {
        return Refused(kIncorrectDataSetHeader);
      }
    }
    const std::int32_t variables = header[5];
    const std::int32_t cases = header[6];
    if (variables < 1 || cases < 1 || cases > kMaxCases || !DataEntriesFit(cases, variables) ||
        !in.Holds(std::int64_t{cases} * variables, 8)) {
      return Refused(kShortDataSetRead);
    }
    auto data = std::make_unique<DataSet>();
    data->no_variables = variables;
    data->no_cases = cases;
    data->case_capacity = cases;
    if (!in.ReadDoubles(data->entries, std::int64_t{cases} * variables))
      return Refused(kShortDataSetRead);
    if (!in.ReadInt32s(data->is_input, variables) || !in.ReadInt32s(data->is_output, variables) ||
        !in.ReadInt32s(data->subset, cases)) {
      return Refused(kShortDataSetRead);
    }
    for (std::int32_t& flag : data->is_input) flag = flag == 1 ? 1 : 0;
    for (std::int32_t& flag : data->is_output) flag = flag == 1 ? 1 : 0;
    // A subset code outside 0..3 reads as training.
    for (std::int32_t& s : data->subset) s = (s >= 0 && s <= 3) ? s : 0;
    if (!ReadTextList(in, variables, data->variable_names) ||
        !ReadTextList(in, cases, data->case_names)) {
      return Refused(kShortDataSetRead);
    }
    std::vector<std::int32_t> counts;
    if (!in.ReadInt32s(counts, variables)) return Refused(kShortDataSetRead);
    data->nominals.resize(variables);
    for (std::int32_t v = 0; v < variables; ++v) {
      if (counts[v] < 0 || counts[v] > kMaxNominalValues) return Refused(kShortDataSetRead);
      if (counts[v] > 0 && !ReadTextList(in, counts[v], data->nominals[v])) {
        return Refused(kShortDataSetRead);
      }
      if (!NominalNamesDistinct(data->nominals[v])) return Refused(kDuplicateNominalInDataFile);
    }
    data->host_attributes.resize(variables);
    RecountDataSet(*data);
    return data;
  } catch (const std::bad_alloc&) {
    return Refused(kNotEnoughMemory);
  }
}

Status WriteBinaryDataSet(const DataSet& data, std::ostream& stream) {
  BinaryWriter out(stream);
  for (std::int32_t word : kIdentification) out.WriteInt32(word);
  for (std::int32_t word :
       {kVersion, data.no_variables, data.no_cases, data.no_inputs, data.no_outputs,
        data.no_training, data.no_verification, data.no_test}) {
    out.WriteInt32(word);
  }
  for (int i = 12; i < kHeaderWords; ++i) out.WriteInt32(-1);
  out.WriteDoubles(data.entries.data(), std::int64_t{data.no_cases} * data.no_variables);
  for (std::int32_t flag : data.is_input) out.WriteInt32(flag ? 1 : 0);
  for (std::int32_t flag : data.is_output) out.WriteInt32(flag ? 1 : 0);
  for (std::int32_t s : data.subset) out.WriteInt32(s);
  WriteTextList(out, data.variable_names);
  WriteTextList(out, data.case_names);
  for (const auto& names : data.nominals) out.WriteInt32(static_cast<std::int32_t>(names.size()));
  for (const auto& names : data.nominals) {
    if (!names.empty()) WriteTextList(out, names);
  }
  if (!out.ok()) return Fail(kCannotWriteDataSetFile);
  return Status::Ok();
}

}  // namespace tavrin
