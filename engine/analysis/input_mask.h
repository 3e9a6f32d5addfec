#pragma once

// Which of a data set's input variables a candidate subset keeps: one bit
// per input variable in the data set's order, the first input in the most
// significant bit of the first byte, as the desktop program shows and the
// library stores it.

#include <cstdint>
#include <vector>

namespace tavrin {

class InputMask {
 public:
  InputMask() = default;
  // Every bit clear; (inputs / 8) + 1 bytes.
  explicit InputMask(int inputs);

  int size() const { return inputs_; }
  bool test(int i) const { return (bytes_[i / 8] >> (7 - i % 8)) & 1U; }
  void set(int i, bool on);
  void flip(int i) { bytes_[i / 8] ^= Bit(i); }
  int count() const;

  // Bits from a whole number: its bit size() - 1 is input 0, its bit 0 the
  // last input.
  void SetFromNumber(std::uint64_t v);

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  bool operator==(const InputMask&) const = default;

 private:
  static std::uint8_t Bit(int i) { return static_cast<std::uint8_t>(0x80U >> (i % 8)); }

  int inputs_ = 0;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace tavrin
