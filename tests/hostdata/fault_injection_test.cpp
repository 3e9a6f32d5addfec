// Every disk call of an operation is made to fail in turn: the operation then
// reports failure (or degrades soundly), changes nothing, and leaves no
// temporary file behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "host_file_test_support.h"
#include "kvmdev32.h"
#include "posix_io.h"

namespace kvmtest {
namespace {

// Runs `attempt` with the nth disk call failing for n = 1, 2, ... until an
// attempt makes fewer than n calls; `check(succeeded)` follows each attempt
// with failures off. A failed attempt must give the injected failure's
// reason (EIO) in errno. Returns how many calls could fail.
long EveryFailure(const std::function<void()>& prepare, const std::function<bool()>& attempt,
                  const std::function<void(bool)>& check) {
  for (long n = 1;; ++n) {
    prepare();
    kvm::io::FailNthCall(n);
    errno = 0;
    const bool succeeded = attempt();
    const int reason = errno;
    const long calls = kvm::io::FailNthCall(0);
    if (!succeeded) {
      EXPECT_EQ(reason, EIO) << "call " << n;
    }
    check(succeeded);
    if (calls < n) {
      EXPECT_TRUE(succeeded) << "with no failure injected";
      return n - 1;
    }
    if (n > 1000) {
      ADD_FAILURE() << "no end to the disk calls";
      return n;
    }
  }
}

// Runs the test body as the file system allows (new files without names) and
// as on one without O_TMPFILE (named, locked files).
class NamingModes : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { kvm::io::AllowUnnamedFiles(GetParam()); }
  void TearDown() override { kvm::io::AllowUnnamedFiles(true); }
};

INSTANTIATE_TEST_SUITE_P(KvmFaultInjection, NamingModes, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Unnamed" : "Named";
                         });

// A failed close leaves the old file as it was, or no file where there was
// none.
TEST_P(NamingModes, FailedCloseLeavesTheOldFileOrNone) {
  for (const bool existing : {true, false}) {
    SCOPED_TRACE(existing ? "existing file" : "new file");
    ScratchDir dir;
    const std::string path = dir.File("data.kvm");
    KvmFile* file = nullptr;
    const long calls = EveryFailure(
        [&] {
          fs::remove(path);
          file = existing ? OpenHandLaid(path) : KvmCreateFile(2, 3, path.c_str());
          ASSERT_NE(file, nullptr);
          ASSERT_EQ(KvmSetData(file, 2, 1, 99.0), 1);
          ASSERT_EQ(KvmSetFileHeader(file, "changed"), 1);
        },
        [&] { return KvmCloseFile(file) == 1; },
        [&](bool succeeded) {
          EXPECT_EQ(dir.WorkingFiles(), 0u);
          EXPECT_EQ(dir.DataDirFiles(), existing || succeeded ? 1u : 0u);
          if (!succeeded) {
            if (existing) {
              EXPECT_EQ(ReadAll(path), HandLaidFile());
            }
            return;
          }
          KvmFile* again = KvmOpenFile(path.c_str());
          ASSERT_NE(again, nullptr);
          double value = 0;
          EXPECT_EQ(KvmGetData(again, 2, 1, &value), 1);
          EXPECT_EQ(value, 99.0);
          KvmCloseFile(again);
        });
    // Temporary file, header, padding, data, sync and rename at least, and
    // the old file's mode.
    EXPECT_GE(calls, existing ? 7 : 6);
  }
}

