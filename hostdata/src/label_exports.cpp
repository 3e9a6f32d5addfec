// Value labels and long labels of a variable.

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "byte_order.h"
#include "export_guard.h"
#include "kvmdev32.h"
#include "names_and_labels.h"

using kvm::OnVariable;
using kvm::ValueLabel;
using kvm::Variable;

namespace {

// Values are kept as floats; a double beyond the float range has none (and
// converting it would be undefined).
bool AsFloat(double value, float* out) {
  if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) return false;
  *out = static_cast<float>(value);
  return true;
}

std::string_view LabelText(const ValueLabel& label) {
  return kvm::TrimBlanks(kvm::StoredText(label.text.data(), label.text.size()));
}

std::vector<ValueLabel>::iterator FindValue(Variable& var, double value) {
  float wanted;
  if (!AsFloat(value, &wanted)) return var.labels.end();
  return std::find_if(var.labels.begin(), var.labels.end(),
                      [&](const ValueLabel& label) { return label.Value() == wanted; });
}

std::vector<ValueLabel>::iterator FindLabel(Variable& var, const char* text) {
  if (text == nullptr) return var.labels.end();
  const std::string_view wanted = kvm::TrimBlanks(text);
  return std::find_if(var.labels.begin(), var.labels.end(),
                      [&](const ValueLabel& label) { return LabelText(label) == wanted; });
}

std::size_t LongLabelCount(const Variable& var) {
  return static_cast<std::size_t>(
      std::count_if(var.labels.begin(), var.labels.end(),
                    [](const ValueLabel& label) { return !label.long_label.empty(); }));
}

}  // namespace

extern "C" {

KVM_API int32_t KVM_CALL KvmGetLabelForValue(KvmFile* handle, int32_t variable, double value,
                                             char* label) {
  return OnVariable(handle, variable, [&](KvmFile&, Variable& var) {
    const auto found = FindValue(var, value);
    return found != var.labels.end() &&
           kvm::CopyOut(LabelText(*found), label, KVM_LABEL_BUFFER_SIZE);
  });
}

KVM_API int32_t KVM_CALL KvmGetLongLabelForValue(KvmFile* handle, int32_t variable, double value,
                                                 char* buffer, int32_t size) {
  return OnVariable(handle, variable, [&](KvmFile&, Variable& var) {
    const auto found = FindValue(var, value);
    return found != var.labels.end() && kvm::CopyOut(found->long_label, buffer, size);
  });
}

KVM_API int32_t KVM_CALL KvmGetValueForLabel(KvmFile* handle, int32_t variable, const char* label,
                                             double* value) {
  return OnVariable(handle, variable, [&](KvmFile&, Variable& var) {
    const auto found = FindLabel(var, label);
    if (found == var.labels.end() || value == nullptr) return false;
    *value = static_cast<double>(found->Value());
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmAddLabel(KvmFile* handle, int32_t variable, double value,
                                     const char* label, const char* long_label) {
  return OnVariable(handle, variable, [&](KvmFile& file, Variable& var) {
    ValueLabel added;
    float stored;
    if (label == nullptr || !AsFloat(value, &stored) ||
        !kvm::MakeLabel(label, kvm::LocaleDecimalSeparator(), added.text)) {
      return false;
    }
    kvm::StoreU32(added.value.data(), std::bit_cast<std::uint32_t>(stored));
    if (long_label != nullptr)
      added.long_label = kvm::TakeText(long_label, kvm::kMaxLongLabelLength);
    if (var.labels.size() >= kvm::kMaxLabels) return false;
    if (!added.long_label.empty() && LongLabelCount(var) >= kvm::kMaxLongLabels) return false;
    if (FindValue(var, value) != var.labels.end() || FindLabel(var, label) != var.labels.end()) {
      return false;
    }
    var.labels.push_back(std::move(added));
    file.header_changed = true;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmDeleteLabelForValue(KvmFile* handle, int32_t variable, double value) {
  return OnVariable(handle, variable, [&](KvmFile& file, Variable& var) {
    const auto found = FindValue(var, value);
    if (found == var.labels.end()) return false;
    var.labels.erase(found);
    file.header_changed = true;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmDeleteLabel(KvmFile* handle, int32_t variable, const char* label) {
  return OnVariable(handle, variable, [&](KvmFile& file, Variable& var) {
    const auto found = FindLabel(var, label);
    if (found == var.labels.end()) return false;
    var.labels.erase(found);
    file.header_changed = true;
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmGetNumVarLabels(KvmFile* handle, int32_t variable, int32_t* count) {
  return OnVariable(handle, variable, [&](KvmFile&, Variable& var) {
    if (count == nullptr) return false;
    *count = static_cast<int32_t>(var.labels.size());
    return true;
  });
}

KVM_API int32_t KVM_CALL KvmGetVarLabelByIndex(KvmFile* handle, int32_t variable, int32_t index,
                                               double* value, char* label, char* long_label) {
  return OnVariable(handle, variable, [&](KvmFile&, Variable& var) {
    if (index < 1 || static_cast<std::size_t>(index) > var.labels.size() || value == nullptr ||
        label == nullptr) {
      return false;
    }
    const ValueLabel& found = var.labels[static_cast<std::size_t>(index) - 1];
    kvm::CopyOut(LabelText(found), label, KVM_LABEL_BUFFER_SIZE);
    if (long_label != nullptr) {
      kvm::CopyOut(found.long_label, long_label, KVM_LONG_LABEL_BUFFER_SIZE);
    }
    *value = static_cast<double>(found.Value());
    return true;
  });
}

}  // extern "C"
