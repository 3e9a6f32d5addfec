#pragma once

// Shared by the host data file tests: a scratch directory that is also the
// working directory for temporary files, whole-file helpers, everything a
// caller can read of an open file, and a small file laid out byte by byte
// from the format's table.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kvmdev32.h"

namespace kvmtest {

namespace fs = std::filesystem;

// A private directory with data/ for data files and work/ set as $TMPDIR, so
// a test can see every temporary file the library leaves.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "kvmtest-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    fs::create_directory(root_ / "data");
    fs::create_directory(root_ / "work");
    if (const char* old = std::getenv("TMPDIR")) old_tmpdir_ = old;
    ::setenv("TMPDIR", (root_ / "work").c_str(), 1);
  }
  ~ScratchDir() {
    if (old_tmpdir_.empty()) {
      ::unsetenv("TMPDIR");
    } else {
      ::setenv("TMPDIR", old_tmpdir_.c_str(), 1);
    }
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  std::string File(const std::string& name) const { return (root_ / "data" / name).string(); }
  fs::path data_dir() const { return root_ / "data"; }

  static std::size_t Count(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }
  std::size_t WorkingFiles() const { return Count(root_ / "work"); }
  std::size_t DataDirFiles() const { return Count(data_dir()); }

 private:
  fs::path root_;
  std::string old_tmpdir_;
};

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Everything a caller can read of an open file.
struct Label {
  double value;
  std::string label, long_label;
  bool operator==(const Label&) const = default;
};
struct Contents {
  std::string header{};
  std::vector<std::string> names{}, long_names{};
  std::vector<std::array<std::int32_t, 4>> formats{};  // width, decimals, field 2, field 3
  std::vector<double> codes{};
  std::vector<std::vector<Label>> labels{};
  std::int32_t case_name_length = 0;
  std::vector<std::string> case_names{};
  std::vector<double> values{};  // case by case
  bool operator==(const Contents&) const = default;
};

inline Contents Take(KvmFile* file) {
  Contents s;
  char text[KVM_LONG_NAME_BUFFER_SIZE] = "";
  EXPECT_EQ(KvmGetFileHeader(file, text, sizeof text), 1);
  s.header = text;
  const std::int32_t variables = KvmGetNVars(file);
  for (int v = 1; v <= variables; ++v) {
    char name[KVM_NAME_BUFFER_SIZE] = "";
    EXPECT_EQ(KvmGetVarName(file, v, name), 1);
    s.names.emplace_back(name);
    EXPECT_EQ(KvmGetVarLongName(file, v, text, sizeof text), 1);
    s.long_names.emplace_back(text);
    std::array<std::int32_t, 4>& f = s.formats.emplace_back();
    EXPECT_EQ(KvmGetVarFormat(file, v, &f[0], &f[1], &f[2], &f[3]), 1);
    EXPECT_EQ(KvmGetVarMD(file, v, &s.codes.emplace_back()), 1);
    std::int32_t count = 0;
    EXPECT_EQ(KvmGetNumVarLabels(file, v, &count), 1);
    std::vector<Label>& labels = s.labels.emplace_back();
    for (int i = 1; i <= count; ++i) {
      double value = 0;
      char label[KVM_LABEL_BUFFER_SIZE] = "", long_label[KVM_LONG_LABEL_BUFFER_SIZE] = "";
      EXPECT_EQ(KvmGetVarLabelByIndex(file, v, i, &value, label, long_label), 1);
      labels.push_back({value, label, long_label});
    }
  }
  s.case_name_length = KvmGetCaseNameLength(file);
  std::vector<double> row(static_cast<std::size_t>(variables));
  for (int c = 1; c <= KvmGetNCases(file); ++c) {
    EXPECT_EQ(KvmGetCaseName(file, c, text, sizeof text), 1);
    s.case_names.emplace_back(text);
    EXPECT_EQ(KvmGetCaseData(file, c, row.data()), 1);
    s.values.insert(s.values.end(), row.begin(), row.end());
  }
  return s;
}

// Little-endian fields appended by hand, independent of the library's writer.
class Image {
 public:
  Image& Text(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  Image& Padded(const std::string& s, std::size_t width, char pad) {
    std::string field = s;
    field.resize(width, pad);
    return Text(field);
  }
  Image& U8(unsigned v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  Image& Little(std::uint64_t v, int size) {
    for (int i = 0; i < size; ++i) U8(static_cast<unsigned>(v >> (8 * i)) & 0xFF);
    return *this;
  }
  Image& I16(int v) { return Little(static_cast<std::uint64_t>(v), 2); }
  Image& I32(std::int64_t v) { return Little(static_cast<std::uint64_t>(v), 4); }
  Image& F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return I32(bits);
  }
  Image& F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return Little(bits, 8);
  }
  Image& Zeros(std::size_t n) {
    bytes.resize(bytes.size() + n, 0);
    return *this;
  }
  // Zeros up to the next multiple of 512, where the data area starts.
  Image& ToDataArea() { return Zeros((512 - bytes.size() % 512) % 512); }
  std::size_t size() const { return bytes.size(); }

