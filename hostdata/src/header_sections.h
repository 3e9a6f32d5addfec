#pragma once

// The header sections of a host data file: everything before the data area.
// Reader and writer live side by side (header_reader.cpp, header_writer.cpp).
//
// Layout, little-endian, n = number of variables:
//
//   offset      size       content
//   0           4          magic "ZPL "
//   4           4          int32 file type: -9876 (ours), -9877, -9869, -9858
//   8           4          int32 number of cases (>= 0)
//   12          2          int16 n, 1 .. 4092
//   14          2          reserved, written 0
//   16          4          int32, always 8
//   20          4          int32 L, entries in the size table, 5 .. 8
//   24          2L         size table, int16 each (entries past L count as 0):
//                            [0] 20, [1] 80, [2] 8n, [3] 2n, [4] 8n,
//                            [5] 2n label counts, [6] 4n label entry offsets,
//                            [7] 4(n+1) long-label text offsets; 0 = absent
//   24+2L       20         extension block, int32 each: long-name bytes,
//                            label entry bytes, long-label text bytes,
//                            case name length (0 .. 20), extra block bytes
//   next        80         file header text
//   next        8n         variable names
//   next        2n         display format words
//   next        8n         missing-data codes (doubles)
//   next        [5]+[6]+[7] label counts (int16, <= 2200 each); label entry
//                            offsets (int32: running sums of count x 14);
//                            long-label text offsets (int32: 0, then running
//                            sums of each variable's long-label bytes)
//   next        ext[0]     long-name records: int16 variable (from 1), length
//                            byte 1 .. 128, the bytes; at most one per variable
//   next        ext[1]     label entries, 14 bytes: float value, 8-byte label,
//                            uint16 offset of the long-label record within the
//                            variable's records (0xFFFF: none)
//   next        ext[2]     long-label records: the entry's 4 value bytes,
//                            length byte 0 .. 40, the text
//   next        ext[4]     extra block (kept only for files not of type -9876)
//   next multiple of 512   data: per case the case name, then n doubles
//
// Writing: L is 5, 7 with labels, 8 with long labels; absent entries are 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kvm {

inline constexpr std::int32_t kOwnFileType = -9876;
inline constexpr std::int32_t kMaxVariables = 4092;
inline constexpr std::size_t kMaxLabels = 2200;
inline constexpr std::size_t kMaxLongLabels = 720;
inline constexpr std::size_t kLabelSize = 8;
inline constexpr std::size_t kMaxLongLabelLength = 40;
inline constexpr std::size_t kMaxLongNameLength = 128;
inline constexpr std::int32_t kMaxCaseNameLength = 20;
inline constexpr std::size_t kHeaderTextSize = 80;
inline constexpr std::size_t kNameSize = 8;
inline constexpr std::uint16_t kDefaultFormat = 776;
inline constexpr double kDefaultMissingCode = -9999.0;
inline constexpr std::uint64_t kDataAlignment = 512;
inline constexpr std::size_t kFixedPartSize = 24;
inline constexpr std::int32_t kFixedWord = 8;  // the int32 at offset 16
inline constexpr std::int32_t kExtensionBlockSize = 20;
inline constexpr std::size_t kLabelEntrySize = 14;
inline constexpr std::uint16_t kNoLongLabel = 0xFFFF;
inline constexpr std::size_t kLongLabelRecordHead = 5;  // value bytes and length byte
inline constexpr std::size_t kLongNameRecordHead = 3;   // variable number and length byte

struct ValueLabel {
  std::array<std::uint8_t, 4> value{};  // the float's bytes, kept exactly
  std::array<char, kLabelSize> text{};  // blank-padded
  std::string long_label;               // empty: none

  float Value() const;
  bool operator==(const ValueLabel&) const = default;
};

struct Variable {
  std::array<char, kNameSize> name{};
  std::uint16_t format = kDefaultFormat;
  double missing_code = kDefaultMissingCode;
  std::string long_name;  // empty: none
  std::vector<ValueLabel> labels;

  bool operator==(const Variable& other) const;
};

struct HeaderSections {
  std::int32_t file_type = kOwnFileType;
  std::int32_t cases = 0;
  std::array<char, kHeaderTextSize> header_text{};
  std::int32_t case_name_length = 0;
  std::vector<Variable> variables;
  std::vector<std::uint8_t> extra;  // opaque, from files of other types

  std::int32_t variable_count() const { return static_cast<std::int32_t>(variables.size()); }
  std::uint64_t RecordSize() const {
    return static_cast<std::uint64_t>(case_name_length) + 8u * variables.size();
  }
  bool operator==(const HeaderSections&) const = default;
};

// Random access to the bytes of a file, or of a file image in memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Exactly `size` bytes at `offset`, or false.
  virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const = 0;
};

class MemorySource final : public ByteSource {
 public:
  MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

class FileSource final : public ByteSource {
 public:
  FileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const override;

 private:
  int fd_;
  std::uint64_t size_;
};

// Reads and checks the header sections. Every count and size is checked
// against the format's limits and against the bytes left in `source` before
// anything is allocated. On success *header_end is the offset just past
// the sections; `out` is filled only on success.
bool ReadHeaderSections(const ByteSource& source, HeaderSections& out, std::uint64_t* header_end);

// Checks that the source holds the whole data area of `sections` after a
// header of `header_end` bytes, and gives the data area's offset.
bool LocateDataArea(const ByteSource& source, const HeaderSections& sections,
                    std::uint64_t header_end, std::uint64_t* data_offset);

// The file image of the header sections, without the padding to the data area.
std::vector<std::uint8_t> WriteHeaderSections(const HeaderSections& sections);

// The first multiple of 512 at or after `header_end` (which is never 0).
inline std::uint64_t DataOffsetFor(std::uint64_t header_end) {
  return ((header_end - 1) / kDataAlignment + 1) * kDataAlignment;
}

}  // namespace kvm
