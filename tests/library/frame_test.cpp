// The frame seen from a caller: slots, handles, the error text and the
// missing-value marker.

#include <cstring>
#include <vector>

#include "library_test_support.h"

namespace nrx_test {
namespace {

using NrxFrameTest = LibraryTest;

TEST_F(NrxFrameTest, MissingValueIsTheSmallestNormalFloat) {
  EXPECT_EQ(NRXMissingValue(), 1.1754943508222875e-38);
  EXPECT_EQ(NRXMissingValue(), static_cast<double>(1.17549435e-38f));
}

TEST_F(NrxFrameTest, SixtyFifthCreateFailsAndAFreedSlotIsReusedFirst) {
  const Design design;
  for (int i = 0; i < kSlots; ++i) ASSERT_EQ(design.Create(), i) << ErrorText();
  EXPECT_EQ(design.Create(), -1);
  EXPECT_EQ(ErrorText(), "Too many Networks loaded");

  ASSERT_EQ(NRXFreeNetwork(5), 1);
  ASSERT_EQ(NRXFreeNetwork(9), 1);
  EXPECT_EQ(design.Create(), 5);
  EXPECT_EQ(design.Create(), 9);
  EXPECT_EQ(design.Create(), -1);
}

TEST_F(NrxFrameTest, HandlesOutsideTheTableAndEmptySlotsAreRefused) {
  int32_t layers = 0;
  for (int32_t bad : {64, 65, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(NRXGetNetworkNoLayers(bad, &layers), 0);
    EXPECT_EQ(ErrorText(), "Network index out of range") << bad;
    EXPECT_EQ(NRXFreeNetwork(bad), 0);
    EXPECT_EQ(NRXCopyNetwork(bad), -1);
    EXPECT_EQ(ErrorText(), "Network index out of range") << bad;
  }
  EXPECT_EQ(NRXGetNetworkNoLayers(3, &layers), 0);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
  EXPECT_EQ(NRXFreeNetwork(3), 0);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
  EXPECT_EQ(layers, 0) << "a failed get must not write its out-argument";
}

TEST_F(NrxFrameTest, FreeEmptiesTheSlotOnce) {
  const int32_t net = Design{}.Create();
  ASSERT_EQ(net, 0);
  EXPECT_EQ(NRXFreeNetwork(net), 1);
  EXPECT_EQ(NRXFreeNetwork(net), 0);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
  int32_t layers = 0;
  EXPECT_EQ(NRXGetNetworkNoLayers(net, &layers), 0);
}

TEST_F(NrxFrameTest, SuccessNeverClearsTheErrorText) {
  EXPECT_EQ(NRXFreeNetwork(70), 0);
  const int32_t net = Design{}.Create();
  ASSERT_GE(net, 0);
  int32_t layers = 0;
  ASSERT_EQ(NRXGetNetworkNoLayers(net, &layers), 1);
  EXPECT_EQ(ErrorText(), "Network index out of range");

  // A later failure replaces it.
  EXPECT_EQ(NRXSetNetworkSteps(net, 0), 0);
  EXPECT_EQ(ErrorText(), "Number of steps out of bounds");
}

TEST_F(NrxFrameTest, ErrorMessageWithoutABufferFailsAndKeepsTheText) {
  MarkErrorText();
  EXPECT_EQ(NRXErrorMessage(nullptr), 0);
  EXPECT_EQ(ErrorText(), kMarkText);
}

TEST_F(NrxFrameTest, ErrorMessageWritesNoMoreThanItsBufferSize) {
  MarkErrorText();
  char buffer[NRX_ERROR_BUFFER_SIZE + 16];
  std::memset(buffer, '#', sizeof buffer);
  ASSERT_EQ(NRXErrorMessage(buffer), 1);
  EXPECT_STREQ(buffer, kMarkText);
  for (std::size_t i = std::strlen(kMarkText) + 1; i < sizeof buffer; ++i) {
    EXPECT_EQ(buffer[i], '#') << "byte " << i << " written past the text";
  }
}

TEST_F(NrxFrameTest, CopyIsDeepAndGetsTheLowestFreeSlot) {
  Design design;
  design.units = {1, 2, 1};
  const int32_t a = design.Create();
  const int32_t b = design.Create();
  ASSERT_EQ(NRXFreeNetwork(a), 1);
  ASSERT_EQ(NRXSetNetworkWeight(b, 0, 0, 1, 1, 0.25), 1);
  ASSERT_EQ(NRXSetNetworkUnitName(b, 1, 0, "hidden"), 1);

  const int32_t copy = NRXCopyNetwork(b);
  EXPECT_EQ(copy, a);
  EXPECT_EQ(Weight(copy, 0, 0, 1), 0.25);
  char name[NRX_NAME_BUFFER_SIZE];
  ASSERT_EQ(NRXGetNetworkUnitName(copy, 1, 0, name), 1);
  EXPECT_STREQ(name, "hidden");

  // Changing either leaves the other alone.
  ASSERT_EQ(NRXSetNetworkWeight(copy, 0, 0, 1, 1, -3.0), 1);
  ASSERT_EQ(NRXAddNetworkUnits(b, 1, -1, 2), 1);
  EXPECT_EQ(Weight(b, 0, 0, 1), 0.25);
  EXPECT_EQ(LayerUnits(copy, 1), 2);
  EXPECT_EQ(LayerUnits(b, 1), 4);
}

TEST_F(NrxFrameTest, CopyChecksItsSourceBeforeTheFreeSlot) {
  const Design design;
  for (int i = 0; i < kSlots; ++i) ASSERT_EQ(design.Create(), i);
  EXPECT_EQ(NRXCopyNetwork(64), -1);
  EXPECT_EQ(ErrorText(), "Network index out of range");
  EXPECT_EQ(NRXCopyNetwork(0), -1);
  EXPECT_EQ(ErrorText(), "Too many Networks loaded");

  ASSERT_EQ(NRXFreeNetwork(7), 1);
  EXPECT_EQ(NRXCopyNetwork(7), -1);
  EXPECT_EQ(ErrorText(), "No network loaded with this index");
  EXPECT_EQ(NRXCopyNetwork(8), 7);
}

}  // namespace
}  // namespace nrx_test
