// The frame seen from a caller: each table's 64 slots, filled lowest first,
// deep copies, and the rules of the error text.

#include <cstring>

#include "library_test_support.h"
#include "slot_snapshot.h"

namespace nrx_test {
namespace {

using NrxFrameTest = LibraryTest;

TEST_F(NrxFrameTest, EachTableHasItsOwn64SlotsFilledLowestFirst) {
  for (int32_t i = 0; i < kSlots; ++i) {
    ASSERT_EQ(Design{}.Create(), i) << ErrorText();
    ASSERT_EQ(NRXCreateDataSet(i % 2, 1 - i % 2), i) << ErrorText();  // inputs or outputs only
  }
  // A full table is reported before bad arguments, but after a bad source.
  const auto expect_refused = [](int32_t result, const char* message) {
    EXPECT_EQ(result, -1) << message;
    EXPECT_EQ(ErrorText(), message);
  };
  expect_refused(Design{.no_inputs = -1}.Create(), "Too many Networks loaded");
  expect_refused(NRXCopyNetwork(kSlots), "Network index out of range");
  expect_refused(NRXCopyNetwork(0), "Too many Networks loaded");
  expect_refused(NRXCreateDataSet(-1, 0), "Too many Data Sets loaded");
  expect_refused(NRXLoadDataSet(nullptr, -1, 0, 0, ',', nullptr), "Too many Data Sets loaded");
  expect_refused(NRXCopyDataSet(kSlots), "Data Set index out of range");
  expect_refused(NRXCopyDataSet(0), "Too many Data Sets loaded");
  for (int32_t slot : {9, 0}) {
    Ok(NRXFreeNetwork(slot));
    Ok(NRXFreeDataSet(slot));
  }
  EXPECT_EQ(NRXCopyNetwork(5), 0);
  EXPECT_EQ(Design{}.Create(), 9);
  EXPECT_EQ(NRXCopyDataSet(5), 0);
  EXPECT_EQ(NRXCreateDataSet(1, 1), 9);
}

TEST_F(NrxFrameTest, ACopyOutlivesItsOriginal) {
  const int32_t net = Design{.units = {1, 2, 1}}.Create();
  const int32_t ds = MakeDataSet(1, 1, {{1, 2}, {3, 4}});
  const Snapshot network = NetworkSnapshot(net), data_set = DataSetSnapshot(ds);
  ASSERT_EQ(NRXCopyNetwork(net), 1) << ErrorText();
  ASSERT_EQ(NRXCopyDataSet(ds), 1) << ErrorText();
  Ok(NRXAddNetworkUnits(net, 1, -1, 2));
  Ok(NRXFreeNetwork(net));
  Ok(NRXAddDataCases(ds, -1, 3));
  Ok(NRXFreeDataSet(ds));
  EXPECT_TRUE(NetworkSnapshot(1) == network);
  EXPECT_TRUE(DataSetSnapshot(1) == data_set);
}

TEST_F(NrxFrameTest, TheErrorTextStaysUntilTheNextFailure) {
  MarkErrorText();
  const std::string mark = ErrorText();
  EXPECT_EQ(NRXCreateDataSet(1, 1), 0);
  EXPECT_EQ(ErrorText(), mark) << "a success never clears it";
  EXPECT_EQ(NRXErrorMessage(nullptr), 0);
  EXPECT_EQ(ErrorText(), mark);
  // The copy is the text and its NUL, nothing more.
  char buffer[NRX_ERROR_BUFFER_SIZE + 16];
  std::memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(NRXErrorMessage(buffer), 1);
  EXPECT_EQ(std::string(buffer), mark);
  for (std::size_t i = mark.size() + 1; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << i;
  EXPECT_EQ(NRXSetNetworkSteps(0, 1), 0);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
}

TEST_F(NrxFrameTest, TheMissingValueAndTheVersion) {
  EXPECT_EQ(NRXMissingValue(), static_cast<double>(1.17549435e-38f));
  EXPECT_EQ(NRXVersion(), NRX_VERSION);
}

}  // namespace
}  // namespace nrx_test
