#include "analysis/input_mask.h"

#include <bit>

namespace tavrin {

InputMask::InputMask(int inputs)
    : inputs_(inputs), bytes_(static_cast<std::size_t>(inputs / 8) + 1, 0) {}

void InputMask::set(int i, bool on) {
  if (on) {
    bytes_[i / 8] |= Bit(i);
  } else {
    bytes_[i / 8] &= static_cast<std::uint8_t>(~Bit(i));
  }
}

int InputMask::count() const {
  int n = 0;
  for (std::uint8_t b : bytes_) n += std::popcount(b);
  return n;
}

void InputMask::SetFromNumber(std::uint64_t v) {
  for (int i = 0; i < inputs_; ++i) set(i, (v >> (inputs_ - 1 - i)) & 1U);
}

}  // namespace tavrin
