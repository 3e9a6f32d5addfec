// Creating, editing, closing and reopening files through the interface.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <string>
#include <vector>

#include "host_file_test_support.h"
#include "kvmdev32.h"

namespace {

using kvmtest::ReadAll;
using kvmtest::ScratchDir;
using kvmtest::WriteAll;

std::string Name(KvmFile* file, int variable) {
  char name[KVM_NAME_BUFFER_SIZE];
  if (KvmGetVarName(file, variable, name) != 1) return "<refused>";
  return name;
}

std::vector<std::string> Names(KvmFile* file) {
  std::vector<std::string> names;
  for (int v = 1; v <= KvmGetNVars(file); ++v) names.push_back(Name(file, v));
  return names;
}

double Value(KvmFile* file, int variable, int case_number) {
  double value = NAN;
  EXPECT_EQ(KvmGetData(file, variable, case_number, &value), 1) << variable << "," << case_number;
  return value;
}

std::string CaseName(KvmFile* file, int case_number) {
  char name[KVM_CASE_NAME_BUFFER_SIZE];
  if (KvmGetCaseName(file, case_number, name, sizeof name) != 1) return "<refused>";
  return name;
}

// Fills value (v, c) with 100 v + c so moved values are recognisable.
void Number(KvmFile* file) {
  for (int c = 1; c <= KvmGetNCases(file); ++c) {
    for (int v = 1; v <= KvmGetNVars(file); ++v) ASSERT_EQ(KvmSetData(file, v, c, 100 * v + c), 1);
  }
}

TEST(KvmNewFile, HasGeneratedNamesDefaultFormatAndMissingValues) {
  ScratchDir dir;
  const std::string path = dir.File("new.kvm");
  KvmFile* file = KvmCreateFile(3, 2, path.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmCloseFile(file), 1);

  file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(KvmDevVersion(), 2);
  EXPECT_EQ(KvmGetNVars(file), 3);
  EXPECT_EQ(KvmGetNCases(file), 2);
  EXPECT_EQ(Names(file), (std::vector<std::string>{"VAR1", "VAR2", "VAR3"}));
  for (int v = 1; v <= 3; ++v) {
    int32_t width = -1, decimals = -1, field2 = -1, field3 = -1;
    ASSERT_EQ(KvmGetVarFormat(file, v, &width, &decimals, &field2, &field3), 1);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(decimals, 3);
    EXPECT_EQ(field2, 0);
    EXPECT_EQ(field3, 0);
    for (int c = 1; c <= 2; ++c) EXPECT_EQ(Value(file, v, c), -9999.0);
  }
  EXPECT_EQ(KvmGetCaseNameLength(file), 0);
  EXPECT_EQ(KvmCloseFile(file), 1);
}

TEST(KvmNewFile, RefusesImpossibleSizesAndPaths) {
  ScratchDir dir;
  const std::string path = dir.File("bad.kvm");
  EXPECT_EQ(KvmCreateFile(0, 1, path.c_str()), nullptr);
  EXPECT_EQ(KvmCreateFile(4093, 1, path.c_str()), nullptr);
  EXPECT_EQ(KvmCreateFile(1, 0, path.c_str()), nullptr);
  EXPECT_EQ(KvmCreateFile(1, -5, path.c_str()), nullptr);
  EXPECT_EQ(KvmCreateFile(1, 1, nullptr), nullptr);
  errno = -1;
  EXPECT_EQ(KvmCreateFile(1, 1, ""), nullptr);
  EXPECT_EQ(errno, 0);
  EXPECT_EQ(KvmCreateFile(1, 1, (dir.data_dir() / "missing" / "x.kvm").c_str()), nullptr);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(dir.DataDirFiles(), 0u);
  EXPECT_EQ(dir.WorkingFiles(), 0u);

  KvmFile* file = KvmCreateFile(4092, 1, path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Name(file, 4092), "VAR4092");
  EXPECT_EQ(KvmAddVars(file, 0, 1), 0);
  EXPECT_EQ(KvmCloseFile(file), 1);
}

TEST(KvmNewFile, ExistingFileStaysIntactUntilClose) {
  ScratchDir dir;
  const std::string path = dir.File("old.kvm");
  const std::vector<std::uint8_t> old_bytes = kvmtest::HandLaidFile();
  WriteAll(path, old_bytes);
  KvmFile* file = KvmCreateFile(1, 1, path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ReadAll(path), old_bytes);
  ASSERT_EQ(KvmCloseFile(file), 1);
  file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(KvmGetNVars(file), 1);
  EXPECT_EQ(KvmCloseFile(file), 1);
}

TEST(KvmAddVars, NamesNewVariablesFromOneInEachAddition) {
  ScratchDir dir;
  KvmFile* file = KvmCreateFile(1, 1, dir.File("a.kvm").c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmAddVars(file, 1, 10), 1);
  ASSERT_EQ(KvmGetNVars(file), 11);
  EXPECT_EQ(Name(file, 2), "NEWVAR1");
  EXPECT_EQ(Name(file, 10), "NEWVAR9");
  EXPECT_EQ(Name(file, 11), "NEWVAR10");
  // A second addition counts from 1 again; "NEWVAR" + "100" is nine bytes, so
  // the prefix gives up its last letter.
  ASSERT_EQ(KvmAddVars(file, 0, 100), 1);
  EXPECT_EQ(Name(file, 1), "NEWVAR1");
  EXPECT_EQ(Name(file, 99), "NEWVAR99");
  EXPECT_EQ(Name(file, 100), "NEWVA100");
  EXPECT_EQ(Name(file, 101), "VAR1");
  KvmCloseFile(file);
}

TEST(KvmAddVars, InsertsAfterTheGivenVariableWithMissingValues) {
  ScratchDir dir;
  const std::string path = dir.File("a.kvm");
  KvmFile* file = KvmCreateFile(3, 2, path.c_str());
  ASSERT_NE(file, nullptr);
  Number(file);
  ASSERT_EQ(KvmSetCaseNameLength(file, 3), 1);
  ASSERT_EQ(KvmSetCaseName(file, 2, "two"), 1);
  ASSERT_EQ(KvmAddVars(file, 1, 2), 1);
  EXPECT_EQ(Names(file), (std::vector<std::string>{"VAR1", "NEWVAR1", "NEWVAR2", "VAR2", "VAR3"}));
  for (int c = 1; c <= 2; ++c) {
    EXPECT_EQ(Value(file, 1, c), 100 + c);
    EXPECT_EQ(Value(file, 2, c), -9999.0);
    EXPECT_EQ(Value(file, 3, c), -9999.0);
    EXPECT_EQ(Value(file, 4, c), 200 + c);
    EXPECT_EQ(Value(file, 5, c), 300 + c);
  }
  EXPECT_EQ(CaseName(file, 2), "two");
  EXPECT_EQ(KvmAddVars(file, 6, 1), 0);
  EXPECT_EQ(KvmAddVars(file, -1, 1), 0);
  EXPECT_EQ(KvmAddVars(file, 5, 0), 0);
  EXPECT_EQ(KvmGetNVars(file), 5);
  ASSERT_EQ(KvmCloseFile(file), 1);

  file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Value(file, 4, 2), 202);
  EXPECT_EQ(Name(file, 3), "NEWVAR2");
  KvmCloseFile(file);
}

