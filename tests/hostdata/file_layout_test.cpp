// The file as bytes: what the library writes must match the format's table
// exactly, and a file laid out by hand from that table must read back whole.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host_file_test_support.h"
#include "kvmdev32.h"

namespace kvmtest {
namespace {

// The hand-laid file's contents made through the interface.
KvmFile* MakeHandLaidContents(const std::string& path) {
  KvmFile* file = KvmCreateFile(2, 3, path.c_str());
  const double case1[] = {1.0, 120.5}, case2[] = {2.0, -1.0}, case3[] = {-9999.0, 80.0};
  const bool ok = file != nullptr && KvmSetFileHeader(file, "Hand-made test file") &&
                  KvmSetVarName(file, 1, "age") && KvmSetVarFormat(file, 2, 10, 2, 1, 5) &&
                  KvmSetVarMD(file, 2, -1.0) && KvmSetVarLongName(file, 2, "Blood pressure") &&
                  KvmAddLabel(file, 1, 1.0, "Young", "Under thirty") &&
                  KvmAddLabel(file, 1, 2.0, "Old", nullptr) && KvmSetCaseNameLength(file, 4) &&
                  KvmSetCaseName(file, 1, "ANN") && KvmSetCaseName(file, 2, "BOB") &&
                  KvmSetCaseData(file, 1, case1) && KvmSetCaseData(file, 2, case2) &&
                  KvmSetCaseData(file, 3, case3);
  EXPECT_TRUE(ok);
  return file;
}

Bytes DoubleBytes(double value) {
  return Image().F64(value).bytes;
}

TEST(KvmFileLayout, FileMadeThroughTheInterfaceMatchesTheHandLaidBytes) {
  ScratchDir dir;
  const std::string path = dir.File("made.kvm");
  KvmFile* file = MakeHandLaidContents(path);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Take(file), HandLaidContents());
  ASSERT_EQ(KvmCloseFile(file), 1);
  const Bytes expected = HandLaidFile();
  ASSERT_EQ(expected.size(), hand::kSize);
  const Bytes written = ReadAll(path);
  ASSERT_EQ(written.size(), expected.size());
  const auto [at, _] = std::mismatch(written.begin(), written.end(), expected.begin());
  EXPECT_EQ(at, written.end()) << "first difference at byte " << at - written.begin();
}

TEST(KvmFileLayout, RewritingAnUnchangedFileReproducesItsBytes) {
  ScratchDir dir;
  const std::string path = dir.File("hand.kvm");
  KvmFile* file = OpenHandLaid(path);
  ASSERT_NE(file, nullptr);
  // Setting the same header marks the header changed, so close rewrites all.
  ASSERT_EQ(KvmSetFileHeader(file, "Hand-made test file"), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);
  EXPECT_EQ(ReadAll(path), HandLaidFile());
}

TEST(KvmFileLayout, SizeTableShrinksWithTheSectionsPresent) {
  ScratchDir dir;
  const std::string path = dir.File("plain.kvm");
  KvmFile* file = KvmCreateFile(1, 1, path.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmAddLabel(file, 1, 5.0, "Five", nullptr), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);
  Bytes bytes = ReadAll(path);
  // Labels without long labels: L = 7, and the table's entries [5], [6] are
  // 1 x 2 and 1 x 4.
  ASSERT_GT(bytes.size(), 40u);
  EXPECT_EQ(bytes[20], 7);
  EXPECT_EQ(bytes[24 + 10], 2);
  EXPECT_EQ(bytes[24 + 12], 4);

  file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmDeleteLabel(file, 1, "Five"), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);
  bytes = ReadAll(path);
  // No labels: L = 5; the header sections are 24 + 10 + 20 + 80 + 8 + 2 + 8
  // = 152 bytes, so the one value sits at 512 and the file is 520 bytes.
  EXPECT_EQ(bytes[20], 5);
  EXPECT_EQ(bytes.size(), 520u);
}

TEST(KvmFileLayout, DataAreaStartsAtTheNextMultipleOf512) {
  struct Row {
    int variables;
    std::size_t second_long_name;
    std::size_t data;  // where the first value starts
  };
  const Row rows[] = {
      // 24 + 10 + 20 + 80 + 40 x (8 + 2 + 8) = 854, plus long-name records
      // of 3 + 128 and 3 + 12: 1000, padded to 1024.
      {40, 12, 1024},
      // 134 + 10 x 18 = 314, plus records of 3 + 128 and 3 + 64: exactly 512.
      {10, 64, 512},
  };
  for (const Row& row : rows) {
    ScratchDir dir;
    const std::string path = dir.File("wide.kvm");
    KvmFile* file = KvmCreateFile(row.variables, 2, path.c_str());
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(KvmSetVarLongName(file, 1, std::string(128, 'a').c_str()), 1);
    ASSERT_EQ(KvmSetVarLongName(file, 2, std::string(row.second_long_name, 'b').c_str()), 1);
    ASSERT_EQ(KvmSetData(file, 1, 1, 7.25), 1);
    ASSERT_EQ(KvmCloseFile(file), 1);
    const Bytes bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), row.data + 2 * row.variables * 8u);
    const std::size_t sections = row.variables == 40 ? 1000 : 512;
    EXPECT_EQ(bytes[sections - 1], 'b');
    EXPECT_TRUE(std::all_of(bytes.begin() + sections, bytes.begin() + row.data,
                            [](std::uint8_t b) { return b == 0; }));
    const Bytes first = DoubleBytes(7.25), second = DoubleBytes(-9999.0);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), bytes.begin() + row.data));
    EXPECT_TRUE(std::equal(second.begin(), second.end(), bytes.begin() + row.data + 8));
  }
}

// A file of another program's type, with L = 5 and a 7-byte extra block.
Bytes ForeignFile(int type) {
  Image f;
  f.Text("ZPL ").I32(type).I32(1).I16(1).I16(0).I32(8).I32(5);
  f.I16(20).I16(80).I16(8).I16(2).I16(8);
  f.I32(0).I32(0).I32(0).I32(0).I32(7);
  f.Padded("", 80, ' ').Padded("X", 8, ' ').I16(776).F64(-9999.0);
  f.Text("EXTRA!!");
  f.ToDataArea().F64(3.5);
  return f.bytes;
}

// The extra block of other programs' types travels with the file; our own
// type has none, and drops it.
TEST(KvmFileLayout, ExtraBlockTravelsWithOtherTypesOnly) {
  ScratchDir dir;
  const std::string path = dir.File("foreign.kvm");
  for (int type : {-9877, -9869, -9858, -9876}) {
    WriteAll(path, ForeignFile(type));
    KvmFile* file = KvmOpenFile(path.c_str());
    ASSERT_NE(file, nullptr) << type;
    ASSERT_EQ(KvmSetData(file, 1, 1, 4.5), 1);
    ASSERT_EQ(KvmCloseFile(file), 1);
    Bytes expected = ForeignFile(type);
    const Bytes value = DoubleBytes(4.5);
    std::copy(value.begin(), value.end(), expected.end() - 8);
    if (type == -9876) {  // no extra block (at 152), its size 0 in the extension block
      std::fill(expected.begin() + 152, expected.begin() + 159, 0);
      expected[24 + 10 + 16] = 0;
    }
    EXPECT_EQ(ReadAll(path), expected) << type;
  }
}

}  // namespace
}  // namespace kvmtest
