#include "common/safe_file_writer.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "common/file_access.h"

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
  std::error_code ec;
  target_ = target;
  const std::filesystem::file_status status = std::filesystem::status(target, ec);
  // A link to a file is followed, so that the file it names is replaced, not
  // the link. (A target that does not exist yet is no error here; a link to
  // a pipe, such as /dev/stdout, is opened as it is.)
  const bool replaced = status.type() == std::filesystem::file_type::regular ||
                        status.type() == std::filesystem::file_type::not_found;
  if (replaced && std::filesystem::is_symlink(target, ec)) {
    target_ = std::filesystem::weakly_canonical(target, ec);
    if (ec) {
      target_.clear();
      return Fail(FileMessage(open_message, target, ec.value()));
    }
  }
  switch (status.type()) {
    case std::filesystem::file_type::not_found:
    case std::filesystem::file_type::regular:
      break;
    case std::filesystem::file_type::fifo:
    case std::filesystem::file_type::character:
      // Renaming over a pipe or a device would replace it with a plain file.
      errno = 0;
      out_.open(target_, std::ios::binary);
      if (out_) {
        direct_ = true;
        return Status::Ok();
      }
      return Fail(FileMessage(open_message, target_, errno));
    case std::filesystem::file_type::directory:
      return Fail(FileMessage(open_message, target_, EISDIR));
    default:
      return Fail(FileMessage(open_message, target_, "not a regular file"));
  }
  int error = 0;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::filesystem::path candidate = target_;
    candidate += TemporarySuffix(attempt);
    errno = 0;
    if (!CreateExclusively(candidate)) {
      error = errno;
      if (error == EEXIST) continue;
      break;
    }
    temporary_ = candidate;
    keep_permissions_ = status.type() == std::filesystem::file_type::regular;
    permissions_ = status.permissions();
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (out_) return Status::Ok();
    error = errno;
    break;
  }
  Discard();
  return Fail(FileMessage(open_message, target, error));
}

Status SafeFileWriter::Commit(std::string_view write_message) {
  if (temporary_.empty() && !direct_) return Fail(write_message);
  // A stream that failed earlier failed at its last write to the file, which
  // left the reason in errno.
  if (out_) errno = 0;
  out_.flush();
  const bool written = static_cast<bool>(out_);
  int error = errno;
  out_.close();
  if (error == 0) error = errno;
  if (!written || out_.fail()) {
    Discard();
    return Fail(FileMessage(write_message, target_, error));
  }
  if (direct_) {
    direct_ = false;
    return Status::Ok();
  }
  std::error_code ec;
  // Only now: an old file's bits may not let the writer write.
  if (keep_permissions_) {
    std::filesystem::permissions(temporary_, permissions_, std::filesystem::perm_options::replace,
                                 ec);
  }
  std::filesystem::rename(temporary_, target_, ec);
  if (ec) {
    Discard();
    return Fail(FileMessage(write_message, target_, ec.value()));
  }
  temporary_.clear();
  return Status::Ok();
}

void SafeFileWriter::Discard() {
  if (out_.is_open()) out_.close();
  out_.clear();
  direct_ = false;
  keep_permissions_ = false;
  if (!temporary_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temporary_, ec);
    temporary_.clear();
  }
}

}  // namespace tavrin
