// Saving and loading hand each of their arguments to the engine's writers and
// readers: options that differ per call show a swap.

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

TEST_F(NrxDataFileTest, EachOptionReachesTheWriterAndTheReader) {
  const int32_t ds = MakeDataSet(1, 1, {{1.5, 2}, {3, 4}});
  Ok(NRXSetDataCaseName(ds, 0, "first"));
  Ok(NRXSetDataCaseTypes(ds, 1, 1, NRX_CASE_TEST));
  Ok(NRXSaveDataSet(ds, Path("a").c_str(), 2, 1, 0, 1, ';'));
  // A case without a name is written as its number.
  EXPECT_EQ(Read("a"), "first;TRAIN;1.5;2\n02;TEST;3;4\n");
  Ok(NRXSaveDataSet(ds, Path("b").c_str(), 2, 0, 1, 0, '|'));
  EXPECT_EQ(Read("b"), "VAR1|VAR2\n1.5|2\n3|4\n");
  // A header and no case names; '|' separates and a field beginning "3" is missing.
  const int32_t back = NRXLoadDataSet(Path("b").c_str(), 2, 0, 1, '|', "3");
  ASSERT_EQ(back, 1) << ErrorText();
  EXPECT_EQ(Name(NRXGetDataVariableName, back, 1), "VAR2");
  EXPECT_EQ(Get<double>(NRXGetDataEntry, back, 1, 0), NRXMissingValue());
  EXPECT_EQ(Get<double>(NRXGetDataEntry, back, 1, 1), 4.0);
}

}  // namespace
}  // namespace nrx_test
