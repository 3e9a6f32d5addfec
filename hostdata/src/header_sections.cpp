// The parts of the header sections' records shared by reader and writer.

#include "header_sections.h"

#include <bit>
#include <cstring>

#include "byte_order.h"
#include "posix_io.h"

namespace kvm {

float ValueLabel::Value() const {
  return std::bit_cast<float>(LoadU32(value.data()));
}

bool Variable::operator==(const Variable& other) const {
  // Compared by bits, so that a NaN code equals itself.
  return name == other.name && format == other.format &&
         std::bit_cast<std::uint64_t>(missing_code) ==
             std::bit_cast<std::uint64_t>(other.missing_code) &&
         long_name == other.long_name && labels == other.labels;
}

bool MemorySource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
  if (offset > size_ || size > size_ - offset) return false;
  if (size != 0) std::memcpy(buffer, data_ + offset, size);
  return true;
}

bool FileSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
  if (offset > size_ || size > size_ - offset) return false;
  return io::ReadAt(fd_, offset, buffer, size);
}

}  // namespace kvm
