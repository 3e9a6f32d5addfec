#pragma once

// The data file is little-endian whatever the machine; values are assembled
// byte by byte so the code reads the same on any host.

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kvm {

inline std::uint16_t LoadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::int16_t LoadI16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(LoadU16(p));
}
inline std::uint32_t LoadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t LoadI32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(LoadU32(p));
}
inline std::uint64_t LoadU64(const std::uint8_t* p) {
  return static_cast<std::uint64_t>(LoadU32(p)) |
         (static_cast<std::uint64_t>(LoadU32(p + 4)) << 32);
}
inline double LoadF64(const std::uint8_t* p) {
  return std::bit_cast<double>(LoadU64(p));
}

inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void StoreU64(std::uint8_t* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void StoreF64(std::uint8_t* p, double v) {
  StoreU64(p, std::bit_cast<std::uint64_t>(v));
}

// Appends little-endian fields to a growing byte image.
class ByteBuilder {
 public:
  void I16(std::int32_t v) {
    std::uint8_t b[2];
    StoreU16(b, static_cast<std::uint16_t>(v));
    Raw(b, 2);
  }
  void U16(std::uint16_t v) { I16(v); }
  void I32(std::int32_t v) {
    std::uint8_t b[4];
    StoreU32(b, static_cast<std::uint32_t>(v));
    Raw(b, 4);
  }
  void F64(double v) {
    std::uint8_t b[8];
    StoreF64(b, v);
    Raw(b, 8);
  }
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void Raw(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
  }
  void Zeros(std::size_t size) { bytes_.resize(bytes_.size() + size, 0); }
  // Overwrites a 32-bit field written earlier, once its value is known.
  void PatchI32(std::size_t offset, std::int32_t v) {
    StoreU32(bytes_.data() + offset, static_cast<std::uint32_t>(v));
  }
  std::size_t size() const { return bytes_.size(); }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace kvm
