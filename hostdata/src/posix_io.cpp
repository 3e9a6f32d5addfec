#include "posix_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kvm::io {
namespace {

std::atomic<long> fail_countdown{0};
std::atomic<long> kill_countdown{0};
std::atomic<long> calls_made{0};
std::atomic<bool> unnamed_allowed{true};
std::atomic<std::int64_t> pretended_free_space{-1};
thread_local int last_failure = 0;

// Every public call ends through one of these, so that LastFailure() tells
// how the latest one went.
bool Succeeded() {
  last_failure = 0;
  return true;
}
bool FailedFor(int reason) {
  last_failure = reason;
  return false;
}
// A failure the system explained in errno (EIO when it did not).
bool Failed() {
  return FailedFor(errno != 0 ? errno : EIO);
}
Fd Opened(Fd fd) {
  if (fd.valid()) {
    Succeeded();
  } else {
    // errno is 0 only for a file that is not a regular one (see OpenChecked).
    FailedFor(errno);
  }
  return fd;
}

// The random part of a temporary name, as mkstemp makes it.
constexpr std::size_t kRandomLength = 6;

// Counts a disk call and says whether the test seam wants it to fail.
bool Injected() {
  calls_made.fetch_add(1, std::memory_order_relaxed);
  const long to_kill = kill_countdown.load(std::memory_order_relaxed);
  if (to_kill > 0) {
    kill_countdown.store(to_kill - 1, std::memory_order_relaxed);
    if (to_kill == 1) ::raise(SIGKILL);
  }
  long left = fail_countdown.load(std::memory_order_relaxed);
  if (left <= 0) return false;
  fail_countdown.store(left - 1, std::memory_order_relaxed);
  if (left == 1) {
    errno = EIO;
    return true;
  }
  return false;
}

// Whether `fd` is a regular file; if not, errno says EISDIR for a directory
// and 0 for anything else that is not a data file (a FIFO, a device).
bool IsRegular(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  if (S_ISREG(info.st_mode)) return true;
  errno = S_ISDIR(info.st_mode) ? EISDIR : 0;
  return false;
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

std::string JoinPath(const std::string& directory, const std::string& name) {
  std::string path = directory;
  if (path.empty() || path.back() != '/') path += '/';
  return path + name;
}

// Keeps errno across clean-up calls, so a failure's reason survives them.
class KeepErrno {
 public:
  KeepErrno() : saved_(errno) {}
  ~KeepErrno() { errno = saved_; }
  KeepErrno(const KeepErrno&) = delete;
  KeepErrno& operator=(const KeepErrno&) = delete;

 private:
  int saved_;
};

bool LockExclusive(int fd) {
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// Whether `path` still names the file open as `fd`.
bool Names(const std::string& path, int fd) {
  struct stat by_name {};
  struct stat by_fd {};
  return ::lstat(path.c_str(), &by_name) == 0 && ::fstat(fd, &by_fd) == 0 &&
         by_name.st_dev == by_fd.st_dev && by_name.st_ino == by_fd.st_ino;
}

// A new file without a name in `directory` (O_TMPFILE), or an invalid Fd
// where the file system or the test seam does not allow one.
Fd OpenUnnamedIn(const std::string& directory) {
#ifdef O_TMPFILE
  if (!unnamed_allowed.load(std::memory_order_relaxed)) return Fd();
  KeepErrno keep;
  int fd;
  do {
    fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  } while (fd < 0 && errno == EINTR);
  return Fd(fd);
#else
  (void)directory;
  return Fd();
#endif
}

// The name under which the kernel lets an unnamed file be linked.
std::string ProcPath(int fd) {
  return "/proc/self/fd/" + std::to_string(fd);
}

// A made-up name for RenameOver: the random part of a mkstemp name.
std::string RandomPart() {
  static std::atomic<std::uint64_t> counter{0};
  std::uint64_t x =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<std::uint64_t>(::getpid()) << 32) ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15u);
  // splitmix64's finaliser spreads every input bit.
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
  x ^= x >> 31;
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string part;
  for (std::size_t i = 0; i < kRandomLength; ++i) {
    part += kLetters[x % 62];
    x /= 62;
  }
  return part;
}

// Whether `name` is "<prefix>" and a mkstemp-style random part.
bool IsTemporaryName(const char* name, const std::string& prefix) {
  const std::size_t length = std::strlen(name);
  if (length != prefix.size() + kRandomLength ||
      prefix.compare(0, prefix.size(), name, prefix.size()) != 0) {
    return false;
  }
  for (std::size_t i = prefix.size(); i < length; ++i) {
    const char c = name[i];
    const bool alphanumeric =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alphanumeric) return false;
  }
  return true;
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
    : fd_(std::move(other.fd_)),
      path_(std::move(other.path_)),
      directory_(std::move(other.directory_)),
      prefix_(std::move(other.prefix_)) {
  other.path_.clear();
}

TempFile& TempFile::operator=(TempFile&& other) noexcept {
  if (this != &other) {
    Remove();
    fd_ = std::move(other.fd_);
    path_ = std::move(other.path_);
    directory_ = std::move(other.directory_);
    prefix_ = std::move(other.prefix_);
    other.path_.clear();
  }
  return *this;
}

bool TempFile::Create(const std::string& directory, const std::string& prefix) {
  Remove();
  if (Injected() || !CreateNamed(directory, prefix)) return Failed();
  return Succeeded();
}

bool TempFile::CreateNamed(const std::string& directory, const std::string& prefix) {
  // A process that sweeps stale files may take the name between mkstemp and
  // the lock; the name is then made again.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string pattern = JoinPath(directory, prefix + "XXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    fd_ = Fd(fd);
    path_.assign(name.data());
    if (::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) {
      Remove();
      return false;
    }
    if (LockExclusive(fd) && Names(path_, fd)) return true;
    KeepErrno keep;
    if (Names(path_, fd)) ::unlink(path_.c_str());
    path_.clear();
    fd_.Reset();
  }
  errno = EEXIST;
  return false;
}

