#include "write_back.h"

#include <vector>

#include "header_sections.h"
#include "host_file.h"
#include "posix_io.h"

namespace kvm {
namespace {

constexpr const char* kWriteBackPrefix = ".kvmdev32-";

}  // namespace

bool WriteBack(KvmFile& file) {
  // Renaming would replace even a file we may not write; honour its mode.
  if (!file.writable) {
    io::SetFailure(file.not_writable);
    return false;
  }
  const std::vector<std::uint8_t> header = WriteHeaderSections(file.sections);
  const std::uint64_t data_offset = DataOffsetFor(header.size());
  const std::vector<std::uint8_t> padding(data_offset - header.size(), 0);

  // Both files exist until the rename: the directory needs room for all of it.
  const std::string directory = io::DirectoryOf(file.path);
  if (!io::RoomFor(directory, data_offset + file.shape().Bytes())) return false;
  io::TempFile out;
  if (!out.CreateForRename(directory, kWriteBackPrefix)) return false;
  if (!io::WriteAt(out.fd(), 0, header.data(), header.size()) ||
      !io::WriteAt(out.fd(), header.size(), padding.data(), padding.size()) ||
      !file.data.CopyTo(file.shape(), out.fd(), data_offset) ||
      !io::CopyMode(file.data_file.get(), out.fd()) || !io::Sync(out.fd())) {
    return false;
  }
  return out.RenameOver(file.path);
}

void RemoveStaleWriteBacks(const std::string& path) {
  io::RemoveStaleFiles(io::DirectoryOf(path), kWriteBackPrefix);
}

}  // namespace kvm
