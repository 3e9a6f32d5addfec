// Opening, creating and closing files, and their counts.

#include <memory>
#include <string>
#include <utility>

#include "export_guard.h"
#include "kvmdev32.h"
#include "names_and_labels.h"
#include "structure_edits.h"
#include "write_back.h"

using kvm::Guarded;
using kvm::kFailure;
using kvm::kSuccess;

namespace {

constexpr std::int32_t kInterfaceVersion = 2;

// Removes a data file that KvmCreateFile made, unless dismissed, so that a
// failure leaves no empty file behind.
class CreatedFileGuard {
 public:
  CreatedFileGuard(bool created, std::string path) : created_(created), path_(std::move(path)) {}
  ~CreatedFileGuard() {
    if (created_) kvm::io::RemoveFile(path_);
  }
  void Dismiss() { created_ = false; }

 private:
  bool created_;
  std::string path_;
};

}  // namespace

extern "C" {

KVM_API int32_t KVM_CALL KvmDevVersion(void) {
  return kInterfaceVersion;
}

KVM_API KvmFile* KVM_CALL KvmOpenFile(const char* path) {
  return Guarded<KvmFile*>(nullptr, [&]() -> KvmFile* {
    if (path == nullptr || path[0] == '\0') return nullptr;
    auto file = std::make_unique<KvmFile>();
    file->path = kvm::io::ResolvedPath(path);
    kvm::RemoveStaleWriteBacks(file->path);
    file->data_file = kvm::io::OpenRegularFile(file->path, &file->writable, &file->not_writable);
    std::uint64_t size = 0;
    if (!file->data_file.valid() || !kvm::io::FileSize(file->data_file.get(), &size)) {
      return nullptr;
    }
    const kvm::FileSource source(file->data_file.get(), size);
    std::uint64_t header_end = 0;
    std::uint64_t data_offset = 0;
    if (!kvm::ReadHeaderSections(source, file->sections, &header_end) ||
        !kvm::LocateDataArea(source, file->sections, header_end, &data_offset)) {
      return nullptr;
    }
    file->data.ReadInPlace(file->data_file.get(), data_offset);
    kvm::RegisterHandle(file.get());
    return file.release();
  });
}

KVM_API KvmFile* KVM_CALL KvmCreateFile(int32_t variables, int32_t cases, const char* path) {
  return Guarded<KvmFile*>(nullptr, [&]() -> KvmFile* {
    if (variables < 1 || variables > kvm::kMaxVariables || cases < 1 || path == nullptr ||
        path[0] == '\0') {
      return nullptr;
    }
    auto file = std::make_unique<KvmFile>();
    kvm::HeaderSections& s = file->sections;
    s.file_type = kvm::kOwnFileType;
    s.cases = cases;
    s.variables.resize(static_cast<std::size_t>(variables));
    for (int32_t v = 0; v < variables; ++v) s.variables[v].name = kvm::GeneratedName("VAR", v + 1);
    const kvm::DataShape empty{0, 0, variables};
    // Refused before the data file is touched.
    if (!kvm::MayMakeWorkingFile(empty, file->shape())) return nullptr;

    file->data_file = kvm::io::OpenForCreate(path, &file->created);
    if (!file->data_file.valid()) return nullptr;
    CreatedFileGuard guard(file->created, path);
    file->path = kvm::io::ResolvedPath(path);
    kvm::RemoveStaleWriteBacks(file->path);
    file->writable = true;

    const auto nothing = [](std::int64_t) -> std::int64_t { return -1; };
    const auto unused = [](const std::uint8_t*, std::uint8_t*) {};
    if (!file->data.Rebuild(empty, file->shape(), nothing, unused, kvm::BlankRecord(s))) {
      return nullptr;
    }
    file->header_changed = true;
    kvm::RegisterHandle(file.get());
    guard.Dismiss();
    return file.release();
  });
}

KVM_API int32_t KVM_CALL KvmCloseFile(KvmFile* handle) {
  return Guarded(kFailure, [&]() -> int32_t {
    KvmFile* live = kvm::LiveHandle(handle);
    if (live == nullptr || !kvm::ReleaseHandle(live)) return kFailure;
    std::unique_ptr<KvmFile> file(live);
    bool written = true;
    if (file->changed()) {
      CreatedFileGuard guard(file->created, file->path);
      written = Guarded(false, [&] { return kvm::WriteBack(*file); });
      if (written) guard.Dismiss();
    }
    return written ? kSuccess : kFailure;
  });
}

KVM_API int32_t KVM_CALL KvmGetNVars(KvmFile* handle) {
  return Guarded(kFailure, [&]() -> int32_t {
    const KvmFile* file = kvm::LiveHandle(handle);
    return file != nullptr ? file->sections.variable_count() : kFailure;
  });
}

KVM_API int32_t KVM_CALL KvmGetNCases(KvmFile* handle) {
  return Guarded(kFailure, [&]() -> int32_t {
    const KvmFile* file = kvm::LiveHandle(handle);
    return file != nullptr ? file->sections.cases : kFailure;
  });
}

KVM_API int32_t KVM_CALL KvmAddVars(KvmFile* handle, int32_t position, int32_t count) {
  return kvm::OnFile(handle,
                     [&](KvmFile& file) { return kvm::InsertVariables(file, position, count); });
}

KVM_API int32_t KVM_CALL KvmDeleteVars(KvmFile* handle, int32_t first, int32_t last) {
  return kvm::OnFile(handle,
                     [&](KvmFile& file) { return kvm::DeleteVariables(file, first, last); });
}

KVM_API int32_t KVM_CALL KvmAddCases(KvmFile* handle, int32_t position, int32_t count) {
  return kvm::OnFile(handle,
                     [&](KvmFile& file) { return kvm::InsertCases(file, position, count); });
}

KVM_API int32_t KVM_CALL KvmDeleteCases(KvmFile* handle, int32_t first, int32_t last) {
  return kvm::OnFile(handle, [&](KvmFile& file) { return kvm::DeleteCases(file, first, last); });
}

}  // extern "C"
