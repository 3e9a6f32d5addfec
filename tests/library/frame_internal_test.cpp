// The frame from inside: the error sink the engine reports through, the
// boundary that turns exceptions into recorded failures, the limits of what
// is delivered, and the training settings every filled slot carries. Linked against the library's
// objects rather than the shared object, whose internals are hidden.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

namespace nrx {
namespace {

using nrx_test::ErrorText;
using nrx_test::Ok;

TEST(NrxFrameInternalTest, TheEngineReportsIntoTheLastErrorCutTo128Characters) {
  NRXMissingValue();  // start-up
  EXPECT_EQ(tavrin::Engine().error_sink, &LastError());
  std::string message;
  for (int i = 0; i < 200; ++i) message += static_cast<char>('a' + i % 26);
  for (std::size_t length : {200, 129, 128, 127}) {
    tavrin::RecordError(message.substr(0, length));
    EXPECT_EQ(ErrorText(), message.substr(0, std::min<std::size_t>(length, 128)));
  }
}

TEST(NrxFrameInternalTest, TheBoundaryTurnsExceptionsIntoRecordedFailures) {
  EXPECT_EQ(Guarded(kNoSlot, "no room", []() -> std::int32_t { throw std::bad_alloc(); }), kNoSlot);
  EXPECT_EQ(ErrorText(), "no room");
  EXPECT_EQ(Guarded(kFailure, "too big", []() -> std::int32_t { throw std::length_error("v"); }),
            kFailure);
  EXPECT_EQ(ErrorText(), "too big");
  EXPECT_EQ(Guarded(kFailure, "", []() -> std::int32_t { throw std::runtime_error("?"); }),
            kFailure);
  EXPECT_EQ(ErrorText(), "Internal error: unexpected failure");
  EXPECT_EQ(Guarded(kFailure, "", [] { return kSuccess; }), kSuccess);
}

// Stored values beyond what the interface itself sets (possible from damaged
// files): a class or code is delivered truncated and clamped, a name cut to
// what a caller's buffer holds.
TEST(NrxFrameInternalTest, StoredValuesAreDeliveredWithinTheirLimits) {
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

TEST(NrxFrameInternalTest, FilledSlotsCarryFreshTrainingSettings) {
  const std::int32_t net = nrx_test::Design{}.Create();
  Ok(NRXSetWeigend(net, 0.5, 3.0));
  const std::int32_t copy = NRXCopyNetwork(net);
  ASSERT_GE(copy, 0);
  EXPECT_EQ(Networks()[net].training->weigend_lambda, 0.5);
  EXPECT_EQ(Networks()[copy].training->weigend_lambda, 0.0) << "a copy starts afresh";
  Ok(NRXFreeNetwork(net));
  EXPECT_EQ(Networks()[net].training, nullptr);
  Ok(NRXFreeNetwork(copy));
}

}  // namespace
}  // namespace nrx
