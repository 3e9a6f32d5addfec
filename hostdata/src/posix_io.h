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

// A new file of our own for the library's working data or for a new data
// file. It is removed when the object dies, unless it was renamed into place
// first. A file with a name holds an exclusive lock (flock) while it is open,
// so that RemoveStaleFiles can tell it from one whose process died.
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
  // Makes a new empty file in `directory` that has no name from the start
  // (O_TMPFILE) or from just after its creation (mkstemp, then unlink), so it
  // vanishes with its descriptor, however the process ends.
  bool CreateUnnamed(const std::string& directory, const std::string& prefix);
  // Makes a new empty file in `directory` that gets its name only in
  // RenameOver (O_TMPFILE, linked there), or, where the file system cannot
  // do that, a named file as Create does.
  bool CreateForRename(const std::string& directory, const std::string& prefix);
  // Renames the file over `target`, naming it "<prefix>XXXXXX" in its
  // directory first when it has no name; on success the name is no longer ours.
  bool RenameOver(const std::string& target);
  void Remove();

  bool valid() const { return fd_.valid(); }
  int fd() const { return fd_.get(); }
  // Empty while the file has no name.
  const std::string& path() const { return path_; }

 private:
  bool CreateNamed(const std::string& directory, const std::string& prefix);
  bool Link();

  Fd fd_;
  std::string path_;
  // Where a file made by CreateForRename without a name gets one.
  std::string directory_;
  std::string prefix_;
};

// Removes the files "<directory>/<prefix>XXXXXX" that are ours (same owner)
// and that no TempFile holds open: those left by a process that died while it
// wrote them. Anything else in the directory is left alone, and so is errno.
void RemoveStaleFiles(const std::string& directory, const std::string& prefix);

// Opens an existing regular file, for reading and writing when allowed and
// else read only (*writable says which, and *not_writable why: the errno of
// the open for writing). Never blocks on a FIFO or device.
Fd OpenRegularFile(const std::string& path, bool* writable, int* not_writable);

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
// Whether `directory` has room for a new file of `bytes` bytes (the free
// space statvfs reports for unprivileged use); if not, the failure reason is
// ENOSPC. A file system that cannot say is taken to have room: its writes
// still fail soundly when it has none.
bool RoomFor(const std::string& directory, std::uint64_t bytes);

// $TMPDIR when set and not empty, else /tmp.
std::string WorkingDirectory();
// The directory part of a path ("." for a bare name).
std::string DirectoryOf(const std::string& path);
// The path with symbolic links resolved, or the path itself when that fails,
// so that a write-back replaces the file a link points to, not the link.
std::string ResolvedPath(const std::string& path);

// Why the latest call above that touched the disk on this thread failed: its
// errno (EIO when the system gave none; 0 for a file opened that is neither
// a regular file nor a directory), or 0 when it succeeded. Exports hand it to
// their callers in errno.
int LastFailure();
// Sets what LastFailure() gives: 0 before an export's work, or the reason for
// a refusal made above this layer (a size limit).
void SetFailure(int reason);

// Test seam: the `n`th disk call from now fails with EIO (1 = the next one);
// 0 turns failures off. Returns how many calls were made since the last set.
long FailNthCall(long n);

// Test seam: the `n`th disk call from now kills the process (SIGKILL) before
// it is made, as a crash or a kill at that moment would; 0 turns it off.
void KillAtNthCall(long n);
// Test seam: RoomFor sees at most `bytes` free; negative: what statvfs says.
void PretendFreeSpace(std::int64_t bytes);
// Test seam: false makes TempFile behave as on a file system without
// O_TMPFILE (named files, unlinked or locked); true restores the default.
void AllowUnnamedFiles(bool allow);

}  // namespace kvm::io