bool TempFile::CreateUnnamed(const std::string& directory, const std::string& prefix) {
  Remove();
  if (Injected()) return Failed();
  Fd unnamed = OpenUnnamedIn(directory);
  if (unnamed.valid()) {
    fd_ = std::move(unnamed);
    return Succeeded();
  }
  if (!CreateNamed(directory, prefix)) return Failed();
  if (::unlink(path_.c_str()) != 0) {
    Remove();
    return Failed();
  }
  path_.clear();
  return Succeeded();
}

bool TempFile::CreateForRename(const std::string& directory, const std::string& prefix) {
  Remove();
  if (Injected()) return Failed();
  Fd unnamed = OpenUnnamedIn(directory);
  // Only a file the kernel will link later can go without a name.
  if (unnamed.valid() && ::access(ProcPath(unnamed.get()).c_str(), F_OK) == 0 &&
      LockExclusive(unnamed.get())) {
    fd_ = std::move(unnamed);
    directory_ = directory;
    prefix_ = prefix;
    return Succeeded();
  }
  return CreateNamed(directory, prefix) ? Succeeded() : Failed();
}

bool TempFile::Link() {
  if (Injected()) return false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = JoinPath(directory_, prefix_ + RandomPart());
    if (::linkat(AT_FDCWD, ProcPath(fd_.get()).c_str(), AT_FDCWD, name.c_str(),
                 AT_SYMLINK_FOLLOW) == 0) {
      path_ = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool TempFile::RenameOver(const std::string& target) {
  if (!valid() || (path_.empty() && directory_.empty())) return FailedFor(EBADF);
  if (path_.empty() && !Link()) return Failed();
  if (Injected() || ::rename(path_.c_str(), target.c_str()) != 0) return Failed();
  path_.clear();
  fd_.Reset();
  return Succeeded();
}

void TempFile::Remove() {
  KeepErrno keep;
  if (!path_.empty()) ::unlink(path_.c_str());
  path_.clear();
  directory_.clear();
  prefix_.clear();
  fd_.Reset();
}

void RemoveStaleFiles(const std::string& directory, const std::string& prefix) {
  KeepErrno keep;
  DIR* dir = ::opendir(directory.c_str());
  if (dir == nullptr) return;
  const int dir_fd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryName(entry->d_name, prefix)) continue;
    Fd file(
        ::openat(dir_fd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    struct stat now {};
    if (!file.valid() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid()) {
      continue;
    }
    // A live TempFile holds the lock; a dead process's lock went with it.
    if (!LockExclusive(file.get())) continue;
    if (::fstatat(dir_fd, entry->d_name, &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        now.st_dev == info.st_dev && now.st_ino == info.st_ino) {
      ::unlinkat(dir_fd, entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

Fd OpenRegularFile(const std::string& path, bool* writable, int* not_writable) {
  Fd fd = OpenChecked(path, O_RDWR);
  *writable = fd.valid();
  *not_writable = fd.valid() ? 0 : errno;
  if (!fd.valid()) fd = OpenChecked(path, O_RDONLY);
  return Opened(std::move(fd));
}

Fd OpenForCreate(const std::string& path, bool* created) {
  Fd fd = OpenChecked(path, O_RDWR | O_CREAT | O_EXCL, 0666);
  *created = fd.valid();
  if (!fd.valid() && errno == EEXIST) fd = OpenChecked(path, O_RDWR);
  return Opened(std::move(fd));
}

bool FileSize(int fd, std::uint64_t* size) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return Failed();
  if (info.st_size < 0) return FailedFor(EIO);
  *size = static_cast<std::uint64_t>(info.st_size);
  return Succeeded();
}

bool ReadAt(int fd, std::uint64_t offset, void* buffer, std::size_t size) {
  if (Injected()) return Failed();
  auto* p = static_cast<char*>(buffer);
  while (size > 0) {
    if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return FailedFor(EFBIG);
    const ssize_t got = ::pread(fd, p, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failed();
    if (got == 0) return FailedFor(EIO);  // the file was cut short under us
    p += got;
    size -= static_cast<std::size_t>(got);
    offset += static_cast<std::uint64_t>(got);
  }
  return Succeeded();
}

bool WriteAt(int fd, std::uint64_t offset, const void* data, std::size_t size) {
  if (Injected()) return Failed();
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    if (offset > static_cast<std::uint64_t>(LLONG_MAX)) return FailedFor(EFBIG);
    const ssize_t put = ::pwrite(fd, p, size, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return Failed();
    if (put == 0) return FailedFor(EIO);
    p += put;
    size -= static_cast<std::size_t>(put);
    offset += static_cast<std::uint64_t>(put);
  }
  return Succeeded();
}

bool Sync(int fd) {
  if (Injected() || ::fsync(fd) != 0) return Failed();
  return Succeeded();
}

bool CopyMode(int from, int to) {
  if (Injected()) return Failed();
  struct stat info {};
  if (::fstat(from, &info) != 0 || ::fchmod(to, info.st_mode & 07777) != 0) return Failed();
  return Succeeded();
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

bool RoomFor(const std::string& directory, std::uint64_t bytes) {
  std::uint64_t free_bytes = UINT64_MAX;
  struct statvfs info {};
  if (::statvfs(directory.c_str(), &info) == 0) {
    free_bytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
  }
  const std::int64_t pretended = pretended_free_space.load(std::memory_order_relaxed);
  if (pretended >= 0) free_bytes = std::min(free_bytes, static_cast<std::uint64_t>(pretended));
  if (bytes <= free_bytes) return true;
  return FailedFor(ENOSPC);
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

int LastFailure() {
  return last_failure;
}

void SetFailure(int reason) {
  last_failure = reason;
}

long FailNthCall(long n) {
  fail_countdown.store(n < 0 ? 0 : n);
  return calls_made.exchange(0);
}

void KillAtNthCall(long n) {
  kill_countdown.store(n < 0 ? 0 : n);
}

void PretendFreeSpace(std::int64_t bytes) {
  pretended_free_space.store(bytes < 0 ? -1 : bytes);
}

void AllowUnnamedFiles(bool allow) {
  unnamed_allowed.store(allow);
}

}  // namespace kvm::io
