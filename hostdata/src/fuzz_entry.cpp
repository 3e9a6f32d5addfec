#include "fuzz_entry.h"

#include <bit>
#include <string>
#include <vector>

#include "header_sections.h"
#include "kvmdev32.h"
#include "posix_io.h"

namespace kvm {
namespace {

constexpr int kRefused = 0;
constexpr int kAccepted = 1;
constexpr int kBroken = -1;

// Reads everything a caller can read; false when an accepted file then fails.
bool ReadEverything(KvmFile* file) {
  const int32_t variables = KvmGetNVars(file);
  const int32_t cases = KvmGetNCases(file);
  char text[KVM_LONG_NAME_BUFFER_SIZE];
  if (variables < 1 || !KvmGetFileHeader(file, text, sizeof text)) return false;
  for (int32_t v = 1; v <= variables; ++v) {
    char label[KVM_LABEL_BUFFER_SIZE];
    char long_label[KVM_LONG_LABEL_BUFFER_SIZE];
    int32_t labels = 0;
    double value;
    if (!KvmGetVarName(file, v, label) || !KvmGetVarLongName(file, v, text, sizeof text) ||
        !KvmGetNumVarLabels(file, v, &labels)) {
      return false;
    }
    for (int32_t l = 1; l <= labels; ++l) {
      if (!KvmGetVarLabelByIndex(file, v, l, &value, label, long_label)) return false;
    }
  }
  std::vector<double> values(static_cast<std::size_t>(variables));
  for (int32_t c = 1; c <= cases; ++c) {
    if (!KvmGetCaseData(file, c, values.data()) || !KvmGetCaseName(file, c, text, sizeof text)) {
      return false;
    }
  }
  return true;
}

}  // namespace

int FuzzOpenBytes(const std::uint8_t* data, std::size_t size) {
  const MemorySource source(data, size);
  HeaderSections sections;
  std::uint64_t header_end = 0;
  std::uint64_t data_offset = 0;
  if (!ReadHeaderSections(source, sections, &header_end) ||
      !LocateDataArea(source, sections, header_end, &data_offset)) {
    return kRefused;
  }
  const std::vector<std::uint8_t> written = WriteHeaderSections(sections);
  const MemorySource again(written.data(), written.size());
  HeaderSections reread;
  std::uint64_t reread_end = 0;
  if (!ReadHeaderSections(again, reread, &reread_end) || reread_end != written.size() ||
      !(reread == sections)) {
    return kBroken;
  }
  return kAccepted;
}

int FuzzOpenFileBytes(const std::uint8_t* data, std::size_t size) {
  io::TempFile image;
  if (!image.Create(io::WorkingDirectory(), "kvmdev32-fuzz-") ||
      !io::WriteAt(image.fd(), 0, data, size)) {
    return kRefused;
  }
  KvmFile* file = KvmOpenFile(image.path().c_str());
  if (file == nullptr) return kRefused;
  const double marker = 4242.5;
  const bool readable = ReadEverything(file);
  const bool changed = KvmGetNCases(file) > 0 && KvmSetData(file, 1, 1, marker);
  if (!KvmCloseFile(file) || !readable) return kBroken;

  file = KvmOpenFile(image.path().c_str());
  if (file == nullptr) return kBroken;
  double value = 0;
  const bool kept = !changed || (KvmGetData(file, 1, 1, &value) && value == marker);
  const bool readable_again = ReadEverything(file);
  KvmCloseFile(file);
  return kept && readable_again ? kAccepted : kBroken;
}

}  // namespace kvm
