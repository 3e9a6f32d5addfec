#pragma once

// Shared by the host data file tests: a scratch directory that is also the
// working directory for temporary files, whole-file helpers, and a small file
// laid out byte by byte from the format's table.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

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
  fs::path work_dir() const { return root_ / "work"; }

  static std::size_t Count(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }
  std::size_t WorkingFiles() const { return Count(work_dir()); }
  std::size_t DataDirFiles() const { return Count(data_dir()); }

 private:
  fs::path root_;
  std::string old_tmpdir_;
};

inline std::vector<std::uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
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
  Image& I16(int v) {
    return U8(static_cast<unsigned>(v) & 0xFF).U8((static_cast<unsigned>(v) >> 8) & 0xFF);
  }
  Image& I32(std::int64_t v) {
    for (int i = 0; i < 4; ++i)
      U8(static_cast<unsigned>(static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
    return *this;
  }
  Image& F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return I32(bits);
  }
  Image& F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i) U8(static_cast<unsigned>(bits >> (8 * i)) & 0xFF);
    return *this;
  }
  Image& Zeros(std::size_t n) {
    bytes.resize(bytes.size() + n, 0);
    return *this;
  }
  std::size_t size() const { return bytes.size(); }

  std::vector<std::uint8_t> bytes;
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
inline constexpr std::size_t kNames = 140;
inline constexpr std::size_t kLabelCounts = 176;
inline constexpr std::size_t kLongLabelOffsets = 188;
inline constexpr std::size_t kLongNames = 200;
inline constexpr std::size_t kLabelEntries = 217;
inline constexpr std::size_t kLongLabels = 245;
inline constexpr std::size_t kHeaderEnd = 262;
inline constexpr std::size_t kData = 512;
inline constexpr std::size_t kSize = 572;
// Display format of variable 2: width 10 | field2 1 << 6 | decimals 2 << 8 |
// field3 5 << 13 = 10 + 64 + 512 + 40960.
inline constexpr int kFormat2 = 41546;
}  // namespace hand

// Two variables, three cases, case names of 4 bytes, a header text, a long
// name, two labels of variable 1 (the first with a long label).
inline std::vector<std::uint8_t> HandLaidFile() {
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
  f.Zeros(hand::kData - f.size());
  f.Text(std::string("ANN\0", 4)).F64(1.0).F64(120.5);
  f.Text(std::string("BOB\0", 4)).F64(2.0).F64(-1.0);
  f.Zeros(4).F64(-9999.0).F64(80.0);
  return f.bytes;
}

// The same contents made through the interface.
inline KvmFile* MakeHandLaidContents(const std::string& path) {
  KvmFile* file = KvmCreateFile(2, 3, path.c_str());
  if (file == nullptr) return nullptr;
  bool ok = KvmSetFileHeader(file, "Hand-made test file") && KvmSetVarName(file, 1, "age") &&
            KvmSetVarFormat(file, 2, 10, 2, 1, 5) && KvmSetVarMD(file, 2, -1.0) &&
            KvmSetVarLongName(file, 2, "Blood pressure") &&
            KvmAddLabel(file, 1, 1.0, "Young", "Under thirty") &&
            KvmAddLabel(file, 1, 2.0, "Old", nullptr) && KvmSetCaseNameLength(file, 4) &&
            KvmSetCaseName(file, 1, "ANN") && KvmSetCaseName(file, 2, "BOB");
  const double case1[] = {1.0, 120.5}, case2[] = {2.0, -1.0}, case3[] = {-9999.0, 80.0};
  ok = ok && KvmSetCaseData(file, 1, case1) && KvmSetCaseData(file, 2, case2) &&
       KvmSetCaseData(file, 3, case3);
  if (!ok) {
    KvmCloseFile(file);
    return nullptr;
  }
  return file;
}

}  // namespace kvmtest