TEST(KvmDeleteVars, RemovesValuesNamesAndLabelsOfTheRange) {
  ScratchDir dir;
  KvmFile* file = KvmCreateFile(4, 2, dir.File("d.kvm").c_str());
  ASSERT_NE(file, nullptr);
  Number(file);
  ASSERT_EQ(KvmAddLabel(file, 4, 1.0, "one", nullptr), 1);
  ASSERT_EQ(KvmSetVarMD(file, 4, -7.0), 1);
  ASSERT_EQ(KvmDeleteVars(file, 2, 3), 1);
  EXPECT_EQ(Names(file), (std::vector<std::string>{"VAR1", "VAR4"}));
  EXPECT_EQ(Value(file, 1, 2), 102);
  EXPECT_EQ(Value(file, 2, 1), 401);
  double code = 0;
  ASSERT_EQ(KvmGetVarMD(file, 2, &code), 1);
  EXPECT_EQ(code, -7.0);
  char label[KVM_LABEL_BUFFER_SIZE];
  ASSERT_EQ(KvmGetLabelForValue(file, 2, 1.0, label), 1);
  EXPECT_STREQ(label, "one");

  EXPECT_EQ(KvmDeleteVars(file, 1, 2), 0);  // every variable
  EXPECT_EQ(KvmDeleteVars(file, 2, 1), 0);
  EXPECT_EQ(KvmDeleteVars(file, 0, 1), 0);
  EXPECT_EQ(KvmDeleteVars(file, 2, 3), 0);
  EXPECT_EQ(KvmGetNVars(file), 2);
  KvmCloseFile(file);
}

