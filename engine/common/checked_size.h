#pragma once

#include <cstdint>
#include <optional>

namespace tavrin {

// Sizes derived from caller or file input are computed in 64 bits and refused
// when they overflow or exceed what one array may hold.
inline constexpr std::int64_t kMaxArrayElements = std::int64_t{1} << 31;

inline std::optional<std::int64_t> CheckedMultiply(std::int64_t a, std::int64_t b) {
  std::int64_t product = 0;
  if (a < 0 || b < 0 || __builtin_mul_overflow(a, b, &product)) return std::nullopt;
  return product;
}

inline std::optional<std::int64_t> CheckedAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
  return sum;
}

}  // namespace tavrin
