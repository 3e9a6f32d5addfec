// Loading and saving hand each of their arguments to the engine's readers and
// writers: options that differ per call show a swap, and every format makes
// the round trip.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "library_test_support.h"

namespace nrx_test {
namespace {

namespace fs = std::filesystem;

class NrxDataFileTest : public LibraryTest {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("tavrin-nrx-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    LibraryTest::TearDown();
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  void Write(const char* name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  std::string Read(const char* name) const {
    std::ostringstream text;
    text << std::ifstream(Path(name), std::ios::binary).rdbuf();
    return text.str();
  }

  fs::path dir_;
};

TEST_F(NrxDataFileTest, LoadingHandsEachOptionToTheReader) {
  // Case names and no header; ';' separates and "NA" marks a missing field.
  Write("a.txt", "first;1.5;NA\nsecond;NA;2\n");
  const int32_t ds = NRXLoadDataSet(Path("a.txt").c_str(), 2, 1, 0, ';', "NA");
  ASSERT_EQ(ds, 0) << ErrorText();
  EXPECT_EQ(Get<int32_t>(NRXGetDataNoVariables, ds), 2);
  EXPECT_EQ(Name(NRXGetDataCaseName, ds, 1), "second");
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 0, 0), 1.5);
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 0, 1), NRXMissingValue());
  // A header and no case names; blanks separate and "?" is the default.
  Write("b.txt", "NNTYPE x y\nTEST 1 ?\n");
  const int32_t other = NRXLoadDataSet(Path("b.txt").c_str(), 2, 0, 1, ' ', nullptr);
  ASSERT_EQ(other, 1) << ErrorText();
  EXPECT_EQ(Name(NRXGetDataVariableName, other, 1), "y");
  EXPECT_EQ(Get<int32_t>(NRXGetDataNoTest, other), 1);
  EXPECT_EQ(Get<double>(NRXGetDataEntry, other, 0, 1), NRXMissingValue());
}

TEST_F(NrxDataFileTest, SavingHandsEachOptionToTheWriter) {
  const int32_t ds = MakeDataSet(1, 1, {{1.5, 2}, {3, 4}});
  Ok(NRXSetDataCaseName(ds, 0, "first"));
  Ok(NRXSetDataCaseTypes(ds, 1, 1, NRX_CASE_TEST));
  Ok(NRXSaveDataSet(ds, Path("a.txt").c_str(), 2, 1, 0, 1, ';'));
  // A case without a name is written as its number.
  EXPECT_EQ(Read("a.txt"), "first;TRAIN;1.5;2\n02;TEST;3;4\n");
  Ok(NRXSaveDataSet(ds, Path("b.txt").c_str(), 2, 0, 1, 0, '|'));
  EXPECT_EQ(Read("b.txt"), "VAR1|VAR2\n1.5|2\n3|4\n");
}

TEST_F(NrxDataFileTest, EveryFormatMakesTheRoundTrip) {
  const int32_t ds = MakeDataSet(2, 1, {{1, 2, 3}, {4, 5, 6}});
  Ok(NRXSetDataCaseName(ds, 0, "first"));
  Ok(NRXSetDataCaseName(ds, 1, "second"));
  Ok(NRXSetDataCaseTypes(ds, 1, 1, NRX_CASE_TEST));
  const char* names[] = {"a.kvm", "a.bin", "a.csv", "a.pat"};
  for (int32_t format = 0; format < 4; ++format) {
    const std::string path = Path(names[format]);
    Ok(NRXSaveDataSet(ds, path.c_str(), format, 1, 1, 1, ','));
    const int32_t back = NRXLoadDataSet(path.c_str(), format, 1, 1, ',', nullptr);
    ASSERT_EQ(back, 1) << format << ": " << ErrorText();
    EXPECT_EQ(Get<double>(NRXGetDataEntry, back, 1, 2), 6.0) << format;
    EXPECT_EQ(Get<double>(NRXGetDataEntry, back, 0, 1), 2.0) << format;
    EXPECT_EQ(Get<int32_t>(NRXGetDataCaseType, back, 1), NRX_CASE_TEST) << format;
    EXPECT_EQ(Name(NRXGetDataCaseName, back, 1), "second") << format;
    Ok(NRXFreeDataSet(back));
  }
}

}  // namespace
}  // namespace nrx_test
