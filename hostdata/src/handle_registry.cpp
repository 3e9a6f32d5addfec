#include <cstring>
#include <mutex>
#include <unordered_set>

#include "host_file.h"

namespace kvm {
namespace {

struct Registry {
  std::mutex lock;
  std::unordered_set<const KvmFile*> live;
};

// Never destroyed, so handles closed from other static destructors still work.
Registry& Handles() {
  static Registry* registry = new Registry;
  return *registry;
}

}  // namespace

void RegisterHandle(KvmFile* file) {
  Registry& r = Handles();
  std::lock_guard<std::mutex> guard(r.lock);
  r.live.insert(file);
}

bool ReleaseHandle(KvmFile* file) {
  Registry& r = Handles();
  std::lock_guard<std::mutex> guard(r.lock);
  return r.live.erase(file) == 1;
}

KvmFile* LiveHandle(KvmFile* handle) {
  if (handle == nullptr) return nullptr;
  {
    Registry& r = Handles();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.live.count(handle) == 0) return nullptr;
  }
  if (std::memcmp(handle->magic.data(), "ZPL ", 4) != 0) return nullptr;
  return handle;
}

}  // namespace kvm
