#include "data_store.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kvm {
namespace {

constexpr std::size_t kChunkBytes = 256 * 1024;
constexpr const char* kWorkingPrefix = "kvmdev32-";

// Collects sequential output into large writes.
class BufferedWriter {
 public:
  BufferedWriter(int fd, std::uint64_t offset) : fd_(fd), offset_(offset) {
    buffer_.reserve(kChunkBytes);
  }
  bool Append(const std::uint8_t* data, std::size_t size) {
    if (buffer_.size() + size > kChunkBytes && !Flush()) return false;
    if (size >= kChunkBytes) {
      if (!io::WriteAt(fd_, offset_, data, size)) return false;
      offset_ += size;
      return true;
    }
    buffer_.insert(buffer_.end(), data, data + size);
    return true;
  }
  bool Flush() {
    if (buffer_.empty()) return true;
    if (!io::WriteAt(fd_, offset_, buffer_.data(), buffer_.size())) return false;
    offset_ += buffer_.size();
    buffer_.clear();
    return true;
  }

 private:
  int fd_;
  std::uint64_t offset_;
  std::vector<std::uint8_t> buffer_;
};

// Reads records through a window of many records at once, so sequential
// walks cost one read per chunk.
class RecordWindow {
 public:
  RecordWindow(int fd, std::uint64_t offset, const DataShape& shape)
      : fd_(fd),
        offset_(offset),
        shape_(shape),
        per_window_(std::max<std::uint64_t>(
            1, kChunkBytes / std::max<std::uint64_t>(1, shape.RecordSize()))) {}

  const std::uint8_t* Get(std::int64_t index) {
    if (index < first_ || index >= first_ + loaded_) {
      const std::int64_t count =
          std::min<std::int64_t>(static_cast<std::int64_t>(per_window_), shape_.cases - index);
      const std::uint64_t size = static_cast<std::uint64_t>(count) * shape_.RecordSize();
      window_.resize(size);
      loaded_ = 0;
      if (!io::ReadAt(fd_, offset_ + static_cast<std::uint64_t>(index) * shape_.RecordSize(),
                      window_.data(), size)) {
        return nullptr;
      }
      first_ = index;
      loaded_ = count;
    }
    return window_.data() + static_cast<std::uint64_t>(index - first_) * shape_.RecordSize();
  }

 private:
  int fd_;
  std::uint64_t offset_;
  DataShape shape_;
  std::uint64_t per_window_;
  std::vector<std::uint8_t> window_;
  std::int64_t first_ = 0;
  std::int64_t loaded_ = 0;
};

}  // namespace

bool MayMakeWorkingFile(const DataShape& from, const DataShape& to) {
  // A shape's byte count cannot wrap: cases, name length and variables are
  // all held to their format limits, so it stays below 2^31 x 32756.
  if (to.Bytes() > from.Bytes() && to.Bytes() > kMaxDataBytes) {
    io::SetFailure(EFBIG);
    return false;
  }
  return io::RoomFor(io::WorkingDirectory(), to.Bytes());
}

void DataStore::ReadInPlace(int data_fd, std::uint64_t offset) {
  working_.Remove();
  data_fd_ = data_fd;
  data_offset_ = offset;
}

bool DataStore::Read(const DataShape& shape, std::int64_t index, std::uint64_t at, void* buffer,
                     std::size_t size) const {
  if (index < 0 || index >= shape.cases || at > shape.RecordSize() ||
      size > shape.RecordSize() - at) {
    return false;
  }
  const std::uint64_t offset =
      source_offset() + static_cast<std::uint64_t>(index) * shape.RecordSize() + at;
  return io::ReadAt(source_fd(), offset, buffer, size);
}

bool DataStore::Write(const DataShape& shape, std::int64_t index, std::uint64_t at,
                      const void* data, std::size_t size) {
  if (index < 0 || index >= shape.cases || at > shape.RecordSize() ||
      size > shape.RecordSize() - at) {
    return false;
  }
  const bool first_change = !working_.valid();
  if (first_change && !MakeWorkingCopy(shape)) return false;
  const std::uint64_t offset = static_cast<std::uint64_t>(index) * shape.RecordSize() + at;
  if (io::WriteAt(working_.fd(), offset, data, size)) return true;
  // Back to reading in place, so a failed first change leaves no trace.
  if (first_change) working_.Remove();
  return false;
}

bool DataStore::MakeWorkingCopy(const DataShape& shape) {
  if (!MayMakeWorkingFile(shape, shape)) return false;
  io::TempFile copy;
  if (!copy.CreateUnnamed(io::WorkingDirectory(), kWorkingPrefix)) return false;
  if (!CopyTo(shape, copy.fd(), 0)) return false;
  working_ = std::move(copy);
  return true;
}

bool DataStore::Rebuild(const DataShape& from, const DataShape& to, const SourceCase& source,
                        const Reshape& reshape, const std::vector<std::uint8_t>& blank) {
  if (blank.size() != to.RecordSize() || !MayMakeWorkingFile(from, to)) return false;
  io::TempFile fresh;
  if (!fresh.CreateUnnamed(io::WorkingDirectory(), kWorkingPrefix)) return false;
  RecordWindow old_records(source_fd(), source_offset(), from);
  BufferedWriter out(fresh.fd(), 0);
  std::vector<std::uint8_t> record(to.RecordSize());
  for (std::int64_t index = 0; index < to.cases; ++index) {
    const std::int64_t old_index = source(index);
    if (old_index < 0) {
      if (!out.Append(blank.data(), blank.size())) return false;
      continue;
    }
    if (old_index >= from.cases) return false;
    const std::uint8_t* old_record = old_records.Get(old_index);
    if (old_record == nullptr) return false;
    reshape(old_record, record.data());
    if (!out.Append(record.data(), record.size())) return false;
  }
  if (!out.Flush()) return false;
  working_ = std::move(fresh);
  return true;
}

bool DataStore::CopyTo(const DataShape& shape, int fd, std::uint64_t offset) const {
  std::vector<std::uint8_t> chunk(std::min<std::uint64_t>(kChunkBytes, shape.Bytes()));
  const std::uint64_t from = source_offset();
  for (std::uint64_t done = 0; done < shape.Bytes();) {
    const std::size_t size =
        static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), shape.Bytes() - done));
    if (!io::ReadAt(source_fd(), from + done, chunk.data(), size) ||
        !io::WriteAt(fd, offset + done, chunk.data(), size)) {
      return false;
    }
    done += size;
  }
  return true;
}

}  // namespace kvm
