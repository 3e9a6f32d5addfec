// Replacing a file whole or not at all.

#include "common/safe_file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "file_test_support.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

class SafeFileWriterTest : public EngineTest {
 protected:
  void Write(const fs::path& path, const std::string& text) {
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(path, "open failed").ok());
    writer.stream() << text;
    ASSERT_TRUE(writer.Commit("write failed").ok());
  }

  TestDirectory dir_;
};

TEST_F(SafeFileWriterTest, CommitCreatesOrReplacesTheFileKeepingItsPermissions) {
  const fs::path file = dir_ / "f.txt";
  Write(file, "first");
  EXPECT_EQ(FileContent(file), "first");
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
  Write(file, "second, longer");
  EXPECT_EQ(FileContent(file), "second, longer");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"f.txt"});
}

TEST_F(SafeFileWriterTest, PipesAndDevicesAreWrittenIntoNeverReplaced) {
  const fs::path fifo = dir_ / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = FileContent(fifo); });
  Write(fifo, "through the pipe");
  reader.join();
  EXPECT_EQ(received, "through the pipe");
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);

  Write("/dev/null", "gone");
  EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
  // A device that refuses the bytes is reported, and stays a device.
  SafeFileWriter full;
  ASSERT_TRUE(full.Open("/dev/full", "open failed").ok());
  full.stream() << std::string(1 << 16, 'x');
  EXPECT_FALSE(full.Commit("write failed").ok());
  EXPECT_EQ(last_message(), "write failed: full: No space left on device");
  EXPECT_EQ(fs::status("/dev/full").type(), fs::file_type::character);
}

TEST_F(SafeFileWriterTest, AWriterDroppedBeforeCommitLeavesTheOldFileAndNoTemporary) {
  const fs::path file = dir_ / "f.txt";
  Write(file, "kept");
  {
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(file, "open failed").ok());
    writer.stream() << "half written";
    EXPECT_EQ(dir_.Entries().size(), 2u);  // the target and the temporary file
  }
  EXPECT_EQ(FileContent(file), "kept");
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"f.txt"});
}

TEST_F(SafeFileWriterTest, ALinkIsFollowedAndStaysALink) {
  const fs::path file = dir_ / "real.txt";
  const fs::path link = dir_ / "link.txt";
  Write(file, "old");
  fs::create_symlink(file, link);
  Write(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(FileContent(file), "new");
}

TEST_F(SafeFileWriterTest, TargetsThatCannotBeWrittenAreReportedWithTheReason) {
  SafeFileWriter writer;
  EXPECT_FALSE(writer.Open(dir_ / "missing dir" / "f.txt", "open failed").ok());
  EXPECT_EQ(last_message(), "open failed: f.txt: No such file or directory");
  fs::create_directory(dir_ / "d");
  EXPECT_FALSE(writer.Open(dir_ / "d", "open failed").ok());
  EXPECT_EQ(last_message(), "open failed: d: Is a directory");
  sink_.clear();
  EXPECT_FALSE(writer.Commit("write failed").ok());
  EXPECT_EQ(last_message(), "write failed");
}

}  // namespace
}  // namespace tavrin::testing
