// Loading and saving hand each of their arguments to the engine's readers and
// writers: options that differ per call show a swap.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "library_test_support.h"

namespace nrx_test {
namespace {

class NrxDataFileTest : public LibraryTest {
 protected:
  void TearDown() override {
    for (const char* name : {"a", "b"}) std::remove(Path(name).c_str());
    LibraryTest::TearDown();
  }
  // A file of this test's own, as tests may run side by side.
  static std::string Path(const char* name) {
    return ::testing::TempDir() + "nrx-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "." + name;
  }
  static std::string Read(const char* name) {
    std::ostringstream text;
    text << std::ifstream(Path(name), std::ios::binary).rdbuf();
    return text.str();
  }
};

TEST_F(NrxDataFileTest, LoadingHandsEachOptionToTheReader) {
  // Case names and no header; ';' separates and "NA" marks a missing field.
  std::ofstream(Path("a")) << "first;1.5;NA\nsecond;NA;2\n";
  const int32_t ds = NRXLoadDataSet(Path("a").c_str(), 2, 1, 0, ';', "NA");
  ASSERT_EQ(ds, 0) << ErrorText();
  EXPECT_EQ(Get<int32_t>(NRXGetDataNoVariables, ds), 2);
  EXPECT_EQ(Name(NRXGetDataCaseName, ds, 1), "second");
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 0, 0), 1.5);
  EXPECT_EQ(Get<double>(NRXGetDataEntry, ds, 0, 1), NRXMissingValue());
}

TEST_F(NrxDataFileTest, SavingHandsEachOptionToTheWriter) {
  const int32_t ds = MakeDataSet(1, 1, {{1.5, 2}, {3, 4}});
  Ok(NRXSetDataCaseName(ds, 0, "first"));
  Ok(NRXSetDataCaseTypes(ds, 1, 1, NRX_CASE_TEST));
  Ok(NRXSaveDataSet(ds, Path("a").c_str(), 2, 1, 0, 1, ';'));
  // A case without a name is written as its number.
  EXPECT_EQ(Read("a"), "first;TRAIN;1.5;2\n02;TEST;3;4\n");
  Ok(NRXSaveDataSet(ds, Path("b").c_str(), 2, 0, 1, 0, '|'));
  EXPECT_EQ(Read("b"), "VAR1|VAR2\n1.5|2\n3|4\n");
}

}  // namespace
}  // namespace nrx_test
