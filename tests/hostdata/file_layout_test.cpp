// The file as bytes: what the library writes must match the format's table
// exactly, and a file laid out by hand from that table must read back whole.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_file_test_support.h"
#include "kvmdev32.h"

namespace {

using kvmtest::HandLaidFile;
using kvmtest::Image;
using kvmtest::ReadAll;
using kvmtest::ScratchDir;
using kvmtest::WriteAll;
namespace hand = kvmtest::hand;

double Value(KvmFile* file, int variable, int case_number) {
  double value = 0;
  EXPECT_EQ(KvmGetData(file, variable, case_number, &value), 1);
  return value;
}

TEST(KvmFileLayout, FileMadeThroughTheInterfaceMatchesTheHandLaidBytes) {
  ScratchDir dir;
  const std::string path = dir.File("made.kvm");
  KvmFile* file = kvmtest::MakeHandLaidContents(path);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmCloseFile(file), 1);
  const std::vector<std::uint8_t> expected = HandLaidFile();
  ASSERT_EQ(expected.size(), hand::kSize);
  const std::vector<std::uint8_t> written = ReadAll(path);
  ASSERT_EQ(written.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(written[i], expected[i]) << "first difference at byte " << i;
  }
}

TEST(KvmFileLayout, HandLaidFileReadsBackWhole) {
  ScratchDir dir;
  const std::string path = dir.File("hand.kvm");
  WriteAll(path, HandLaidFile());
  KvmFile* file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);

  EXPECT_EQ(KvmGetNVars(file), 2);
  EXPECT_EQ(KvmGetNCases(file), 3);
  EXPECT_EQ(KvmGetCaseNameLength(file), 4);
  char text[KVM_LONG_NAME_BUFFER_SIZE];
  ASSERT_EQ(KvmGetFileHeader(file, text, sizeof text), 1);
  EXPECT_STREQ(text, "Hand-made test file");
  ASSERT_EQ(KvmGetVarName(file, 1, text), 1);
  EXPECT_STREQ(text, "AGE");
  ASSERT_EQ(KvmGetVarName(file, 2, text), 1);
  EXPECT_STREQ(text, "VAR2");
  ASSERT_EQ(KvmGetVarLongName(file, 2, text, sizeof text), 1);
  EXPECT_STREQ(text, "Blood pressure");
  ASSERT_EQ(KvmGetVarLongName(file, 1, text, sizeof text), 1);
  EXPECT_STREQ(text, "");

  int32_t width, decimals, field2, field3;
  ASSERT_EQ(KvmGetVarFormat(file, 2, &width, &decimals, &field2, &field3), 1);
  EXPECT_EQ(width, 10);
  EXPECT_EQ(decimals, 2);
  EXPECT_EQ(field2, 1);
  EXPECT_EQ(field3, 5);
  double codes[2];
  ASSERT_EQ(KvmGetAllMD(file, codes), 1);
  EXPECT_EQ(codes[0], -9999.0);
  EXPECT_EQ(codes[1], -1.0);

  int32_t labels = 0;
  ASSERT_EQ(KvmGetNumVarLabels(file, 1, &labels), 1);
  EXPECT_EQ(labels, 2);
  char label[KVM_LABEL_BUFFER_SIZE];
  char long_label[KVM_LONG_LABEL_BUFFER_SIZE];
  double value = 0;
  ASSERT_EQ(KvmGetVarLabelByIndex(file, 1, 1, &value, label, long_label), 1);
  EXPECT_EQ(value, 1.0);
  EXPECT_STREQ(label, "Young");
  EXPECT_STREQ(long_label, "Under thirty");
  ASSERT_EQ(KvmGetVarLabelByIndex(file, 1, 2, &value, label, long_label), 1);
  EXPECT_EQ(value, 2.0);
  EXPECT_STREQ(label, "Old");
  EXPECT_STREQ(long_label, "");
  ASSERT_EQ(KvmGetNumVarLabels(file, 2, &labels), 1);
  EXPECT_EQ(labels, 0);

  ASSERT_EQ(KvmGetCaseName(file, 2, text, sizeof text), 1);
  EXPECT_STREQ(text, "BOB");
  ASSERT_EQ(KvmGetCaseName(file, 3, text, sizeof text), 1);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(Value(file, 2, 1), 120.5);
  EXPECT_EQ(Value(file, 1, 2), 2.0);
  EXPECT_EQ(Value(file, 1, 3), -9999.0);
  EXPECT_EQ(Value(file, 2, 3), 80.0);
  EXPECT_EQ(KvmCloseFile(file), 1);
}

