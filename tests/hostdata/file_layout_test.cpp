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

// Ten variables, the first two with long names of 128 and 64 bytes, and one
// label without a long label: L = 7, the table's entries [5] and [6] are
// 10 x 2 and 10 x 4; 24 + 14 + 20 + 80 + 10 x (8 + 2 + 8) + 20 + 40 = 378,
// long-name records of 3 + 128 and 3 + 64: 576, one label entry: 590, so the
// data area starts at 1024. Without the label, L = 5 and 134 + 180 + 198 =
// 512 exactly.
TEST(KvmFileLayout, TheSizeTableAndTheDataAreaFollowTheSectionsPresent) {
  ScratchDir dir;
  const std::string path = dir.File("wide.kvm");
  KvmFile* file = KvmCreateFile(10, 2, path.c_str());
  ASSERT_TRUE(file && KvmSetVarLongName(file, 1, std::string(128, 'a').c_str()) &&
              KvmSetVarLongName(file, 2, std::string(64, 'b').c_str()) &&
              KvmAddLabel(file, 1, 5.0, "Five", nullptr) && KvmSetData(file, 1, 1, 7.25));
  ASSERT_EQ(KvmCloseFile(file), 1);
  Bytes bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 1024u + 2 * 10 * 8);
  EXPECT_EQ(bytes[20], 7);
  EXPECT_EQ(bytes[24 + 10], 20);
  EXPECT_EQ(bytes[24 + 12], 40);

  file = KvmOpenFile(path.c_str());
  ASSERT_TRUE(file && KvmDeleteLabel(file, 1, "Five"));
  ASSERT_EQ(KvmCloseFile(file), 1);
  bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 512u + 2 * 10 * 8);
  EXPECT_EQ(bytes[20], 5);
  EXPECT_EQ(bytes[511], 'b');
  const Bytes first = DoubleBytes(7.25), second = DoubleBytes(-9999.0);
  EXPECT_TRUE(std::equal(first.begin(), first.end(), bytes.begin() + 512));
  EXPECT_TRUE(std::equal(second.begin(), second.end(), bytes.begin() + 520));
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
