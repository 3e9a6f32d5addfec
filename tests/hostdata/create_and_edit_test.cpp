// Creating, editing, closing and reopening files through the interface: a new
// file's defaults, the structural edits as a table, what setters store before
// and after the write-back, refused calls that change nothing, the write-back
// itself, working files that leave no trace, and handles.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "host_file_test_support.h"
#include "kvmdev32.h"

namespace kvmtest {
namespace {

constexpr double M = -9999.0;  // the default missing-data code

// Closes the file and opens it again.
KvmFile* Reopened(KvmFile* file, const std::string& path) {
  EXPECT_EQ(KvmCloseFile(file), 1);
  return KvmOpenFile(path.c_str());
}

std::string Name(KvmFile* file, int variable) {
  char name[KVM_NAME_BUFFER_SIZE] = "";
  EXPECT_EQ(KvmGetVarName(file, variable, name), 1) << variable;
  return name;
}

// 3 variables x 3 cases, value (v, c) = 100 v + c, variable 2 with code -5,
// cases named "first", "" and "third" in 6 bytes.
KvmFile* Numbered(const std::string& path) {
  KvmFile* file = KvmCreateFile(3, 3, path.c_str());
  bool ok = file != nullptr && KvmSetVarMD(file, 2, -5.0) && KvmSetCaseNameLength(file, 6) &&
            KvmSetCaseName(file, 1, "first") && KvmSetCaseName(file, 3, "third");
  for (int c = 1; c <= 3; ++c) {
    for (int v = 1; v <= 3; ++v) ok = ok && KvmSetData(file, v, c, 100 * v + c);
  }
  EXPECT_TRUE(ok);
  return file;
}

TEST(KvmNewFile, RefusesImpossibleSizesAndPathsLeavingNothing) {
  ScratchDir dir;
  const std::string path = dir.File("bad.kvm");
  const std::string in_no_directory = (dir.data_dir() / "missing" / "x.kvm").string();
  struct Row {
    std::int32_t variables, cases;
    const char* path;
    int reason;
  };
  const Row rows[] = {{0, 1, path.c_str(), 0},
                      {4093, 1, path.c_str(), 0},
                      {1, 0, path.c_str(), 0},
                      {1, -5, path.c_str(), 0},
                      {1, 1, nullptr, 0},
                      {1, 1, "", 0},
                      {1, 1, in_no_directory.c_str(), ENOENT}};
  for (const Row& row : rows) {
    errno = -1;
    EXPECT_EQ(KvmCreateFile(row.variables, row.cases, row.path), nullptr) << row.variables;
    EXPECT_EQ(errno, row.reason) << row.variables << " " << row.cases;
  }
  EXPECT_EQ(dir.DataDirFiles(), 0u);
  EXPECT_EQ(dir.WorkingFiles(), 0u);

  KvmFile* file = KvmCreateFile(4092, 1, path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Name(file, 4092), "VAR4092");
  EXPECT_EQ(KvmAddVars(file, 0, 1), 0);
  EXPECT_EQ(KvmSetCaseName(file, 1, "x"), 0);  // no room for names
  EXPECT_EQ(KvmCloseFile(file), 1);
}

// The names (with codes other than the default), then per case its name
// ("-" for none) and values ("M" for the default code): "VAR1 VAR2(-5) | - 1 M".
std::string Summary(KvmFile* file) {
  const Contents c = Take(file);
  const auto number = [](double x) {
    std::ostringstream text;
    text << ' ';
    if (x == M) {
      text << 'M';
    } else {
      text << x;
    }
    return text.str();
  };
  std::string summary;
  for (std::size_t v = 0; v < c.names.size(); ++v) {
    summary += (v ? " " : "") + c.names[v];
    if (c.codes[v] != M) summary += "(" + number(c.codes[v]).substr(1) + ")";
  }
  for (std::size_t k = 0; k < c.case_names.size(); ++k) {
    summary += " | " + (c.case_names[k].empty() ? "-" : c.case_names[k]) + ":";
    for (std::size_t v = 0; v < c.names.size(); ++v) {
      summary += number(c.values[k * c.names.size() + v]);
    }
  }
  return summary;
}

// Each edit of the numbered file, and what it holds then and after the
// write-back.
TEST(KvmEdits, StructuralEditsMoveValuesNamesAndCodesAlong) {
  using Edit = std::function<std::int32_t(KvmFile*)>;
  const std::pair<Edit, std::string> rows[] = {
      {[](KvmFile* f) { return KvmAddVars(f, 1, 2); },
       "VAR1 NEWVAR1 NEWVAR2 VAR2(-5) VAR3 | first: 101 M M 201 301 | -: 102 M M 202 302 | "
       "third: 103 M M 203 303"},
      {[](KvmFile* f) { return KvmAddVars(f, 3, 1); },
       "VAR1 VAR2(-5) VAR3 NEWVAR1 | first: 101 201 301 M | -: 102 202 302 M | "
       "third: 103 203 303 M"},
      {[](KvmFile* f) { return KvmDeleteVars(f, 1, 1); },
       "VAR2(-5) VAR3 | first: 201 301 | -: 202 302 | third: 203 303"},
      {[](KvmFile* f) { return KvmDeleteVars(f, 2, 3); },
       "VAR1 | first: 101 | -: 102 | third: 103"},
      {[](KvmFile* f) { return KvmDeleteVars(f, 2, 2); },
       "VAR1 VAR3 | first: 101 301 | -: 102 302 | third: 103 303"},
      // New cases take each variable's own code.
      {[](KvmFile* f) { return KvmAddCases(f, 1, 2); },
       "VAR1 VAR2(-5) VAR3 | first: 101 201 301 | -: M -5 M | -: M -5 M | -: 102 202 302 | "
       "third: 103 203 303"},
      {[](KvmFile* f) { return KvmAddCases(f, 0, 1); },
       "VAR1 VAR2(-5) VAR3 | -: M -5 M | first: 101 201 301 | -: 102 202 302 | "
       "third: 103 203 303"},
      {[](KvmFile* f) { return KvmAddCases(f, 3, 1); },
       "VAR1 VAR2(-5) VAR3 | first: 101 201 301 | -: 102 202 302 | third: 103 203 303 | "
       "-: M -5 M"},
      {[](KvmFile* f) { return KvmDeleteCases(f, 1, 2); },
       "VAR1 VAR2(-5) VAR3 | third: 103 203 303"},
      {[](KvmFile* f) { return KvmDeleteCases(f, 3, 3); },
       "VAR1 VAR2(-5) VAR3 | first: 101 201 301 | -: 102 202 302"},
      {[](KvmFile* f) { return KvmSetCaseNameLength(f, 3); },
       "VAR1 VAR2(-5) VAR3 | fir: 101 201 301 | -: 102 202 302 | thi: 103 203 303"},
      // Padded with zeros, which end the name, not with blanks.
      {[](KvmFile* f) { return KvmSetCaseNameLength(f, 20); },
       "VAR1 VAR2(-5) VAR3 | first: 101 201 301 | -: 102 202 302 | third: 103 203 303"},
      {[](KvmFile* f) { return KvmSetCaseNameLength(f, 0); },
       "VAR1 VAR2(-5) VAR3 | -: 101 201 301 | -: 102 202 302 | -: 103 203 303"},
  };
  for (const auto& [edit, expected] : rows) {
    SCOPED_TRACE(expected);
    ScratchDir dir;
    const std::string path = dir.File("edit.kvm");
    KvmFile* file = Numbered(path);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(edit(file), 1);
    EXPECT_EQ(Summary(file), expected);
    file = Reopened(file, path);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Summary(file), expected);
    EXPECT_EQ(KvmCloseFile(file), 1);
  }
}

TEST(KvmEdits, NewVariablesAreNamedFromOneInEachAddition) {
  ScratchDir dir;
  KvmFile* file = KvmCreateFile(1, 1, dir.File("a.kvm").c_str());
  ASSERT_EQ(KvmAddVars(file, 1, 10), 1);
  EXPECT_EQ(Name(file, 2), "NEWVAR1");
  EXPECT_EQ(Name(file, 11), "NEWVAR10");
  // A second addition counts from 1 again; "NEWVAR" + "100" is nine bytes, so
  // the prefix gives up its last letter.
  ASSERT_EQ(KvmAddVars(file, 0, 100), 1);
  EXPECT_EQ(Name(file, 1), "NEWVAR1");
  EXPECT_EQ(Name(file, 99), "NEWVAR99");
  EXPECT_EQ(Name(file, 100), "NEWVA100");
  EXPECT_EQ(Name(file, 101), "VAR1");
  EXPECT_EQ(KvmCloseFile(file), 1);
}

// Free texts cut to fit, a long name removed, the widest format, a tiny
// code, values set by case and one by one.
TEST(KvmEdits, WhatIsSetIsReadBackBeforeAndAfterTheWriteBack) {
  ScratchDir dir;
  const std::string path = dir.File("set.kvm");
  KvmFile* file = KvmCreateFile(3, 2, path.c_str());
  const double row[] = {1.5, -2.25, 1e300};
  ASSERT_TRUE(file && KvmSetFileHeader(file, std::string(100, 'h').c_str()) &&
              KvmSetVarLongName(file, 1, std::string(200, 'n').c_str()) &&
              KvmSetVarLongName(file, 2, "temporary") && KvmSetVarLongName(file, 2, "") &&
              KvmSetVarFormat(file, 2, 63, 31, 3, 7) && KvmSetVarMD(file, 1, 1e-300) &&
              KvmSetCaseNameLength(file, 20) &&
              KvmSetCaseName(file, 1, "a name longer than twenty") &&
              KvmSetCaseData(file, 2, row) && KvmSetData(file, 2, 2, 0.125));
  const Contents expected{.header = std::string(80, 'h'),
                          .names = {"VAR1", "VAR2", "VAR3"},
                          .long_names = {std::string(128, 'n'), "", ""},
                          .formats = {{8, 3, 0, 0}, {63, 31, 3, 7}, {8, 3, 0, 0}},
                          .codes = {1e-300, M, M},
                          .labels = {{}, {}, {}},
                          .case_name_length = 20,
                          .case_names = {"a name longer than t", ""},
                          .values = {M, M, M, 1.5, 0.125, 1e300}};
  EXPECT_EQ(Take(file), expected);
  file = Reopened(file, path);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Take(file), expected);
  double codes[3];
  ASSERT_EQ(KvmGetAllMD(file, codes), 1);
  EXPECT_EQ(std::vector(codes, codes + 3), expected.codes);
  // Texts are cut to the caller's buffer.
  char small[5];
  ASSERT_EQ(KvmGetFileHeader(file, small, sizeof small), 1);
  EXPECT_STREQ(small, "hhhh");
  ASSERT_EQ(KvmGetVarLongName(file, 1, small, sizeof small), 1);
  EXPECT_STREQ(small, "nnnn");
  ASSERT_EQ(KvmGetCaseName(file, 1, small, 3), 1);
  EXPECT_STREQ(small, "a ");
  EXPECT_EQ(KvmCloseFile(file), 1);
}

