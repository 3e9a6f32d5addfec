#include "posix_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kvm::io {
namespace {

std::atomic<long> fail_countdown{0};
std::atomic<long> calls_made{0};

// Counts a disk call and says whether the test seam wants it to fail.
bool Injected() {
  calls_made.fetch_add(1, std::memory_order_relaxed);
  long left = fail_countdown.load(std::memory_order_relaxed);
  if (left <= 0) return false;
  fail_countdown.store(left - 1, std::memory_order_relaxed);
  if (left == 1) {
    errno = EIO;
    return true;
  }
  return false;
}

bool IsRegular(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

// Regular files ignore O_NONBLOCK, but later reads must not see it either.
bool ClearNonBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

Fd OpenChecked(const std::string& path, int flags, mode_t mode = 0) {
  if (Injected()) return Fd();
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, mode);
  } while (fd < 0 && errno == EINTR);
  Fd owned(fd);
  if (!owned.valid() || !IsRegular(fd) || !ClearNonBlocking(fd)) return Fd();
  return owned;
}

}  // namespace

Fd& Fd::operator=(Fd&& other) noexcept {
  if (this != &other) {
    Reset();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

void Fd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

TempFile::TempFile(TempFile&& other) noexcept
    : fd_(std::move(other.fd_)), path_(std::move(other.path_)) {
  other.path_.clear();
}

TempFile& TempFile::operator=(TempFile&& other) noexcept {
  if (this != &other) {
    Remove();
    fd_ = std::move(other.fd_);
    path_ = std::move(other.path_);
    other.path_.clear();
  }
  return *this;
}

bool TempFile::Create(const std::string& directory, const std::string& prefix) {
  Remove();
  if (Injected()) return false;
  std::string pattern = directory;
  if (pattern.empty() || pattern.back() != '/') pattern += '/';
  pattern += prefix;
  pattern += "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return false;
  Fd owned(fd);
  path_.assign(name.data());
  fd_ = std::move(owned);
  if (::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) {
    Remove();
    return false;
  }
  return true;
}

bool TempFile::RenameOver(const std::string& target) {
  if (!valid() || Injected()) return false;
  if (::rename(path_.c_str(), target.c_str()) != 0) return false;
  path_.clear();
  fd_.Reset();
  return true;
}

void TempFile::Remove() {
  if (!path_.empty()) ::unlink(path_.c_str());
  path_.clear();
  fd_.Reset();
}

Fd OpenRegularFile(const std::string& path, bool* writable) {
  Fd fd = OpenChecked(path, O_RDWR);
  *writable = fd.valid();
  if (!fd.valid()) fd = OpenChecked(path, O_RDONLY);
  return fd;
}

Fd OpenForCreate(const std::string& path, bool* created) {
  Fd fd = OpenChecked(path, O_RDWR | O_CREAT | O_EXCL, 0666);
  *created = fd.valid();
  if (!fd.valid() && errno == EEXIST) fd = OpenChecked(path, O_RDWR);
  return fd;
}

bool FileSize(int fd, std::uint64_t* size) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_size < 0) return false;
  *size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

bool ReadAt(int fd, std::uint64_t offset, void* buffer, std::size_t size) {
  if (Injected()) return false;
  auto* p = static_cast<char*>(buffer);
  while (size > 0) {
    if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return false;
    const ssize_t got = ::pread(fd, p, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    size -= static_cast<std::size_t>(got);
    offset += static_cast<std::uint64_t>(got);
  }
  return true;
}

bool WriteAt(int fd, std::uint64_t offset, const void* data, std::size_t size) {
  if (Injected()) return false;
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return false;
    const ssize_t put = ::pwrite(fd, p, size, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    p += put;
    size -= static_cast<std::size_t>(put);
    offset += static_cast<std::uint64_t>(put);
  }
  return true;
}

bool Sync(int fd) {
  if (Injected()) return false;
  return ::fsync(fd) == 0;
}

bool CopyMode(int from, int to) {
  if (Injected()) return false;
  struct stat info {};
  if (::fstat(from, &info) != 0) return false;
  return ::fchmod(to, info.st_mode & 07777) == 0;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

std::string WorkingDirectory() {
  const char* dir = std::getenv("TMPDIR");
  if (dir != nullptr && dir[0] != '\0') return dir;
  return "/tmp";
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string ResolvedPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string result(resolved);
  std::free(resolved);
  return result;
}

long FailNthCall(long n) {
  fail_countdown.store(n < 0 ? 0 : n);
  return calls_made.exchange(0);
}

}  // namespace kvm::io
