// Case names and values. Reads come from wherever the values live; the first
// write moves them to a working file (see DataStore).

#include <vector>

#include "byte_order.h"
#include "export_guard.h"
#include "kvmdev32.h"
#include "structure_edits.h"

using kvm::OnFile;

namespace {

constexpr std::size_t kValueSize = 8;

bool ValidCase(const KvmFile& file, int32_t number) {
  return number >= 1 && number <= file.sections.cases;
}

bool ValidVariable(const KvmFile& file, int32_t number) {
  return number >= 1 && number <= file.sections.variable_count();
}

// Where a variable's value starts within a case record.
std::uint64_t ValueOffset(const KvmFile& file, int32_t variable) {
  return static_cast<std::uint64_t>(file.sections.case_name_length) +
         kValueSize * static_cast<std::uint64_t>(variable - 1);
}

}  // namespace

extern "C" {

KVM_API int32_t KVM_CALL KvmSetCaseNameLength(KvmFile* handle, int32_t length) {
  return OnFile(handle, [&](KvmFile& file) { return kvm::ChangeCaseNameLength(file, length); });
}

KVM_API int32_t KVM_CALL KvmGetCaseNameLength(KvmFile* handle) {
  return kvm::Guarded(-1, [&]() -> int32_t {
    const KvmFile* file = kvm::LiveHandle(handle);
    return file != nullptr ? file->sections.case_name_length : -1;
  });
}

KVM_API int32_t KVM_CALL KvmSetCaseName(KvmFile* handle, int32_t case_number, const char* text) {
  return OnFile(handle, [&](KvmFile& file) {
    const auto length = static_cast<std::size_t>(file.sections.case_name_length);
    if (!ValidCase(file, case_number) || text == nullptr || length == 0) return false;
    const std::string_view name = kvm::TakeText(text, length);
    std::vector<std::uint8_t> stored(length, 0);
    std::memcpy(stored.data(), name.data(), name.size());
    return file.data.Write(file.shape(), case_number - 1, 0, stored.data(), stored.size());
  });
}

KVM_API int32_t KVM_CALL KvmGetCaseName(KvmFile* handle, int32_t case_number, char* buffer,
                                        int32_t size) {
  return OnFile(handle, [&](KvmFile& file) {
    if (!ValidCase(file, case_number) || buffer == nullptr || size < 1) return false;
    std::vector<char> stored(static_cast<std::size_t>(file.sections.case_name_length));
    if (!file.data.Read(file.shape(), case_number - 1, 0, stored.data(), stored.size())) {
      return false;
    }
    return kvm::CopyOut(kvm::TakeText(stored.data(), stored.size()), buffer, size);
  });
}

KVM_API int32_t KVM_CALL KvmSetData(KvmFile* handle, int32_t variable, int32_t case_number,
                                    double value) {
  return OnFile(handle, [&](KvmFile& file) {
    if (!ValidVariable(file, variable) || !ValidCase(file, case_number)) return false;
    std::uint8_t bytes[kValueSize];
    kvm::StoreF64(bytes, value);
    return file.data.Write(file.shape(), case_number - 1, ValueOffset(file, variable), bytes,
                           sizeof bytes);
  });
}

KVM_API int32_t KVM_CALL KvmGetData(KvmFile* handle, int32_t variable, int32_t case_number,
                                    double* value) {
  return OnFile(handle, [&](KvmFile& file) {
    if (!ValidVariable(file, variable) || !ValidCase(file, case_number) || value == nullptr) {
      return false;
    }
    std::uint8_t bytes[kValueSize];
    if (!file.data.Read(file.shape(), case_number - 1, ValueOffset(file, variable), bytes,
                        sizeof bytes)) {
      return false;
    }
    *value = kvm::LoadF64(bytes);
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmSetCaseData(KvmFile* handle, int32_t case_number,
                                        const double* values) {
  return OnFile(handle, [&](KvmFile& file) {
    if (!ValidCase(file, case_number) || values == nullptr) return false;
    std::vector<std::uint8_t> bytes(kValueSize * file.sections.variables.size());
    for (std::size_t v = 0; v < file.sections.variables.size(); ++v) {
      kvm::StoreF64(&bytes[kValueSize * v], values[v]);
    }
    return file.data.Write(file.shape(), case_number - 1, ValueOffset(file, 1), bytes.data(),
                           bytes.size());
  });
}

KVM_API int32_t KVM_CALL KvmGetCaseData(KvmFile* handle, int32_t case_number, double* values) {
  return OnFile(handle, [&](KvmFile& file) {
    if (!ValidCase(file, case_number) || values == nullptr) return false;
    std::vector<std::uint8_t> bytes(kValueSize * file.sections.variables.size());
    if (!file.data.Read(file.shape(), case_number - 1, ValueOffset(file, 1), bytes.data(),
                        bytes.size())) {
      return false;
    }
    for (std::size_t v = 0; v < file.sections.variables.size(); ++v) {
      values[v] = kvm::LoadF64(&bytes[kValueSize * v]);
    }
    return true;
  });
}

}  // extern "C"