TEST(KvmCases, InsertAndDeleteKeepTheOtherCasesAndTheirNames) {
  ScratchDir dir;
  const std::string path = dir.File("c.kvm");
  KvmFile* file = KvmCreateFile(2, 3, path.c_str());
  ASSERT_NE(file, nullptr);
  Number(file);
  ASSERT_EQ(KvmSetVarMD(file, 2, -5.0), 1);
  ASSERT_EQ(KvmSetCaseNameLength(file, 6), 1);
  ASSERT_EQ(KvmSetCaseName(file, 1, "first"), 1);
  ASSERT_EQ(KvmSetCaseName(file, 3, "third"), 1);

  ASSERT_EQ(KvmAddCases(file, 1, 2), 1);
  ASSERT_EQ(KvmGetNCases(file), 5);
  EXPECT_EQ(CaseName(file, 1), "first");
  EXPECT_EQ(CaseName(file, 2), "");
  EXPECT_EQ(Value(file, 1, 2), -9999.0);
  EXPECT_EQ(Value(file, 2, 3), -5.0);  // each variable's own code
  EXPECT_EQ(Value(file, 2, 4), 202);
  EXPECT_EQ(CaseName(file, 5), "third");

  ASSERT_EQ(KvmAddCases(file, 0, 1), 1);
  EXPECT_EQ(Value(file, 1, 1), -9999.0);
  EXPECT_EQ(Value(file, 1, 2), 101);

  ASSERT_EQ(KvmDeleteCases(file, 1, 4), 1);
  ASSERT_EQ(KvmGetNCases(file), 2);
  EXPECT_EQ(Value(file, 2, 1), 202);
  EXPECT_EQ(CaseName(file, 2), "third");

  EXPECT_EQ(KvmDeleteCases(file, 1, 2), 0);  // every case
  EXPECT_EQ(KvmDeleteCases(file, 3, 3), 0);
  EXPECT_EQ(KvmAddCases(file, 3, 1), 0);
  EXPECT_EQ(KvmAddCases(file, 2, 0), 0);
  EXPECT_EQ(KvmAddCases(file, 2, 2147483647), 0);
  ASSERT_EQ(KvmCloseFile(file), 1);

  file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(KvmGetNCases(file), 2);
  EXPECT_EQ(Value(file, 1, 2), 103);
  EXPECT_EQ(CaseName(file, 2), "third");
  KvmCloseFile(file);
}

TEST(KvmCases, CaseNameLengthChangeCutsAndPads) {
  ScratchDir dir;
  KvmFile* file = KvmCreateFile(1, 2, dir.File("n.kvm").c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(KvmSetCaseName(file, 1, "x"), 0);  // no room for names yet
  ASSERT_EQ(KvmSetCaseNameLength(file, 20), 1);
  ASSERT_EQ(KvmSetCaseName(file, 1, "a name longer than twenty"), 1);
  EXPECT_EQ(CaseName(file, 1), "a name longer than t");
  ASSERT_EQ(KvmSetData(file, 1, 1, 3.0), 1);
  ASSERT_EQ(KvmSetCaseNameLength(file, 4), 1);
  EXPECT_EQ(CaseName(file, 1), "a na");
  EXPECT_EQ(Value(file, 1, 1), 3.0);
  ASSERT_EQ(KvmSetCaseNameLength(file, 8), 1);
  EXPECT_EQ(CaseName(file, 1), "a na");  // padded with zeros, not blanks
  EXPECT_EQ(KvmSetCaseNameLength(file, 21), 0);
  EXPECT_EQ(KvmSetCaseNameLength(file, -1), 0);
  EXPECT_EQ(KvmGetCaseNameLength(file), 8);
  char small[3];
  ASSERT_EQ(KvmGetCaseName(file, 1, small, sizeof small), 1);
  EXPECT_STREQ(small, "a ");
  EXPECT_EQ(KvmGetCaseName(file, 1, small, 0), 0);
  EXPECT_EQ(KvmGetCaseName(file, 3, small, sizeof small), 0);
  KvmCloseFile(file);
}

TEST(KvmData, CaseValuesAndSingleValuesMeet) {
  ScratchDir dir;
  const std::string path = dir.File("v.kvm");
  KvmFile* file = KvmCreateFile(3, 2, path.c_str());
  ASSERT_NE(file, nullptr);
  const double row[] = {1.5, -2.25, 1e300};
  ASSERT_EQ(KvmSetCaseData(file, 2, row), 1);
  EXPECT_EQ(Value(file, 3, 2), 1e300);
  ASSERT_EQ(KvmSetData(file, 2, 2, 0.125), 1);
  double back[3];
  ASSERT_EQ(KvmGetCaseData(file, 2, back), 1);
  EXPECT_EQ(back[0], 1.5);
  EXPECT_EQ(back[1], 0.125);
  EXPECT_EQ(back[2], 1e300);

  double untouched = 42;
  EXPECT_EQ(KvmGetData(file, 4, 1, &untouched), 0);
  EXPECT_EQ(KvmGetData(file, 0, 1, &untouched), 0);
  EXPECT_EQ(KvmGetData(file, 1, 3, &untouched), 0);
  EXPECT_EQ(KvmGetData(file, 1, 0, &untouched), 0);
  EXPECT_EQ(untouched, 42);
  EXPECT_EQ(KvmSetData(file, 1, 3, 1.0), 0);
  EXPECT_EQ(KvmSetCaseData(file, 0, row), 0);
  EXPECT_EQ(KvmSetCaseData(file, 1, nullptr), 0);
  EXPECT_EQ(KvmGetCaseData(file, 1, nullptr), 0);
  ASSERT_EQ(KvmCloseFile(file), 1);

  file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmGetCaseData(file, 2, back), 1);
  EXPECT_EQ(back[1], 0.125);
  EXPECT_EQ(Value(file, 1, 1), -9999.0);
  KvmCloseFile(file);
}

