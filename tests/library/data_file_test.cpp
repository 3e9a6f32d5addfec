// Loading and saving data set files through the library.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "library_test_support.h"

namespace nrx_test {
namespace {

namespace fs = std::filesystem;

class DataFileTest : public LibraryTest {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("tavrin-nrx-files-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    LibraryTest::TearDown();
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  void Write(const std::string& path, const std::string& text) const {
    std::ofstream(path, std::ios::binary) << text;
  }

  fs::path dir_;
};

TEST_F(DataFileTest, LoadChecksComeInOrder) {
  EXPECT_EQ(NRXLoadDataSet(nullptr, 1, 0, 0, ',', nullptr), -1);
  EXPECT_EQ(ErrorText(), "No input file name given");
  EXPECT_EQ(NRXLoadDataSet(Path("x").c_str(), 4, 0, 0, ',', nullptr), -1);
  EXPECT_EQ(ErrorText(), "Unrecognised Data Set Format");
  EXPECT_EQ(NRXLoadDataSet(Path("absent").c_str(), 1, 0, 0, ',', nullptr), -1);
  EXPECT_EQ(ErrorText(),
            "Cannot open Data Set file for reading: absent: No such file or directory");
  for (int i = 0; i < kSlots; ++i) ASSERT_EQ(NRXCreateDataSet(1, 0), i);
  EXPECT_EQ(NRXLoadDataSet(Path("x").c_str(), 1, 0, 0, ',', nullptr), -1);
  EXPECT_EQ(ErrorText(), "Too many Data Sets loaded");
}

TEST_F(DataFileTest, DelimitedTextWithCaseNamesSubsetsAndMissingText) {
  Write(Path("in.txt"), "id\tNNTYPE\tsize\tkind\nA\tverify\t1.5\tbig\nB\tTEST\tNA\tsmall\n");
  const int32_t ds = NRXLoadDataSet(Path("in.txt").c_str(), 2, 1, 1, '\t', "NA");
  ASSERT_EQ(ds, 0) << ErrorText();
  int32_t count = 0;
  EXPECT_EQ(NRXGetDataNoVariables(ds, &count), 1);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(NRXGetDataNoVerification(ds, &count), 1);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(NRXGetDataNoTest(ds, &count), 1);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(Entry(ds, 0, 0), 1.5);
  EXPECT_EQ(Entry(ds, 1, 0), NRXMissingValue());
  EXPECT_EQ(Entry(ds, 1, 1), 2.0);
  char text[NRX_NAME_BUFFER_SIZE];
  EXPECT_EQ(NRXGetDataCaseName(ds, 1, text), 1);
  EXPECT_STREQ(text, "B");
  EXPECT_EQ(NRXGetDataNominal(ds, 1, 0, text), 1);
  EXPECT_STREQ(text, "big");
}

TEST_F(DataFileTest, EveryFormatRoundTripsThroughTheLibrary) {
  const int32_t ds = MakeDataSet(2, 1, {{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}});
  ASSERT_EQ(NRXSetDataCaseName(ds, 1, "second"), 1);
  ASSERT_EQ(NRXSetDataCaseTypes(ds, 1, 1, 2), 1);
  const char* names[] = {"a.kvm", "a.bin", "a.csv", "a.pat"};
  for (int32_t format = 0; format < 4; ++format) {
    const std::string path = Path(names[format]);
    ASSERT_EQ(NRXSaveDataSet(ds, path.c_str(), format, 1, 1, 1, ','), 1) << ErrorText();
    const int32_t back = NRXLoadDataSet(path.c_str(), format, 1, 1, ',', nullptr);
    ASSERT_GE(back, 0) << "format " << format << ": " << ErrorText();
    EXPECT_EQ(Entry(back, 1, 2), 6.0) << format;
    EXPECT_EQ(Entry(back, 0, 1), 2.0) << format;
    int32_t type = -1;
    EXPECT_EQ(NRXGetDataCaseType(back, 1, &type), 1);
    EXPECT_EQ(type, 2) << format;
    char text[NRX_NAME_BUFFER_SIZE];
    EXPECT_EQ(NRXGetDataCaseName(back, 1, text), 1);
    EXPECT_STREQ(text, "second") << format;
    NRXFreeDataSet(back);
  }
}

TEST_F(DataFileTest, SaveRefusalsLeaveTheOldFile) {
  const int32_t ds = MakeDataSet(1, 1, {{1.0, 2.0}});
  EXPECT_EQ(NRXSaveDataSet(ds, "", 1, 0, 0, 0, ','), 0);
  EXPECT_EQ(ErrorText(), "No output file name given");
  EXPECT_EQ(NRXSaveDataSet(ds, Path("f").c_str(), -1, 0, 0, 0, ','), 0);
  EXPECT_EQ(ErrorText(), "File format out of range");
  EXPECT_EQ(NRXSaveDataSet(64, Path("f").c_str(), 1, 0, 0, 0, ','), 0);
  EXPECT_EQ(ErrorText(), "Data Set index out of range");
  Write(Path("old.csv"), "kept\n");
  ASSERT_EQ(NRXSetDataCaseName(ds, 0, "a\nb"), 1);  // text has no line breaks in a field
  EXPECT_EQ(NRXSaveDataSet(ds, Path("old.csv").c_str(), 2, 1, 1, 0, ','), 0);
  std::ifstream kept(Path("old.csv"));
  std::string line;
  std::getline(kept, line);
  EXPECT_EQ(line, "kept");
}

}  // namespace
}  // namespace nrx_test