  Bytes bytes;
};

// Offsets of the hand-laid file below, worked out from the format's table:
//   0 magic, 4 type, 8 cases, 12 variables, 14 reserved, 16 word 8, 20 L = 8,
//   24 size table (8 x 2 = 16) -> 40 extension block (20) -> 60 header text
//   (80) -> 140 names (2 x 8) -> 156 formats (2 x 2) -> 160 missing codes
//   (2 x 8) -> 176 label counts (2 x 2) -> 180 label entry offsets (2 x 4) ->
//   188 long-label text offsets (3 x 4) -> 200 long-name records (2 + 1 + 14
//   = 17) -> 217 label entries (2 x 14 = 28) -> 245 long-label records
//   (4 + 1 + 12 = 17) -> 262 end of the header sections; the data area
//   starts at 512 (the first multiple of 512 at or after 262); 3 cases of
//   4 + 2 x 8 = 20 bytes end the file at 572.
namespace hand {
inline constexpr std::size_t kExtensionBlock = 40;
inline constexpr std::size_t kLabelCounts = 176;
inline constexpr std::size_t kLongLabelOffsets = 188;
inline constexpr std::size_t kLongNames = 200;
inline constexpr std::size_t kLabelEntries = 217;
inline constexpr std::size_t kLongLabels = 245;
inline constexpr std::size_t kHeaderEnd = 262;
inline constexpr std::size_t kSize = 572;
// Display format of variable 2: width 10 | field2 1 << 6 | decimals 2 << 8 |
// field3 5 << 13 = 10 + 64 + 512 + 40960.
inline constexpr int kFormat2 = 41546;
}  // namespace hand

// Two variables, three cases, case names of 4 bytes, a header text, a long
// name, two labels of variable 1 (the first with a long label).
inline Bytes HandLaidFile() {
  Image f;
  f.Text("ZPL ").I32(-9876).I32(3).I16(2).I16(0).I32(8).I32(8);
  f.I16(20).I16(80).I16(16).I16(4).I16(16).I16(4).I16(8).I16(12);
  f.I32(17).I32(28).I32(17).I32(4).I32(0);
  f.Padded("Hand-made test file", 80, ' ');
  f.Padded("AGE", 8, ' ').Text(std::string("VAR2\0\0\0\0", 8));
  f.I16(776).I16(hand::kFormat2);
  f.F64(-9999.0).F64(-1.0);
  f.I16(2).I16(0);           // label counts
  f.I32(0).I32(28);          // label entry offsets: 0, 0 + 2 x 14
  f.I32(0).I32(17).I32(17);  // long-label text offsets
  f.I16(2).U8(14).Text("Blood pressure");
  f.F32(1.0f).Padded("Young", 8, ' ').I16(0);
  f.F32(2.0f).Padded("Old", 8, ' ').I16(0xFFFF);
  f.F32(1.0f).U8(12).Text("Under thirty");
  f.ToDataArea();
  f.Text(std::string("ANN\0", 4)).F64(1.0).F64(120.5);
  f.Text(std::string("BOB\0", 4)).F64(2.0).F64(-1.0);
  f.Zeros(4).F64(-9999.0).F64(80.0);
  return f.bytes;
}

// What the hand-laid file holds, as a caller reads it.
inline Contents HandLaidContents() {
  return {.header = "Hand-made test file",
          .names = {"AGE", "VAR2"},
          .long_names = {"", "Blood pressure"},
          .formats = {{8, 3, 0, 0}, {10, 2, 1, 5}},
          .codes = {-9999.0, -1.0},
          .labels = {{{1.0, "Young", "Under thirty"}, {2.0, "Old", ""}}, {}},
          .case_name_length = 4,
          .case_names = {"ANN", "BOB", ""},
          .values = {1.0, 120.5, 2.0, -1.0, -9999.0, 80.0}};
}

// Writes the hand-laid file to `path` and opens it.
inline KvmFile* OpenHandLaid(const std::string& path) {
  WriteAll(path, HandLaidFile());
  return KvmOpenFile(path.c_str());
}

}  // namespace kvmtest
