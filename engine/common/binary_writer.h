#pragma once

// Little-endian writing of binary files: int32 words and IEEE 754 doubles,
// whatever the byte order of the machine. A failed write is remembered and
// reported by ok(), so a caller checks once after writing a whole record.

#include <cstdint>
#include <ostream>
#include <string_view>

namespace tavrin {

class BinaryWriter {
 public:
  explicit BinaryWriter(std::ostream& out) : out_(out) {}

  void WriteInt32(std::int32_t value);
  void WriteDouble(double value);
  void WriteDoubles(const double* values, std::int64_t count);
  void WriteBytes(std::string_view bytes);

  // Whether every write so far reached the stream.
  bool ok() const { return static_cast<bool>(out_); }

 private:
  std::ostream& out_;
};

}  // namespace tavrin
