#pragma once

// The few POSIX file services the library needs, with errors as results and
// descriptors and temporary files owned by objects. Every call that touches
// the disk passes one counter, so a test can make the Nth of them fail.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvm::io {

// Owns one open descriptor.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Fd& operator=(Fd&& other) noexcept;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { Reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void Reset();

 private:
  int fd_ = -1;
};

// A file of our own naming that is removed when the object dies, unless it
// was renamed into place first.
class TempFile {
 public:
  TempFile() = default;
  TempFile(TempFile&& other) noexcept;
  TempFile& operator=(TempFile&& other) noexcept;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() { Remove(); }

  // Makes a new empty file "<directory>/<prefix>XXXXXX" (mkstemp).
  bool Create(const std::string& directory, const std::string& prefix);
  // Renames the file over `target`; on success the name is no longer ours.
  bool RenameOver(const std::string& target);
  void Remove();

  bool valid() const { return fd_.valid(); }
  int fd() const { return fd_.get(); }
  const std::string& path() const { return path_; }

 private:
  Fd fd_;
  std::string path_;
};

// Opens an existing regular file, for reading and writing when allowed and
// else read only (*writable says which). Never blocks on a FIFO or device.
Fd OpenRegularFile(const std::string& path, bool* writable);

// Opens a regular file for writing, creating it when absent (*created) and
// leaving an existing one's contents alone.
Fd OpenForCreate(const std::string& path, bool* created);

bool FileSize(int fd, std::uint64_t* size);
// Reads or writes exactly `size` bytes at `offset`; a short transfer fails.
bool ReadAt(int fd, std::uint64_t offset, void* buffer, std::size_t size);
bool WriteAt(int fd, std::uint64_t offset, const void* data, std::size_t size);
bool Sync(int fd);
// Gives `to` the permission bits of `from`.
bool CopyMode(int from, int to);
bool RemoveFile(const std::string& path);

// $TMPDIR when set and not empty, else /tmp.
std::string WorkingDirectory();
// The directory part of a path ("." for a bare name).
std::string DirectoryOf(const std::string& path);
// The path with symbolic links resolved, or the path itself when that fails,
// so that a write-back replaces the file a link points to, not the link.
std::string ResolvedPath(const std::string& path);

// Test seam: the `n`th disk call from now fails with EIO (1 = the next one);
// 0 turns failures off. Returns how many calls were made since the last set.
long FailNthCall(long n);

}  // namespace kvm::io