TEST_P(NamingModes, FailedOpenAndCreateLeaveNothingBehind) {
  ScratchDir dir;
  const std::string path = dir.File("data.kvm");
  WriteAll(path, HandLaidFile());
  KvmFile* file = nullptr;
  EveryFailure([] {}, [&] { return (file = KvmOpenFile(path.c_str())) != nullptr; },
               [&](bool succeeded) {
                 if (succeeded) {
                   double value = 0;
                   EXPECT_EQ(KvmGetData(file, 2, 1, &value), 1);
                   EXPECT_EQ(value, 120.5);
                   EXPECT_EQ(KvmCloseFile(file), 1);
                 }
                 EXPECT_EQ(dir.WorkingFiles(), 0u);
               });

  const std::string fresh = dir.File("fresh.kvm");
  EveryFailure([] {}, [&] { return (file = KvmCreateFile(3, 5, fresh.c_str())) != nullptr; },
               [&](bool succeeded) {
                 if (succeeded) {
                   EXPECT_EQ(KvmCloseFile(file), 1);
                   ASSERT_EQ(fs::remove(fresh), true);
                 }
                 EXPECT_FALSE(fs::exists(fresh));
                 EXPECT_EQ(dir.WorkingFiles(), 0u);
               });
}

// A file that can only be read, whoever runs the test: the first disk call of
// the open (the attempt to open for writing) is made to fail, so the library
// falls back to reading only. The changed file is then not replaced at close.
TEST(KvmClose, ReadOnlyFileIsNotReplaced) {
  ScratchDir dir;
  const std::string path = dir.File("ro.kvm");
  WriteAll(path, HandLaidFile());
  kvm::io::FailNthCall(1);
  KvmFile* file = KvmOpenFile(path.c_str());
  kvm::io::FailNthCall(0);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmSetData(file, 1, 1, 5.0), 1);
  EXPECT_EQ(KvmCloseFile(file), 0);
  EXPECT_EQ(errno, EIO);  // why the file could not be opened for writing
  EXPECT_EQ(ReadAll(path), HandLaidFile());
  EXPECT_EQ(dir.DataDirFiles(), 1u);
  EXPECT_EQ(dir.WorkingFiles(), 0u);
}

