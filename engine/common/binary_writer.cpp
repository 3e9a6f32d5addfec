#include "common/binary_writer.h"

#include <bit>

namespace tavrin {
namespace {

void StoreLittleEndian(std::uint64_t value, int bytes, char* out) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

void BinaryWriter::WriteInt32(std::int32_t value) {
  char b[4];
  StoreLittleEndian(static_cast<std::uint32_t>(value), 4, b);
  out_.write(b, 4);
}

void BinaryWriter::WriteDouble(double value) {
  char b[8];
  StoreLittleEndian(std::bit_cast<std::uint64_t>(value), 8, b);
  out_.write(b, 8);
}

void BinaryWriter::WriteDoubles(const double* values, std::int64_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    out_.write(reinterpret_cast<const char*>(values), static_cast<std::streamsize>(count) * 8);
  } else {
    for (std::int64_t i = 0; i < count; ++i) WriteDouble(values[i]);
  }
}

void BinaryWriter::WriteBytes(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tavrin
