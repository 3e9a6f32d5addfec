// The frame: start-up, the error text and the sink the engine reports
// through, the boundary that turns exceptions into recorded failures, the
// limits of what is delivered, and each table's 64 slots with the training
// settings every filled network slot carries. Linked against the library's
// objects, whose internals the shared object hides.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "checks.h"
#include "common/status.h"
#include "engine_state.h"
#include "entry_point.h"
#include "frame.h"
#include "library_test_support.h"
#include "slot_snapshot.h"

namespace nrx {
namespace {

using nrx_test::Design;
using nrx_test::kSlots;
using nrx_test::MakeDataSet;
using NrxFrameTest = nrx_test::LibraryTest;
using nrx_test::ErrorText;
using nrx_test::Ok;

// Start-up empties the error text whatever was recorded before it.
TEST_F(NrxFrameTest, StartUpClearsTheErrorText) {
  LastError().Record("before");
  EXPECT_EQ(ErrorText(), "");
}

TEST_F(NrxFrameTest, TheEngineReportsIntoTheLastErrorCutTo128Characters) {
  NRXMissingValue();  // start-up
  const std::string message = std::string(127, 'a') + "bc";
  for (std::size_t length : {129, 128}) {
    tavrin::RecordError(message.substr(0, length));
    EXPECT_EQ(ErrorText(), message.substr(0, 128));
  }
}

TEST_F(NrxFrameTest, TheBoundaryTurnsExceptionsIntoRecordedFailures) {
  EXPECT_EQ(Guarded(kNoSlot, "no room", []() -> std::int32_t { throw std::bad_alloc(); }), kNoSlot);
  EXPECT_EQ(ErrorText(), "no room");
  EXPECT_EQ(Guarded(kFailure, "", []() -> std::int32_t { throw std::runtime_error("?"); }),
            kFailure);
  EXPECT_EQ(ErrorText(), "Internal error: unexpected failure");
}

// Stored values beyond what the interface itself sets (possible from damaged
// files): a class or code is delivered truncated and clamped, a name cut to
// what a caller's buffer holds.
TEST_F(NrxFrameTest, StoredValuesAreDeliveredWithinTheirLimits) {
  const std::int32_t max = INT32_MAX, min = INT32_MIN;
  const std::pair<double, std::int32_t> truncations[] = {
      {2.9, 2}, {-2.9, -2}, {1e10, max}, {-1e10, min}, {std::nan(""), 0}};
  for (const auto& [stored, delivered] : truncations) {
    EXPECT_EQ(TruncateToInt32(stored), delivered) << stored;
  }
  char buffer[NRX_NAME_BUFFER_SIZE + 8];
  CopyName(std::string(300, 'n'), buffer);
  EXPECT_EQ(std::string(buffer), std::string(NRX_MAX_NAME_LENGTH, 'n'));
}

// A weight block that does not join two layers whole, which no network the
// engine makes has, offers no weight.
TEST_F(NrxFrameTest, APartialWeightBlockOffersNoWeight) {
  const std::int32_t net = Design{.units = {2, 3}}.Create();
  tavrin::Connection& block = Networks()[net].network->layers[1].connections[0];
  --block.no_to;
  double weight = 0.0;
  EXPECT_EQ(NRXGetNetworkWeight(net, 0, 0, 1, 0, &weight), 0);
  EXPECT_EQ(ErrorText(), "Only connections between successive layers can be set");
  ++block.no_to;  // whole again for the engine's clean-up
}

TEST_F(NrxFrameTest, EachTableHasItsOwn64SlotsFilledLowestFirst) {
  for (int32_t i = 0; i < kSlots; ++i) {
    ASSERT_EQ(Design{}.Create(), i) << ErrorText();
    ASSERT_EQ(NRXCreateDataSet(i % 2, 1 - i % 2), i) << ErrorText();  // inputs or outputs only
  }
  // A full table is reported before bad arguments.
  const auto expect_refused = [](int32_t result, const char* message) {
    EXPECT_EQ(result, -1) << message;
    EXPECT_EQ(ErrorText(), message);
  };
  expect_refused(Design{.no_inputs = -1}.Create(), "Too many Networks loaded");
  expect_refused(NRXCopyNetwork(0), "Too many Networks loaded");
  expect_refused(NRXCreateDataSet(-1, 0), "Too many Data Sets loaded");
  expect_refused(NRXLoadDataSet(nullptr, -1, 0, 0, ',', nullptr), "Too many Data Sets loaded");
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

// A copy holds what its source held, but its own fresh training settings,
// which go with the slot.
TEST_F(NrxFrameTest, ACopyHoldsWhatItsSourceHeld) {
  const int32_t net = Design{.units = {1, 2, 1}}.Create();
  const int32_t ds = MakeDataSet(1, 1, {{1, 2}, {3, 4}});
  Ok(NRXSetWeigend(net, 0.5, 3.0));
  ASSERT_EQ(NRXCopyNetwork(net), 1) << ErrorText();
  ASSERT_EQ(NRXCopyDataSet(ds), 1) << ErrorText();
  EXPECT_TRUE(nrx_test::NetworkSnapshot(1) == nrx_test::NetworkSnapshot(net));
  EXPECT_TRUE(nrx_test::DataSetSnapshot(1) == nrx_test::DataSetSnapshot(ds));
  EXPECT_EQ(Networks()[net].training->weigend_lambda, 0.5);
  EXPECT_EQ(Networks()[1].training->weigend_lambda, 0.0);
  Ok(NRXFreeNetwork(net));
  EXPECT_EQ(Networks()[net].training, nullptr);
}

TEST_F(NrxFrameTest, TheErrorTextStaysUntilTheNextFailure) {
  NRXFreeNetwork(-1);
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

TEST_F(NrxFrameTest, TheMissingValue) {
  EXPECT_EQ(NRXMissingValue(), static_cast<double>(1.17549435e-38f));
}

}  // namespace
}  // namespace nrx
