// The frame from inside: the error sink the engine reports through and the
// boundary that turns exceptions into recorded failures. Linked against the
// library's objects rather than the shared object, whose internals are hidden.

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "common/status.h"
#include "engine_state.h"
#include "entry_point.h"
#include "frame.h"
#include "nrx32.h"

namespace nrx {
namespace {

std::string ErrorText() {
  char buffer[NRX_ERROR_BUFFER_SIZE];
  EXPECT_EQ(NRXErrorMessage(buffer), 1);
  return buffer;
}

TEST(NrxFrameInternalTest, StartUpInstallsTheLibrarySinkIntoTheEngine) {
  NRXMissingValue();
  EXPECT_EQ(tavrin::Engine().error_sink, &LastError());
  tavrin::RecordError("from deep inside the engine");
  EXPECT_EQ(ErrorText(), "from deep inside the engine");
}

TEST(NrxFrameInternalTest, LongMessagesAreCutTo128Characters) {
  NRXMissingValue();
  std::string message;
  for (int i = 0; i < 200; ++i) message += static_cast<char>('a' + i % 26);

  tavrin::RecordError(message);
  EXPECT_EQ(ErrorText(), message.substr(0, 128));

  tavrin::RecordError(message.substr(0, 128));
  EXPECT_EQ(ErrorText(), message.substr(0, 128));
  tavrin::RecordError(message.substr(0, 127));
  EXPECT_EQ(ErrorText(), message.substr(0, 127));
}

TEST(NrxFrameInternalTest, TheBoundaryTurnsExceptionsIntoRecordedFailures) {
  NRXMissingValue();
  EXPECT_EQ(
      Guarded(kNoSlot, "out of memory here", []() -> std::int32_t { throw std::bad_alloc(); }),
      kNoSlot);
  EXPECT_EQ(ErrorText(), "out of memory here");

  EXPECT_EQ(Guarded(kFailure, tavrin::kNotEnoughMemory,
                    []() -> std::int32_t { throw std::length_error("vector"); }),
            kFailure);
  EXPECT_EQ(ErrorText(), "Not enough memory to perform operation");

  EXPECT_EQ(Guarded(kFailure, tavrin::kNotEnoughMemory,
                    []() -> std::int32_t { throw std::runtime_error("surprise"); }),
            kFailure);
  EXPECT_EQ(ErrorText(), "Internal error: unexpected failure");

  EXPECT_EQ(Guarded(kFailure, tavrin::kNotEnoughMemory, [] { return kSuccess; }), kSuccess);
  EXPECT_EQ(ErrorText(), "Internal error: unexpected failure") << "a success keeps the text";
}

TEST(NrxFrameInternalTest, ANetworkExportThatRunsOutOfMemoryLeavesItsSlotAsItWas) {
  const std::int32_t units[] = {1, 1};
  const std::int32_t net = NRXCreateNetwork(0, 1, 1, 2, 0, 1, nullptr, nullptr, units, units);
  ASSERT_GE(net, 0);
  const tavrin::Network* before = Networks()[net].network.get();
  EXPECT_EQ(OnNetwork(net, {.memory = "no room"},
                      [](tavrin::Network&) -> bool { throw std::bad_alloc(); }),
            kFailure);
  EXPECT_EQ(ErrorText(), "no room");
  EXPECT_EQ(Networks()[net].network.get(), before);
  EXPECT_NE(Networks()[net].training, nullptr);
  EXPECT_EQ(NRXFreeNetwork(net), 1);
}

TEST(NrxFrameInternalTest, FilledSlotsCarryDefaultTrainingSettings) {
  const std::int32_t units[] = {1, 1};
  const std::int32_t net = NRXCreateNetwork(0, 1, 1, 2, 0, 1, nullptr, nullptr, units, units);
  ASSERT_GE(net, 0);
  const std::int32_t copy = NRXCopyNetwork(net);
  ASSERT_GE(copy, 0);
  for (std::int32_t slot : {net, copy}) {
    const TrainingSettings* t = Networks()[slot].training.get();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->target_error, 0.0);
    EXPECT_EQ(t->target_verification_error, 0.0);
    EXPECT_EQ(t->error_improvement, 0.0);
    EXPECT_EQ(t->verification_improvement, 0.0);
    EXPECT_EQ(t->window, 0);
    EXPECT_EQ(t->epochs, 100);
    EXPECT_EQ(t->retain_best, 1);
    EXPECT_EQ(t->weigend_lambda, 0.0);
    EXPECT_EQ(t->weigend_scale, 1.0);
  }
  // Freeing empties both parts of the slot.
  EXPECT_EQ(NRXFreeNetwork(net), 1);
  EXPECT_EQ(Networks()[net].training, nullptr);
  EXPECT_EQ(NRXFreeNetwork(copy), 1);
}

TEST(NrxFrameInternalTest, CreateMakesTheNewNetworkActiveAndFreeForgetsIt) {
  const std::int32_t units[] = {1, 1};
  const std::int32_t net = NRXCreateNetwork(0, 1, 1, 2, 0, 1, nullptr, nullptr, units, units);
  ASSERT_GE(net, 0);
  EXPECT_EQ(tavrin::Engine().active_network, Networks()[net].network.get());
  EXPECT_EQ(NRXFreeNetwork(net), 1);
  EXPECT_EQ(tavrin::Engine().active_network, nullptr);
}

}  // namespace
}  // namespace nrx