TEST(KvmRefusals, RefusedCallsChangeNothingAndWriteNoArgument) {
  ScratchDir dir;
  KvmFile* file = Numbered(dir.File("r.kvm"));
  ASSERT_NE(file, nullptr);
  const Contents before = Take(file);
  double value = 42, row[3] = {42, 42, 42};
  char text[KVM_LONG_NAME_BUFFER_SIZE] = "kept";
  std::int32_t format[4] = {42, 42, 42, 42};
  using Call = std::function<std::int32_t(KvmFile*)>;
  const Call calls[] = {
      [](KvmFile* f) { return KvmAddVars(f, 4, 1); },
      [](KvmFile* f) { return KvmAddVars(f, 3, 0); },
      [](KvmFile* f) { return KvmAddVars(f, 0, 4090); },  // 4093 in all
      [](KvmFile* f) { return KvmDeleteVars(f, 1, 3); },  // every variable
      [](KvmFile* f) { return KvmDeleteVars(f, 2, 1); },
      [](KvmFile* f) { return KvmDeleteVars(f, 3, 4); },
      [](KvmFile* f) { return KvmAddCases(f, 4, 1); },
      [](KvmFile* f) { return KvmAddCases(f, 3, 0); },
      [](KvmFile* f) { return KvmDeleteCases(f, 1, 3); },  // every case
      [](KvmFile* f) { return KvmDeleteCases(f, 2, 1); },
      [](KvmFile* f) { return KvmDeleteCases(f, 3, 4); },
      [](KvmFile* f) { return KvmSetData(f, 0, 1, 1.0); },
      [](KvmFile* f) { return KvmSetData(f, 1, 4, 1.0); },
      [&](KvmFile* f) { return KvmGetData(f, 4, 1, &value); },
      [&](KvmFile* f) { return KvmGetData(f, 1, 0, &value); },
      [](KvmFile* f) { return KvmGetData(f, 1, 1, nullptr); },
      [&](KvmFile* f) { return KvmSetCaseData(f, 0, row); },
      [](KvmFile* f) { return KvmSetCaseData(f, 1, nullptr); },
      [&](KvmFile* f) { return KvmGetCaseData(f, 4, row); },
      [](KvmFile* f) { return KvmGetCaseData(f, 1, nullptr); },
      [](KvmFile* f) { return KvmSetCaseNameLength(f, 21); },
      [](KvmFile* f) { return KvmSetCaseNameLength(f, -1); },
      [](KvmFile* f) { return KvmSetCaseName(f, 4, "x"); },
      [](KvmFile* f) { return KvmSetCaseName(f, 1, nullptr); },
      [&](KvmFile* f) { return KvmGetCaseName(f, 4, text, sizeof text); },
      [&](KvmFile* f) { return KvmGetCaseName(f, 1, text, 0); },
      [](KvmFile* f) { return KvmSetFileHeader(f, nullptr); },
      [](KvmFile* f) { return KvmGetFileHeader(f, nullptr, 10); },
      [&](KvmFile* f) { return KvmGetFileHeader(f, text, 0); },
      [](KvmFile* f) { return KvmSetVarName(f, 4, "fine"); },
      [](KvmFile* f) { return KvmSetVarName(f, 0, "fine"); },
      [&](KvmFile* f) { return KvmGetVarName(f, 0, text); },
      [](KvmFile* f) { return KvmSetVarLongName(f, 4, "x"); },
      [&](KvmFile* f) { return KvmGetVarLongName(f, 4, text, sizeof text); },
      [&](KvmFile* f) { return KvmGetVarLongName(f, 1, text, 0); },
      [](KvmFile* f) { return KvmSetVarFormat(f, 2, 64, 0, 0, 0); },
      [](KvmFile* f) { return KvmSetVarFormat(f, 2, 0, 32, 0, 0); },
      [](KvmFile* f) { return KvmSetVarFormat(f, 2, 0, 0, 4, 0); },
      [](KvmFile* f) { return KvmSetVarFormat(f, 2, 0, 0, 0, 8); },
      [](KvmFile* f) { return KvmSetVarFormat(f, 2, -1, 0, 0, 0); },
      [](KvmFile* f) { return KvmSetVarFormat(f, 4, 8, 3, 0, 0); },
      [&](KvmFile* f) {
        return KvmGetVarFormat(f, 4, &format[0], &format[1], &format[2], &format[3]);
      },
      [&](KvmFile* f) {
        return KvmGetVarFormat(f, 2, &format[0], nullptr, &format[2], &format[3]);
      },
      [](KvmFile* f) { return KvmSetVarMD(f, 4, 1.0); },
      [&](KvmFile* f) { return KvmGetVarMD(f, 4, &value); },
      [](KvmFile* f) { return KvmGetVarMD(f, 1, nullptr); },
      [](KvmFile* f) { return KvmGetAllMD(f, nullptr); },
  };
  for (const Call& call : calls) {
    const auto n = &call - calls;
    errno = -1;
    EXPECT_EQ(call(file), 0) << "call " << n;
    EXPECT_EQ(errno, 0) << "call " << n;
    EXPECT_EQ(Take(file), before) << "call " << n;
  }
  EXPECT_EQ(value, 42);
  EXPECT_EQ(std::vector(row, row + 3), std::vector<double>(3, 42));
  EXPECT_STREQ(text, "kept");
  EXPECT_EQ(std::vector(format, format + 4), std::vector<std::int32_t>(4, 42));
  EXPECT_EQ(KvmCloseFile(file), 1);
}