// The process is killed at each disk call of an open, edits and the close in
// turn: no working file is left, the data file is the old one or the new one,
// and the next open removes any new file the write-back had to name.
TEST_P(NamingModes, KilledAtAnyDiskCallLeavesNoWorkingFileAndAWholeDataFile) {
  ScratchDir dir;
  const std::string path = dir.File("data.kvm");
  const auto open_edit_close = [&] {
    KvmFile* file = KvmOpenFile(path.c_str());
    const bool ok = file != nullptr && KvmSetData(file, 2, 1, 99.0) == 1 &&
                    KvmAddCases(file, 3, 2) == 1 && KvmSetFileHeader(file, "changed") == 1;
    return KvmCloseFile(file) == 1 && ok;
  };
  WriteAll(path, HandLaidFile());
  kvm::io::FailNthCall(0);
  ASSERT_TRUE(open_edit_close());
  const long calls = kvm::io::FailNthCall(0);
  const std::vector<std::uint8_t> changed = ReadAll(path);
  ASSERT_NE(changed, HandLaidFile());
  ASSERT_GE(calls, 8);
  for (long n = 1; n <= calls; ++n) {
    SCOPED_TRACE(n);
    WriteAll(path, HandLaidFile());
    EXPECT_EXIT(
        {
          kvm::io::KillAtNthCall(n);
          open_edit_close();
          std::exit(0);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(dir.WorkingFiles(), 0u);
    const std::vector<std::uint8_t> now = ReadAll(path);
    EXPECT_TRUE(now == HandLaidFile() || now == changed);
    KvmFile* file = KvmOpenFile(path.c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(KvmCloseFile(file), 1);
    EXPECT_EQ(dir.DataDirFiles(), 1u);
  }
}

TEST(KvmFaultInjection, TheNextOpenRemovesOnlyStaleWriteBacks) {
  ScratchDir dir;
  const std::string path = dir.File("data.kvm");
  WriteAll(path, HandLaidFile());
  const std::vector<std::uint8_t> bytes = {1, 2, 3};
  WriteAll(dir.File(".kvmdev32-a1B2c3"), bytes);    // its writer died
  WriteAll(dir.File(".kvmdev32-LIVE01"), bytes);    // its writer still writes
  WriteAll(dir.File(".kvmdev32-toolong1"), bytes);  // not a name of ours
  WriteAll(dir.File("kvmdev32-a1B2c3"), bytes);
  WriteAll(dir.File(".kvmdev32-a1-2c3"), bytes);
  const int live = ::open(dir.File(".kvmdev32-LIVE01").c_str(), O_RDONLY);
  ASSERT_GE(live, 0);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  KvmFile* file = KvmOpenFile(path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(KvmCloseFile(file), 1);
  ::close(live);
  EXPECT_FALSE(fs::exists(dir.File(".kvmdev32-a1B2c3")));
  EXPECT_TRUE(fs::exists(dir.File(".kvmdev32-LIVE01")));
  EXPECT_TRUE(fs::exists(dir.File(".kvmdev32-toolong1")));
  EXPECT_TRUE(fs::exists(dir.File("kvmdev32-a1B2c3")));
  EXPECT_TRUE(fs::exists(dir.File(".kvmdev32-a1-2c3")));
  // KvmCreateFile looks too.
  WriteAll(dir.File(".kvmdev32-zzzzzz"), bytes);
  file = KvmCreateFile(1, 1, dir.File("new.kvm").c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(KvmCloseFile(file), 1);
  EXPECT_FALSE(fs::exists(dir.File(".kvmdev32-zzzzzz")));
}

// Edits that would need more than the data limit or the free space allow are
// refused before a single disk call, with the reason in errno, and change
// nothing. The hand-laid file holds 3 cases of 4 + 2 x 8 = 20 bytes: a data
// area of 60 bytes in a file of 572.
TEST(KvmSizeChecks, HopelessEditsAreRefusedBeforeAnythingIsWritten) {
  struct Row {
    const char* what;
    std::int64_t free_space;  // what the file systems pretend to have; -1: real
    int reason;
    std::function<bool(KvmFile*)> edit;
  };
  const Row rows[] = {
      {"cases beyond the data limit (40 GiB)", -1, EFBIG,
       [](KvmFile* f) { return KvmAddCases(f, 3, 2147483647 - 3) == 1; }},
      {"cases beyond the free space", 2000, ENOSPC,
       [](KvmFile* f) { return KvmAddCases(f, 3, 100) == 1; }},
      {"variables beyond the free space", 200, ENOSPC,
       [](KvmFile* f) { return KvmAddVars(f, 2, 10) == 1; }},
      {"case name length beyond the free space", 100, ENOSPC,
       [](KvmFile* f) { return KvmSetCaseNameLength(f, 20) == 1; }},
      {"first value change beyond the free space", 59, ENOSPC,
       [](KvmFile* f) { return KvmSetData(f, 1, 1, 5.0) == 1; }},
      {"first case name change beyond the free space", 59, ENOSPC,
       [](KvmFile* f) { return KvmSetCaseName(f, 1, "x") == 1; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ScratchDir dir;
    const std::string path = dir.File("data.kvm");
    KvmFile* file = OpenHandLaid(path);
    ASSERT_NE(file, nullptr);
    const Contents before = Take(file);
    kvm::io::PretendFreeSpace(row.free_space);
    kvm::io::FailNthCall(0);
    errno = 0;
    EXPECT_FALSE(row.edit(file));
    EXPECT_EQ(errno, row.reason);
    EXPECT_EQ(kvm::io::FailNthCall(0), 0);  // disk calls made
    kvm::io::PretendFreeSpace(-1);
    EXPECT_EQ(Take(file), before);
    EXPECT_EQ(KvmCloseFile(file), 1);
    EXPECT_EQ(ReadAll(path), HandLaidFile());
  }
}

TEST(KvmSizeChecks, NewFilesAndVariablesBeyondTheLimitsAreRefusedAtOnce) {
  ScratchDir dir;
  const std::string path = dir.File("new.kvm");
  kvm::io::FailNthCall(0);
  errno = 0;
  // 4092 x 8 bytes for 2^31 - 1 cases: 64 TiB.
  EXPECT_EQ(KvmCreateFile(4092, 2147483647, path.c_str()), nullptr);
  EXPECT_EQ(errno, EFBIG);
  kvm::io::PretendFreeSpace(1599);  // 100 cases of 2 variables need 1600 bytes
  EXPECT_EQ(KvmCreateFile(2, 100, path.c_str()), nullptr);
  EXPECT_EQ(errno, ENOSPC);
  kvm::io::PretendFreeSpace(-1);
  EXPECT_EQ(kvm::io::FailNthCall(0), 0);
  EXPECT_FALSE(fs::exists(path));

  // 600000 cases of one variable (4.8 MB) would grow to 19.6 GB.
  KvmFile* file = KvmCreateFile(1, 600000, path.c_str());
  ASSERT_NE(file, nullptr);
  kvm::io::FailNthCall(0);
  errno = 0;
  EXPECT_EQ(KvmAddVars(file, 1, 4091), 0);
  EXPECT_EQ(errno, EFBIG);
  EXPECT_EQ(kvm::io::FailNthCall(0), 0);
  EXPECT_EQ(KvmGetNVars(file), 1);
  EXPECT_EQ(KvmAddVars(file, 1, 2), 1);
  EXPECT_EQ(KvmCloseFile(file), 1);
}

TEST(KvmSizeChecks, CloseWithoutRoomForTheNewFileLeavesTheOldOne) {
  ScratchDir dir;
  const std::string path = dir.File("data.kvm");
  KvmFile* file = OpenHandLaid(path);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmSetData(file, 2, 1, 99.0), 1);
  kvm::io::PretendFreeSpace(571);  // the new file has 572 bytes
  kvm::io::FailNthCall(0);
  errno = 0;
  EXPECT_EQ(KvmCloseFile(file), 0);
  EXPECT_EQ(errno, ENOSPC);
  EXPECT_EQ(kvm::io::FailNthCall(0), 0);
  kvm::io::PretendFreeSpace(-1);
  EXPECT_EQ(ReadAll(path), HandLaidFile());
  EXPECT_EQ(dir.DataDirFiles(), 1u);
}

// An edit that fails part way must leave the open file exactly as it was,
// whether its values were still in the data file or already in a working file.
void CheckEdit(const std::function<bool(KvmFile*)>& edit, bool values_already_moved) {
  ScratchDir dir;
  const std::string path = dir.File("data.kvm");
  WriteAll(path, HandLaidFile());
  KvmFile* file = nullptr;
  Contents before;
  const long calls = EveryFailure(
      [&] {
        file = KvmOpenFile(path.c_str());
        ASSERT_NE(file, nullptr);
        if (values_already_moved) {
          ASSERT_EQ(KvmSetData(file, 1, 3, 7.0), 1);
        }
        before = Take(file);
      },
      [&] { return edit(file); },
      [&](bool succeeded) {
        EXPECT_EQ(dir.WorkingFiles(), 0u);  // working files have no name
        if (!succeeded) {
          EXPECT_EQ(Take(file), before);
        } else {
          EXPECT_NE(Take(file), before);
        }
        KvmCloseFile(file);
        WriteAll(path, HandLaidFile());
      });
  EXPECT_GE(calls, 1);
}

TEST(KvmFaultInjection, FailedEditsChangeNothing) {
  const std::vector<std::pair<const char*, std::function<bool(KvmFile*)>>> edits = {
      {"set value", [](KvmFile* f) { return KvmSetData(f, 2, 2, 5.0) == 1; }},
      {"set case name", [](KvmFile* f) { return KvmSetCaseName(f, 3, "zed") == 1; }},
      {"add cases", [](KvmFile* f) { return KvmAddCases(f, 1, 2) == 1; }},
      {"delete cases", [](KvmFile* f) { return KvmDeleteCases(f, 1, 1) == 1; }},
      {"add variables", [](KvmFile* f) { return KvmAddVars(f, 2, 1) == 1; }},
      {"delete variables", [](KvmFile* f) { return KvmDeleteVars(f, 1, 1) == 1; }},
      {"case name length", [](KvmFile* f) { return KvmSetCaseNameLength(f, 2) == 1; }},
  };
  for (const auto& [what, edit] : edits) {
    SCOPED_TRACE(what);
    CheckEdit(edit, false);
    CheckEdit(edit, true);
  }
}

}  // namespace
}  // namespace kvmtest
