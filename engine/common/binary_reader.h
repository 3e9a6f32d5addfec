#pragma once

// Little-endian reading of binary files with a byte budget: the bytes from the
// read position to the end of the stream. Every count read from a file is
// checked against that budget before anything is allocated, so a damaged or
// malicious count can neither allocate without limit nor read past the end.

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace tavrin {

class BinaryReader {
 public:
  explicit BinaryReader(std::istream& in) : in_(in) {}

  // Positions the reader at `offset` and sets the budget to the bytes from
  // there to the end. False when the stream cannot seek there or the offset
  // lies beyond its end.
  bool Seek(std::int64_t offset);

  std::int64_t remaining() const { return remaining_; }

  // Whether `count` items of `size` bytes each fit in the budget (false for a
  // negative count or an overflowing product).
  bool Holds(std::int64_t count, std::int64_t size) const;

  // Each read is all or nothing: false when the budget or the stream runs
  // out, and the reader is then spent.
  bool ReadInt32(std::int32_t& value);
  bool ReadDouble(double& value);
  bool ReadInt32s(std::vector<std::int32_t>& values, std::int64_t count);
  bool ReadDoubles(std::vector<double>& values, std::int64_t count);
  bool ReadDoubles(double* values, std::int64_t count);
  bool ReadBytes(std::string& text, std::int64_t count);

 private:
  bool ReadRaw(char* bytes, std::int64_t count);

  std::istream& in_;
  std::int64_t remaining_ = 0;
};

}  // namespace tavrin