TEST(KvmData, ValuesStayInTheFileUntilTheFirstChange) {
  ScratchDir dir;
  const std::string path = dir.File("hand.kvm");
  WriteAll(path, kvmtest::HandLaidFile());
  KvmFile* file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Value(file, 2, 1), 120.5);
  EXPECT_EQ(dir.WorkingFiles(), 0u);
  ASSERT_EQ(KvmSetData(file, 2, 1, 99.0), 1);
  EXPECT_EQ(dir.WorkingFiles(), 0u);                           // the working copy has no name
  EXPECT_EQ(kvmtest::ReadAll(path), kvmtest::HandLaidFile());  // not yet written
  ASSERT_EQ(KvmCloseFile(file), 1);
  EXPECT_EQ(dir.WorkingFiles(), 0u);
  EXPECT_EQ(dir.DataDirFiles(), 1u);
  file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Value(file, 2, 1), 99.0);
  EXPECT_EQ(Value(file, 2, 3), 80.0);
  KvmCloseFile(file);
}

// Working files have no name, so none can be left in $TMPDIR, however the
// process ends. Opens the hand-laid file and a new one and edits both in
// every way that makes a working file.
std::vector<KvmFile*> OpenEditAndCreate(const ScratchDir& dir) {
  KvmFile* file = KvmOpenFile(dir.File("hand.kvm").c_str());
  EXPECT_NE(file, nullptr);
  EXPECT_EQ(KvmSetData(file, 2, 1, 99.0), 1);
  EXPECT_EQ(KvmAddCases(file, 1, 1000), 1);
  EXPECT_EQ(KvmAddVars(file, 0, 3), 1);
  EXPECT_EQ(KvmSetCaseNameLength(file, 12), 1);
  EXPECT_EQ(KvmDeleteCases(file, 2, 10), 1);
  KvmFile* fresh = KvmCreateFile(5, 500, dir.File("fresh.kvm").c_str());
  EXPECT_NE(fresh, nullptr);
  EXPECT_EQ(KvmSetData(fresh, 1, 1, 1.0), 1);
  return {file, fresh};
}

TEST(KvmWorkingFiles, NoneIsVisibleWhileFilesAreEdited) {
  ScratchDir dir;
  WriteAll(dir.File("hand.kvm"), kvmtest::HandLaidFile());
  const std::vector<KvmFile*> files = OpenEditAndCreate(dir);
  EXPECT_EQ(dir.WorkingFiles(), 0u);
  for (KvmFile* file : files) EXPECT_EQ(KvmCloseFile(file), 1);
  EXPECT_EQ(dir.WorkingFiles(), 0u);
  EXPECT_EQ(dir.DataDirFiles(), 2u);
}

