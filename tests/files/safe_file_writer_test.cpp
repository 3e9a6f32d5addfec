// Replacing a file whole or not at all.

#include "common/safe_file_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/error_sink.h"
#include "engine_state.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class SafeFileWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Engine().error_sink = &sink_;
    dir_ = fs::temp_directory_path() /
           ("tavrin_safe_writer_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    Engine().error_sink = nullptr;
  }

  static std::string Content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  void Write(const fs::path& path, const std::string& text) {
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(path, "open failed").ok());
    writer.stream() << text;
    ASSERT_TRUE(writer.Commit("write failed").ok());
  }

  LastMessageSink sink_;
  fs::path dir_;
};

TEST_F(SafeFileWriterTest, CommitCreatesOrReplacesTheFile) {
  const fs::path file = dir_ / "f.txt";
  Write(file, "first");
  EXPECT_EQ(Content(file), "first");
  Write(file, "second, longer");
  EXPECT_EQ(Content(file), "second, longer");
  EXPECT_EQ(Entries(), std::vector<std::string>{"f.txt"});
}

TEST_F(SafeFileWriterTest, AWriterDroppedBeforeCommitLeavesTheOldFileAndNoTemporary) {
  const fs::path file = dir_ / "f.txt";
  Write(file, "kept");
  {
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(file, "open failed").ok());
    writer.stream() << "half written";
    EXPECT_EQ(Entries().size(), 2u);  // the target and the temporary file
  }
  EXPECT_EQ(Content(file), "kept");
  EXPECT_EQ(Entries(), std::vector<std::string>{"f.txt"});
}

TEST_F(SafeFileWriterTest, ALinkIsFollowedAndStaysALink) {
  const fs::path file = dir_ / "real.txt";
  const fs::path link = dir_ / "link.txt";
  Write(file, "old");
  fs::create_symlink(file, link);
  Write(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Content(file), "new");
}

TEST_F(SafeFileWriterTest, TargetsThatCannotBeWrittenAreReported) {
  SafeFileWriter writer;
  EXPECT_FALSE(writer.Open(dir_ / "missing dir" / "f.txt", "open failed").ok());
  EXPECT_EQ(sink_.last(), "open failed");
  sink_.clear();
  EXPECT_FALSE(writer.Open(dir_, "open failed").ok());
  EXPECT_EQ(sink_.last(), "open failed");
  sink_.clear();
  EXPECT_FALSE(writer.Commit("write failed").ok());
  EXPECT_EQ(sink_.last(), "write failed");
}

}  // namespace
}  // namespace tavrin