TEST(KvmHandles, BogusClosedAndNullHandlesAreRefusedWithoutBeingRead) {
  ScratchDir dir;
  // Looks like an object to anything that only checks the magic.
  alignas(16) char fake[4096] = {'Z', 'P', 'L', ' '};
  KvmFile* bogus = reinterpret_cast<KvmFile*>(fake);
  KvmFile* closed = KvmCreateFile(1, 1, dir.File("h.kvm").c_str());
  KvmFile* open = KvmCreateFile(2, 2, dir.File("open.kvm").c_str());
  ASSERT_EQ(KvmSetData(open, 1, 1, 2.0), 1);
  ASSERT_EQ(KvmCloseFile(closed), 1);  // never read through again: only compared

  for (KvmFile* handle : {bogus, closed, static_cast<KvmFile*>(nullptr)}) {
    double value = 0;
    std::int32_t count = 0;
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
  double value = 0;  // another file open at the same time is not disturbed
  EXPECT_EQ(KvmGetData(open, 1, 1, &value), 1);
  EXPECT_EQ(value, 2.0);
  EXPECT_EQ(KvmCloseFile(open), 1);
}

TEST(KvmOpen, RefusesWhatIsNotADataFileWithTheReasonInErrno) {
  ScratchDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string text = dir.File("text.kvm");
  WriteAll(text, Bytes(600, 'x'));
  const std::string absent = dir.File("absent.kvm");
  const std::string directory = dir.data_dir().string();
  const std::pair<const char*, int> cases[] = {
      {nullptr, 0},      {"", 0}, {absent.c_str(), ENOENT}, {directory.c_str(), EISDIR},
      {fifo.c_str(), 0},  // must not wait for a writer
      {text.c_str(), 0}};
  for (const auto& [path, reason] : cases) {
    errno = -1;
    EXPECT_EQ(KvmOpenFile(path), nullptr) << (path ? path : "null");
    EXPECT_EQ(errno, reason) << (path ? path : "null");
  }
  EXPECT_EQ(dir.WorkingFiles(), 0u);
}

// Values stay in the data file until their first change; the change goes to
// a working file without a name; the data file changes only at close, and an
// unchanged one not at all.
TEST(KvmWriteBack, TheDataFileChangesOnlyAtCloseAndOnlyWhenChanged) {
  ScratchDir dir;
  const std::string path = dir.File("hand.kvm");
  struct stat before {
  }, after{};
  KvmFile* file = OpenHandLaid(path);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  EXPECT_EQ(Take(file), HandLaidContents());
  ASSERT_EQ(KvmCloseFile(file), 1);
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);

  file = KvmOpenFile(path.c_str());
  ASSERT_EQ(KvmSetData(file, 2, 1, 99.0), 1);
  EXPECT_EQ(dir.WorkingFiles(), 0u);
  EXPECT_EQ(ReadAll(path), HandLaidFile());
  Contents changed = HandLaidContents();
  changed.values[1] = 99.0;
  file = Reopened(file, path);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Take(file), changed);
  EXPECT_EQ(KvmCloseFile(file), 1);
  EXPECT_EQ(dir.DataDirFiles(), 1u);

  // A new file over an existing one replaces it only at close.
  const Bytes previous = ReadAll(path);
  file = KvmCreateFile(1, 1, path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ReadAll(path), previous);
  file = Reopened(file, path);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(KvmGetNVars(file), 1);
  EXPECT_EQ(KvmCloseFile(file), 1);
}

