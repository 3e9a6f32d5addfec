// Every disk call of an operation is made to fail in turn: the operation then
// reports failure (or degrades soundly), changes nothing, and leaves no
// temporary file behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
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
  for (long n = 1; n <= 1000; ++n) {
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
  }
  ADD_FAILURE() << "no end to the disk calls";
  return 1000;
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
          EXPECT_EQ(Take(again).values[1], 99.0);
          KvmCloseFile(again);
        });
    // Temporary file, header, padding, data, sync and rename at least, and
    // the old file's mode.
    EXPECT_GE(calls, existing ? 7 : 6);
  }
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
  kvm::io::FailNthCall(-1);  // a negative count switches failures off as well
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(KvmSetData(file, 1, 1, 5.0), 1);
  EXPECT_EQ(KvmCloseFile(file), 0);
  EXPECT_EQ(errno, EIO);  // why the file could not be opened for writing
  EXPECT_EQ(ReadAll(path), HandLaidFile());
}

TEST(KvmFaultInjection, TheNextOpenRemovesOnlyStaleWriteBacks) {
  ScratchDir dir;
  const std::string path = dir.File("data.kvm");
  WriteAll(path, HandLaidFile());
  const std::pair<std::string, bool> names[] = {
      {".kvmdev32-a1B2c3", false},   // its writer died
      {".kvmdev32-LIVE01", true},    // its writer still writes
      {".kvmdev32-toolong1", true},  // not names of ours
      {"kvmdev32-a1B2c3", true},    {".kvmdev32-a1-2c3", true},
  };
  for (const auto& [name, kept] : names) WriteAll(dir.File(name), {1, 2, 3});
  const int live = ::open(dir.File(".kvmdev32-LIVE01").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  EXPECT_EQ(KvmCloseFile(KvmOpenFile(path.c_str())), 1);
  ::close(live);
  for (const auto& [name, kept] : names) EXPECT_EQ(fs::exists(dir.File(name)), kept) << name;
  // KvmCreateFile looks too.
  WriteAll(dir.File(".kvmdev32-zZ09az"), {1, 2, 3});  // the ends of each range
  EXPECT_EQ(KvmCloseFile(KvmCreateFile(1, 1, dir.File("new.kvm").c_str())), 1);
  EXPECT_FALSE(fs::exists(dir.File(".kvmdev32-zZ09az")));
}

// A write-back that got its name but not its place is still being written:
// the lock it held from its creation keeps another opener's clean-up away.
TEST(KvmFaultInjection, AWriteBackNamedButNotRenamedIsNoStaleFile) {
  ScratchDir dir;
  const std::string directory = dir.data_dir().string();
  kvm::io::TempFile file;
  ASSERT_TRUE(file.CreateForRename(directory, ".kvmdev32-"));
  kvm::io::FailNthCall(2);  // the link succeeds, the rename fails
  EXPECT_FALSE(file.RenameOver(dir.File("target.kvm")));
  kvm::io::FailNthCall(0);
  ASSERT_FALSE(file.path().empty());
  kvm::io::RemoveStaleFiles(directory, ".kvmdev32-");
  EXPECT_TRUE(fs::exists(file.path()));
}

// Runs `call` with the file systems pretending to have `free_space` bytes
// (-1: what they have): it must fail with `reason` before a single disk call.
void ExpectRefusedAtOnce(std::int64_t free_space, int reason, const std::function<bool()>& call) {
  kvm::io::PretendFreeSpace(free_space);
  kvm::io::FailNthCall(0);
  errno = 0;
  EXPECT_FALSE(call());
  EXPECT_EQ(errno, reason);
  EXPECT_EQ(kvm::io::FailNthCall(0), 0);  // disk calls made
  kvm::io::PretendFreeSpace(-1);
}

// Edits that would need more than the data limit or the free space allow
// change nothing. The hand-laid file holds 3 cases of 4 + 2 x 8 = 20 bytes: a
// data area of 60 bytes in a file of 572.
TEST(KvmSizeChecks, HopelessEditsAreRefusedBeforeAnythingIsWritten) {
  struct Row {
    std::int64_t free_space;
    int reason;
    std::function<bool(KvmFile*)> edit;
  };
  const Row rows[] = {
      // Cases beyond the data limit (40 GiB).
      {-1, EFBIG, [](KvmFile* f) { return KvmAddCases(f, 3, 2147483647 - 3) == 1; }},
      {200, ENOSPC, [](KvmFile* f) { return KvmAddVars(f, 2, 10) == 1; }},
      // The first change of a value makes the working file.
      {59, ENOSPC, [](KvmFile* f) { return KvmSetData(f, 1, 1, 5.0) == 1; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reason);
    ScratchDir dir;
    const std::string path = dir.File("data.kvm");
    KvmFile* file = OpenHandLaid(path);
    ASSERT_NE(file, nullptr);
    ExpectRefusedAtOnce(row.free_space, row.reason, [&] { return row.edit(file); });
    EXPECT_EQ(Take(file), HandLaidContents());
    EXPECT_EQ(KvmCloseFile(file), 1);
    EXPECT_EQ(ReadAll(path), HandLaidFile());
  }
}

TEST(KvmSizeChecks, NewFilesAndWriteBacksWithoutRoomAreRefusedAtOnce) {
  ScratchDir dir;
  const std::string fresh = dir.File("new.kvm");
  // 100 cases of 2 variables need 1600 bytes.
  ExpectRefusedAtOnce(1599, ENOSPC, [&] { return KvmCreateFile(2, 100, fresh.c_str()); });
  EXPECT_FALSE(fs::exists(fresh));
  const std::string path = dir.File("data.kvm");
  KvmFile* file = OpenHandLaid(path);
  ASSERT_EQ(KvmSetData(file, 2, 1, 99.0), 1);
  // The new file has 572 bytes.
  ExpectRefusedAtOnce(571, ENOSPC, [&] { return KvmCloseFile(file) == 1; });
  EXPECT_EQ(ReadAll(path), HandLaidFile());
}

// A write the system refuses (here beyond the file size limit) fails the
// close at once, is never retried, and leaves the data file as it was.
TEST(KvmClose, AWriteTheSystemRefusesIsReportedNotRetried) {
  ScratchDir dir;
  const std::string path = dir.File("data.kvm");
  KvmFile* file = OpenHandLaid(path);
  ASSERT_EQ(KvmSetData(file, 2, 1, 99.0), 1);
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit small{256, limit.rlim_max};
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  errno = 0;
  const bool closed = KvmCloseFile(file) == 1;
  const int reason = errno;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(closed);
  EXPECT_EQ(reason, EFBIG);
  EXPECT_EQ(ReadAll(path), HandLaidFile());
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