TEST(KvmWorkingFiles, NoneIsLeftWhenTheProcessIsKilled) {
  ScratchDir dir;
  WriteAll(dir.File("hand.kvm"), kvmtest::HandLaidFile());
  // The child is forked here, with this test's directories.
  EXPECT_EXIT(
      {
        OpenEditAndCreate(dir);
        std::raise(SIGKILL);
      },
      ::testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(dir.WorkingFiles(), 0u);
  // The data file as it was, and the new file that KvmCreateFile made empty.
  EXPECT_EQ(ReadAll(dir.File("hand.kvm")), kvmtest::HandLaidFile());
  EXPECT_EQ(dir.DataDirFiles(), 2u);
}

TEST(KvmHeader, IsCutToEightyAndReadBackWithoutPadding) {
  ScratchDir dir;
  KvmFile* file = KvmCreateFile(1, 1, dir.File("h.kvm").c_str());
  ASSERT_NE(file, nullptr);
  char header[KVM_HEADER_BUFFER_SIZE];
  ASSERT_EQ(KvmGetFileHeader(file, header, sizeof header), 1);
  EXPECT_STREQ(header, "");
  const std::string long_text(100, 'h');
  ASSERT_EQ(KvmSetFileHeader(file, long_text.c_str()), 1);
  ASSERT_EQ(KvmGetFileHeader(file, header, sizeof header), 1);
  EXPECT_EQ(std::string(header), long_text.substr(0, 80));
  char small[5];
  ASSERT_EQ(KvmGetFileHeader(file, small, sizeof small), 1);
  EXPECT_STREQ(small, "hhhh");
  EXPECT_EQ(KvmSetFileHeader(file, nullptr), 0);
  EXPECT_EQ(KvmGetFileHeader(file, nullptr, 10), 0);
  KvmCloseFile(file);
}

TEST(KvmVariables, LongNamesFormatsAndCodes) {
  ScratchDir dir;
  const std::string path = dir.File("f.kvm");
  KvmFile* file = KvmCreateFile(2, 1, path.c_str());
  ASSERT_NE(file, nullptr);
  const std::string long_name(200, 'n');
  ASSERT_EQ(KvmSetVarLongName(file, 1, long_name.c_str()), 1);
  ASSERT_EQ(KvmSetVarLongName(file, 2, "temporary"), 1);
  ASSERT_EQ(KvmSetVarLongName(file, 2, ""), 1);  // removes it
  ASSERT_EQ(KvmSetVarFormat(file, 2, 63, 31, 3, 7), 1);
  EXPECT_EQ(KvmSetVarFormat(file, 2, 64, 0, 0, 0), 0);
  EXPECT_EQ(KvmSetVarFormat(file, 2, 0, 32, 0, 0), 0);
  EXPECT_EQ(KvmSetVarFormat(file, 2, 0, 0, 4, 0), 0);
  EXPECT_EQ(KvmSetVarFormat(file, 2, 0, 0, 0, 8), 0);
  EXPECT_EQ(KvmSetVarFormat(file, 2, -1, 0, 0, 0), 0);
  ASSERT_EQ(KvmSetVarMD(file, 1, 1e-300), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);

  file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  char text[KVM_LONG_NAME_BUFFER_SIZE];
  ASSERT_EQ(KvmGetVarLongName(file, 1, text, sizeof text), 1);
  EXPECT_EQ(std::string(text), long_name.substr(0, 128));
  ASSERT_EQ(KvmGetVarLongName(file, 2, text, sizeof text), 1);
  EXPECT_STREQ(text, "");
  int32_t width, decimals, field2, field3;
  ASSERT_EQ(KvmGetVarFormat(file, 2, &width, &decimals, &field2, &field3), 1);
  EXPECT_EQ(width, 63);
  EXPECT_EQ(decimals, 31);
  EXPECT_EQ(field2, 3);
  EXPECT_EQ(field3, 7);
  EXPECT_EQ(KvmGetVarFormat(file, 2, &width, nullptr, &field2, &field3), 0);
  double codes[2];
  ASSERT_EQ(KvmGetAllMD(file, codes), 1);
  EXPECT_EQ(codes[0], 1e-300);
  EXPECT_EQ(codes[1], -9999.0);
  EXPECT_EQ(KvmGetVarMD(file, 3, codes), 0);
  EXPECT_EQ(KvmGetAllMD(file, nullptr), 0);
  KvmCloseFile(file);
}

TEST(KvmClose, UnchangedFileIsNotRewritten) {
  ScratchDir dir;
  const std::string path = dir.File("same.kvm");
  WriteAll(path, kvmtest::HandLaidFile());
  struct stat before {
  }, after{};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  KvmFile* file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  double value;
  ASSERT_EQ(KvmGetData(file, 1, 1, &value), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(dir.DataDirFiles(), 1u);
}

TEST(KvmClose, WriteBackKeepsPermissionsAndFollowsLinks) {
  ScratchDir dir;
  const std::string target = dir.File("target.kvm");
  const std::string link = dir.File("link.kvm");
  WriteAll(target, kvmtest::HandLaidFile());
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  KvmFile* file = KvmOpenFile(link.c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmSetData(file, 1, 1, 5.0), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);

  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(dir.DataDirFiles(), 2u);
  file = KvmOpenFile(target.c_str());
  ASSERT_NE(file, nullptr);
  double value = 0;
  ASSERT_EQ(KvmGetData(file, 1, 1, &value), 1);
  EXPECT_EQ(value, 5.0);
  KvmCloseFile(file);
}

TEST(KvmHandles, BogusClosedAndNullHandlesAreRefusedWithoutBeingRead) {
  ScratchDir dir;
  // Looks like an object to anything that only checks the magic.
  alignas(16) char fake[4096] = {'Z', 'P', 'L', ' '};
  KvmFile* bogus = reinterpret_cast<KvmFile*>(fake);
  KvmFile* file = KvmCreateFile(1, 1, dir.File("h.kvm").c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmCloseFile(file), 1);
  KvmFile* closed = file;  // never read through: only compared with live handles

  for (KvmFile* handle : {bogus, closed, static_cast<KvmFile*>(nullptr)}) {
    double value = 0;
    int32_t count = 0;
    char text[KVM_LONG_NAME_BUFFER_SIZE] = "";
    EXPECT_EQ(KvmGetNVars(handle), 0);
    EXPECT_EQ(KvmGetNCases(handle), 0);
    EXPECT_EQ(KvmGetCaseNameLength(handle), -1);
    EXPECT_EQ(KvmGetData(handle, 1, 1, &value), 0);
    EXPECT_EQ(KvmSetData(handle, 1, 1, 1.0), 0);
    EXPECT_EQ(KvmGetVarName(handle, 1, text), 0);
    EXPECT_EQ(KvmGetNumVarLabels(handle, 1, &count), 0);
    EXPECT_EQ(KvmAddVars(handle, 0, 1), 0);
    EXPECT_EQ(KvmSetFileHeader(handle, "x"), 0);
    errno = -1;
    EXPECT_EQ(KvmCloseFile(handle), 0);
    EXPECT_EQ(errno, 0);
  }
  EXPECT_EQ(fake[4], 0);
}

// Opens `path` expecting a refusal; gives the errno it leaves.
int OpenRefusal(const char* path) {
  errno = -1;
  EXPECT_EQ(KvmOpenFile(path), nullptr) << (path ? path : "null");
  return errno;
}

TEST(KvmOpen, RefusesWhatIsNotADataFileWithTheReasonInErrno) {
  ScratchDir dir;
  EXPECT_EQ(OpenRefusal(nullptr), 0);
  EXPECT_EQ(OpenRefusal(""), 0);
  EXPECT_EQ(OpenRefusal(dir.File("absent.kvm").c_str()), ENOENT);
  EXPECT_EQ(OpenRefusal(dir.data_dir().c_str()), EISDIR);
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(OpenRefusal(fifo.c_str()), 0);  // must not wait for a writer
  const std::string text = dir.File("text.kvm");
  WriteAll(text, std::vector<std::uint8_t>(600, 'x'));
  EXPECT_EQ(OpenRefusal(text.c_str()), 0);
  EXPECT_EQ(dir.WorkingFiles(), 0u);
}

TEST(KvmHandles, SeveralFilesOpenAtOnceStaySeparate) {
  ScratchDir dir;
  KvmFile* a = KvmCreateFile(1, 1, dir.File("a.kvm").c_str());
  KvmFile* b = KvmCreateFile(2, 2, dir.File("b.kvm").c_str());
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(KvmSetData(a, 1, 1, 1.0), 1);
  ASSERT_EQ(KvmSetData(b, 1, 1, 2.0), 1);
  EXPECT_EQ(Value(a, 1, 1), 1.0);
  EXPECT_EQ(Value(b, 1, 1), 2.0);
  EXPECT_EQ(KvmCloseFile(a), 1);
  EXPECT_EQ(Value(b, 1, 1), 2.0);
  EXPECT_EQ(KvmCloseFile(b), 1);
}

}  // namespace