TEST(KvmFileLayout, RewritingAnUnchangedFileReproducesItsBytes) {
  ScratchDir dir;
  const std::string path = dir.File("hand.kvm");
  WriteAll(path, HandLaidFile());
  KvmFile* file = KvmOpenFile(path.c_str());
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
  std::vector<std::uint8_t> bytes = ReadAll(path);
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

// 40 variables with long names of 128 and 12 bytes: 24 + 10 + 20 + 80 +
// 40 x (8 + 2 + 8) = 854, plus records of 3 + 128 and 3 + 12 = 1000.
TEST(KvmFileLayout, DataAreaStartsAtTheNextMultipleOf512) {
  ScratchDir dir;
  const std::string path = dir.File("wide.kvm");
  KvmFile* file = KvmCreateFile(40, 1, path.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmSetVarLongName(file, 1, std::string(128, 'L').c_str()), 1);
  ASSERT_EQ(KvmSetVarLongName(file, 2, "twelve chars"), 1);
  ASSERT_EQ(KvmSetData(file, 1, 1, 7.25), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);

  const std::vector<std::uint8_t> bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 1024u + 40 * 8);
  EXPECT_EQ(bytes[999], 's');  // last byte of "twelve chars"
  for (std::size_t i = 1000; i < 1024; ++i) EXPECT_EQ(bytes[i], 0) << i;
  Image first_value;
  first_value.F64(7.25);
  EXPECT_TRUE(std::equal(first_value.bytes.begin(), first_value.bytes.end(), bytes.begin() + 1024));
}

// 10 variables: 134 + 180 = 314, long names of 128 and 64 bytes add 131 + 67:
// the sections end exactly at 512, where the data then start.
TEST(KvmFileLayout, SectionsEndingOnTheBoundaryNeedNoPadding) {
  ScratchDir dir;
  const std::string path = dir.File("exact.kvm");
  KvmFile* file = KvmCreateFile(10, 2, path.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmSetVarLongName(file, 1, std::string(128, 'a').c_str()), 1);
  ASSERT_EQ(KvmSetVarLongName(file, 2, std::string(64, 'b').c_str()), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);
  const std::vector<std::uint8_t> bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 512u + 2 * 10 * 8);
  EXPECT_EQ(bytes[511], 'b');
  Image missing;
  missing.F64(-9999.0);
  EXPECT_TRUE(std::equal(missing.bytes.begin(), missing.bytes.end(), bytes.begin() + 512));
}

// A file of another program's type, with L = 5 and a 7-byte extra block.
std::vector<std::uint8_t> ForeignFile(int type) {
  Image f;
  f.Text("ZPL ").I32(type).I32(1).I16(1).I16(0).I32(8).I32(5);
  f.I16(20).I16(80).I16(8).I16(2).I16(8);
  f.I32(0).I32(0).I32(0).I32(0).I32(7);
  f.Padded("", 80, ' ').Padded("X", 8, ' ').I16(776).F64(-9999.0);
  f.Text("EXTRA!!");
  f.Zeros(512 - f.size()).F64(3.5);
  return f.bytes;
}

TEST(KvmFileLayout, ExtraBlockOfOtherFileTypesTravelsWithTheFile) {
  ScratchDir dir;
  const std::string path = dir.File("foreign.kvm");
  for (int type : {-9877, -9869, -9858}) {
    WriteAll(path, ForeignFile(type));
    KvmFile* file = KvmOpenFile(path.c_str());
    ASSERT_NE(file, nullptr) << type;
    EXPECT_EQ(KvmGetData(file, 1, 1, nullptr), 0);
    ASSERT_EQ(KvmSetData(file, 1, 1, 4.5), 1);
    ASSERT_EQ(KvmCloseFile(file), 1);
    std::vector<std::uint8_t> expected = ForeignFile(type);
    Image value;
    value.F64(4.5);
    std::copy(value.bytes.begin(), value.bytes.end(), expected.begin() + 512);
    EXPECT_EQ(ReadAll(path), expected) << type;
  }
}

TEST(KvmFileLayout, ExtraBlockOfOurOwnTypeIsDropped) {
  ScratchDir dir;
  const std::string path = dir.File("own.kvm");
  WriteAll(path, ForeignFile(-9876));
  KvmFile* file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmSetFileHeader(file, ""), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);
  const std::vector<std::uint8_t> bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 520u);
  EXPECT_EQ(bytes[34 + 16], 0);  // extra block size in the extension block
  double value = 0;
  file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmGetData(file, 1, 1, &value), 1);
  EXPECT_EQ(value, 3.5);
  KvmCloseFile(file);
}

}  // namespace
