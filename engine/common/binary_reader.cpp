#include "common/binary_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tavrin {
namespace {

// Bulk reads go through a buffer of this many bytes so that a large weight
// block is converted piece by piece on a big-endian host too.
constexpr std::int64_t kChunkBytes = 64 * 1024;

std::uint32_t Uint32FromLittleEndian(const unsigned char* b) {
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::uint64_t Uint64FromLittleEndian(const unsigned char* b) {
  return static_cast<std::uint64_t>(Uint32FromLittleEndian(b)) |
         static_cast<std::uint64_t>(Uint32FromLittleEndian(b + 4)) << 32;
}

}  // namespace

bool BinaryReader::Seek(std::int64_t offset) {
  remaining_ = 0;
  if (offset < 0) return false;
  in_.clear();
  in_.seekg(0, std::ios::end);
  const std::streamoff end = in_.tellg();
  if (!in_ || end < 0 || offset > end) return false;
  in_.seekg(offset, std::ios::beg);
  if (!in_) return false;
  remaining_ = end - offset;
  return true;
}

bool BinaryReader::Holds(std::int64_t count, std::int64_t size) const {
  if (count < 0 || size < 0) return false;
  if (size != 0 && count > remaining_ / size) return false;
  return true;
}

bool BinaryReader::ReadRaw(char* bytes, std::int64_t count) {
  if (!Holds(count, 1)) {
    remaining_ = 0;
    return false;
  }
  if (count == 0) return true;
  in_.read(bytes, count);
  if (in_.gcount() != count) {
    remaining_ = 0;
    return false;
  }
  remaining_ -= count;
  return true;
}

bool BinaryReader::ReadInt32(std::int32_t& value) {
  unsigned char b[4];
  if (!ReadRaw(reinterpret_cast<char*>(b), 4)) return false;
  value = static_cast<std::int32_t>(Uint32FromLittleEndian(b));
  return true;
}

bool BinaryReader::ReadDouble(double& value) {
  unsigned char b[8];
  if (!ReadRaw(reinterpret_cast<char*>(b), 8)) return false;
  value = std::bit_cast<double>(Uint64FromLittleEndian(b));
  return true;
}

bool BinaryReader::ReadInt32s(std::vector<std::int32_t>& values, std::int64_t count) {
  if (!Holds(count, 4)) {
    remaining_ = 0;
    return false;
  }
  values.resize(static_cast<std::size_t>(count));
  for (std::int32_t& v : values) {
    if (!ReadInt32(v)) return false;
  }
  return true;
}

bool BinaryReader::ReadDoubles(std::vector<double>& values, std::int64_t count) {
  if (!Holds(count, 8)) {
    remaining_ = 0;
    return false;
  }
  values.resize(static_cast<std::size_t>(count));
  return ReadDoubles(values.data(), count);
}

bool BinaryReader::ReadDoubles(double* values, std::int64_t count) {
  if (!Holds(count, 8)) {
    remaining_ = 0;
    return false;
  }
  if constexpr (std::endian::native == std::endian::little) {
    return ReadRaw(reinterpret_cast<char*>(values), count * 8);
  } else {
    unsigned char buffer[kChunkBytes];
    while (count > 0) {
      const std::int64_t n = std::min<std::int64_t>(count, kChunkBytes / 8);
      if (!ReadRaw(reinterpret_cast<char*>(buffer), n * 8)) return false;
      for (std::int64_t i = 0; i < n; ++i) {
        values[i] = std::bit_cast<double>(Uint64FromLittleEndian(buffer + 8 * i));
      }
      values += n;
      count -= n;
    }
    return true;
  }
}

bool BinaryReader::ReadBytes(std::string& text, std::int64_t count) {
  if (!Holds(count, 1)) {
    remaining_ = 0;
    return false;
  }
  text.resize(static_cast<std::size_t>(count));
  return ReadRaw(text.data(), count);
}

}  // namespace tavrin
