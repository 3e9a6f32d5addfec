#pragma once

// Where the values of an open file live: read in place from the data file
// until the first change, then in a working file of our own in $TMPDIR. A
// structural edit rebuilds the records into a fresh working file and swaps it
// in only when complete, so a failure leaves the values as they were. Working
// files have no name (io::TempFile::CreateUnnamed): they vanish with their
// descriptors, even when the process is killed.

#include <cstdint>
#include <functional>
#include <vector>

#include "kvmdev32.h"
#include "posix_io.h"

namespace kvm {

// The geometry of a data area: per case the case name, then one double per
// variable.
struct DataShape {
  std::int64_t cases = 0;
  std::int64_t case_name_length = 0;
  std::int64_t variables = 0;

  std::uint64_t RecordSize() const {
    return static_cast<std::uint64_t>(case_name_length + 8 * variables);
  }
  std::uint64_t Bytes() const { return static_cast<std::uint64_t>(cases) * RecordSize(); }
};

// The largest data area an edit may make.
inline constexpr std::uint64_t kMaxDataBytes = KVM_MAX_DATA_BYTES;

// Whether a data area of shape `from` may be replaced by a working file of
// shape `to`, checked before anything is written: one that grows must stay
// within kMaxDataBytes (else the failure reason is EFBIG), and the working
// directory must have room for the new working file (else ENOSPC).
bool MayMakeWorkingFile(const DataShape& from, const DataShape& to);

class DataStore {
 public:
  // Gives new record `index` the old record it is made from, or -1 for a blank one.
  using SourceCase = std::function<std::int64_t(std::int64_t index)>;
  // Makes a new record from an old one.
  using Reshape = std::function<void(const std::uint8_t* from, std::uint8_t* to)>;

  // Values are read in place from `data_fd` (owned by the caller) at `offset`.
  void ReadInPlace(int data_fd, std::uint64_t offset);

  // Whether the values have moved to a working file, i.e. changed.
  bool changed() const { return working_.valid(); }

  // `size` bytes at `at` within record `index`.
  bool Read(const DataShape& shape, std::int64_t index, std::uint64_t at, void* buffer,
            std::size_t size) const;
  bool Write(const DataShape& shape, std::int64_t index, std::uint64_t at, const void* data,
             std::size_t size);

  // Replaces the data area of shape `from` with one of shape `to`.
  bool Rebuild(const DataShape& from, const DataShape& to, const SourceCase& source,
               const Reshape& reshape, const std::vector<std::uint8_t>& blank);

  // Copies the whole data area to `fd` at `offset`.
  bool CopyTo(const DataShape& shape, int fd, std::uint64_t offset) const;

 private:
  int source_fd() const { return working_.valid() ? working_.fd() : data_fd_; }
  std::uint64_t source_offset() const { return working_.valid() ? 0 : data_offset_; }
  bool MakeWorkingCopy(const DataShape& shape);

  int data_fd_ = -1;
  std::uint64_t data_offset_ = 0;
  io::TempFile working_;
};

}  // namespace kvm
