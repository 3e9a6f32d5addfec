#include "common/safe_file_writer.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <system_error>

namespace tavrin {
namespace {

// Tries this many names before giving up on finding a free one.
constexpr int kNameAttempts = 100;

std::string TemporarySuffix(int attempt) {
  static std::atomic<unsigned> counter{0};
  const auto ticks =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  return ".tmp-" + std::to_string(ticks % 1000000007ull) + "-" +
         std::to_string(counter.fetch_add(1)) + "-" + std::to_string(attempt);
}

// Creates the file only when no file of that name exists ("x": C11's
// exclusive mode), so another writer's temporary file is never taken over.
bool CreateExclusively(const std::filesystem::path& path) {
  std::FILE* f = std::fopen(path.string().c_str(), "wbx");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

}  // namespace

SafeFileWriter::~SafeFileWriter() {
  Discard();
}

Status SafeFileWriter::Open(const std::filesystem::path& target, std::string_view open_message) {
  Discard();
  // A link is followed, so that the file it names is replaced, not the link.
  // (A target that does not exist yet is no error here.)
  std::error_code ec;
  target_ = target;
  if (std::filesystem::is_symlink(target, ec)) {
    target_ = std::filesystem::weakly_canonical(target, ec);
    if (ec) target_.clear();
  }
  if (target_.empty() || std::filesystem::is_directory(target_, ec)) {
    target_.clear();
    return Fail(open_message);
  }
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::filesystem::path candidate = target_;
    candidate += TemporarySuffix(attempt);
    if (!CreateExclusively(candidate)) {
      if (std::filesystem::exists(candidate, ec)) continue;
      break;
    }
    temporary_ = candidate;
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (out_) return Status::Ok();
    break;
  }
  Discard();
  return Fail(open_message);
}

Status SafeFileWriter::Commit(std::string_view write_message) {
  if (temporary_.empty()) return Fail(write_message);
  out_.flush();
  const bool written = static_cast<bool>(out_);
  out_.close();
  std::error_code ec;
  if (!written || out_.fail()) {
    Discard();
    return Fail(write_message);
  }
  std::filesystem::rename(temporary_, target_, ec);
  if (ec) {
    Discard();
    return Fail(write_message);
  }
  temporary_.clear();
  return Status::Ok();
}

void SafeFileWriter::Discard() {
  if (out_.is_open()) out_.close();
  out_.clear();
  if (!temporary_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temporary_, ec);
    temporary_.clear();
  }
}

}  // namespace tavrin
