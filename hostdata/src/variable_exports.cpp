// The file header and the per-variable settings: names, long names, display
// formats and missing-data codes.

#include "export_guard.h"
#include "kvmdev32.h"
#include "names_and_labels.h"

using kvm::OnFile;
using kvm::OnVariable;
using kvm::Variable;

namespace {

// Fields of the display format word: bits 0-5 width, 6-7 a 2-bit field,
// 8-12 decimals, 13-15 a 3-bit field.
constexpr std::uint16_t kWidthMask = 0x3F;
constexpr std::uint16_t kField2Mask = 0x3;
constexpr std::uint16_t kDecimalsMask = 0x1F;
constexpr std::uint16_t kField3Mask = 0x7;
constexpr int kField2Shift = 6;
constexpr int kDecimalsShift = 8;
constexpr int kField3Shift = 13;

bool InRange(int32_t value, std::uint16_t mask) {
  return value >= 0 && value <= mask;
}

}  // namespace

extern "C" {

KVM_API int32_t KVM_CALL KvmSetFileHeader(KvmFile* handle, const char* text) {
  return OnFile(handle, [&](KvmFile& file) {
    if (text == nullptr) return false;
    const std::string_view header = kvm::TakeText(text, kvm::kHeaderTextSize);
    file.sections.header_text.fill(' ');
    std::memcpy(file.sections.header_text.data(), header.data(), header.size());
    file.header_changed = true;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmGetFileHeader(KvmFile* handle, char* buffer, int32_t size) {
  return OnFile(handle, [&](KvmFile& file) {
    const auto& header = file.sections.header_text;
    return kvm::CopyOut(kvm::StoredText(header.data(), header.size()), buffer, size);
  });
}

KVM_API int32_t KVM_CALL KvmSetVarName(KvmFile* handle, int32_t variable, const char* name) {
  return OnVariable(handle, variable, [&](KvmFile& file, Variable& var) {
    if (name == nullptr || !kvm::MakeVariableName(name, kvm::LocaleDecimalSeparator(), var.name)) {
      return false;
    }
    file.header_changed = true;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmGetVarName(KvmFile* handle, int32_t variable, char* buffer) {
  return OnVariable(handle, variable, [&](KvmFile&, Variable& var) {
    return kvm::CopyOut(kvm::StoredText(var.name.data(), var.name.size()), buffer,
                        KVM_NAME_BUFFER_SIZE);
  });
}

KVM_API int32_t KVM_CALL KvmSetVarLongName(KvmFile* handle, int32_t variable, const char* text) {
  return OnVariable(handle, variable, [&](KvmFile& file, Variable& var) {
    var.long_name =
        text == nullptr ? std::string_view{} : kvm::TakeText(text, kvm::kMaxLongNameLength);
    file.header_changed = true;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmGetVarLongName(KvmFile* handle, int32_t variable, char* buffer,
                                           int32_t size) {
  return OnVariable(handle, variable, [&](KvmFile&, Variable& var) {
    return kvm::CopyOut(var.long_name, buffer, size);
  });
}

KVM_API int32_t KVM_CALL KvmSetVarFormat(KvmFile* handle, int32_t variable, int32_t width,
                                         int32_t decimals, int32_t field2, int32_t field3) {
  return OnVariable(handle, variable, [&](KvmFile& file, Variable& var) {
    if (!InRange(width, kWidthMask) || !InRange(decimals, kDecimalsMask) ||
        !InRange(field2, kField2Mask) || !InRange(field3, kField3Mask)) {
      return false;
    }
    var.format = static_cast<std::uint16_t>(
        width | (field2 << kField2Shift) | (decimals << kDecimalsShift) | (field3 << kField3Shift));
    file.header_changed = true;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmGetVarFormat(KvmFile* handle, int32_t variable, int32_t* width,
                                         int32_t* decimals, int32_t* field2, int32_t* field3) {
  return OnVariable(handle, variable, [&](KvmFile&, Variable& var) {
    if (width == nullptr || decimals == nullptr || field2 == nullptr || field3 == nullptr) {
      return false;
    }
    *width = var.format & kWidthMask;
    *field2 = (var.format >> kField2Shift) & kField2Mask;
    *decimals = (var.format >> kDecimalsShift) & kDecimalsMask;
    *field3 = (var.format >> kField3Shift) & kField3Mask;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmSetVarMD(KvmFile* handle, int32_t variable, double code) {
  return OnVariable(handle, variable, [&](KvmFile& file, Variable& var) {
    var.missing_code = code;
    file.header_changed = true;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmGetVarMD(KvmFile* handle, int32_t variable, double* code) {
  return OnVariable(handle, variable, [&](KvmFile&, Variable& var) {
    if (code == nullptr) return false;
    *code = var.missing_code;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmGetAllMD(KvmFile* handle, double* codes) {
  return OnFile(handle, [&](KvmFile& file) {
    if (codes == nullptr) return false;
    for (const Variable& var : file.sections.variables) *codes++ = var.missing_code;
    return true;
  });
}

}  // extern "C"