TEST(KvmWriteBack, KeepsPermissionsAndFollowsLinks) {
  ScratchDir dir;
  const std::string target = dir.File("target.kvm");
  const std::string link = dir.File("link.kvm");
  WriteAll(target, HandLaidFile());
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  KvmFile* file = KvmOpenFile(link.c_str());
  ASSERT_EQ(KvmSetData(file, 1, 1, 5.0), 1);
  ASSERT_EQ(KvmCloseFile(file), 1);

  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(dir.DataDirFiles(), 2u);
  file = KvmOpenFile(target.c_str());
  double value = 0;
  ASSERT_EQ(KvmGetData(file, 1, 1, &value), 1);
  EXPECT_EQ(value, 5.0);
  EXPECT_EQ(KvmCloseFile(file), 1);
}

// Working files have no name, so none can be left in $TMPDIR, however the
// process ends. Opens the hand-laid file and a new one and edits both in
// every way that makes a working file.
std::vector<KvmFile*> OpenEditAndCreate(const ScratchDir& dir) {
  KvmFile* file = KvmOpenFile(dir.File("hand.kvm").c_str());
  EXPECT_TRUE(file && KvmSetData(file, 2, 1, 99.0) && KvmAddCases(file, 1, 1000) &&
              KvmAddVars(file, 0, 3) && KvmSetCaseNameLength(file, 12) &&
              KvmDeleteCases(file, 2, 10));
  KvmFile* fresh = KvmCreateFile(5, 500, dir.File("fresh.kvm").c_str());
  EXPECT_TRUE(fresh && KvmSetData(fresh, 1, 1, 1.0));
  return {file, fresh};
}

TEST(KvmWorkingFiles, NoneIsVisibleWhileFilesAreEditedNorLeftWhenTheProcessIsKilled) {
  ScratchDir dir;
  WriteAll(dir.File("hand.kvm"), HandLaidFile());
  const std::vector<KvmFile*> files = OpenEditAndCreate(dir);
  EXPECT_EQ(dir.WorkingFiles(), 0u);
  for (KvmFile* file : files) EXPECT_EQ(KvmCloseFile(file), 1);
  EXPECT_EQ(dir.WorkingFiles(), 0u);

  WriteAll(dir.File("hand.kvm"), HandLaidFile());
  fs::remove(dir.File("fresh.kvm"));
  // The child is forked here, with this test's directories.
  EXPECT_EXIT(
      {
        OpenEditAndCreate(dir);
        std::raise(SIGKILL);
      },
      ::testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(dir.WorkingFiles(), 0u);
  // The data file as it was, and the new file that KvmCreateFile made empty.
  EXPECT_EQ(ReadAll(dir.File("hand.kvm")), HandLaidFile());
  EXPECT_EQ(dir.DataDirFiles(), 2u);
}

}  // namespace
}  // namespace kvmtest
