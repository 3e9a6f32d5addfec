// Both stored forms of a network, the text file and the binary image: what is
// written reads back as the same network, for every kind, every function and
// the values at the edges.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "file_test_support.h"

namespace tavrin::testing {
namespace {

class NetworkRoundTripTest : public EngineTest,
                             public ::testing::WithParamInterface<NetworkFormat> {
 protected:
  std::unique_ptr<Network> WrittenAndRead(const Network& net) {
    auto read = Read(GetParam(), Written(GetParam(), net));
    EXPECT_NE(read, nullptr) << last_message();
    return read;
  }
  void ExpectReadBackWhole(const Network& net) {
    auto read = WrittenAndRead(net);
    if (read) ExpectSameNetwork(*read, WithoutActivations(net));
  }
};

INSTANTIATE_TEST_SUITE_P(BothForms, NetworkRoundTripTest, ::testing::Values(kTextFile, kImage),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(NetworkRoundTripTest, EveryKindReadsBack) {
  for (const auto& kind : EveryKind()) {
    SCOPED_TRACE(kind.label);
    auto net = BuildKind(kind);
    ASSERT_NE(net, nullptr) << last_message();
    ExpectReadBackWhole(*net);
  }
}

TEST_P(NetworkRoundTripTest, EveryFunctionAndCodingChoiceReadsBack) {
  // One layer per activation function, the PSP functions in turn.
  Network net = MakeNetwork(std::vector<int>(kActivationFunctionCount, 2));
  for (int l = 0; l < kActivationFunctionCount; ++l) {
    net.layers[l].act_fn = static_cast<ActivationFunction>(l);
    net.layers[l].psp_fn = static_cast<PspFunction>(l % kPspFunctionCount);
  }
  VariableCoding& c = net.coding;
  for (int e = 0; e < kErrorFunctionCount; ++e) {
    for (int norm = 0; norm < kOutputNormalisationCount; ++norm) {
      SCOPED_TRACE(std::to_string(e) + " " + std::to_string(norm));
      net.error_fn = static_cast<ErrorFunction>(e);
      c.input_normalisation = norm % kInputNormalisationCount;
      c.output_normalisation = norm;
      c.classify_by = norm % 2;
      for (int v = 0; v < c.no_variables(); ++v) {
        c.conversion[v] =
            (e + v) % (c.is_output(v) ? kOutputConversionCount : kInputConversionCount);
        c.missing_fn[v] = (norm + v) % kMissingFunctionCount;
      }
      // Without value names every conversion takes one unit.
      c.RecountUnits();
      c.substitutes.assign(static_cast<std::size_t>(c.no_normed_inputs + c.no_normed_outputs), 0);
      ApplyPairingRule(net);
      ExpectReadBackWhole(net);
    }
  }
}

TEST_P(NetworkRoundTripTest, EdgeValuesReadBackExactly) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  Network net = MakeNetwork({2, 1});
  net.layers[1].connections[0].weights = {MISSING, -kInf};
  net.layers[1].thresholds[0] = -0.0;
  net.layers[0].thresholds = {0.123456789, -1234567.0};
  net.layers[0].classes = {MISSING, 0.5};
  net.coding.substitutes = {MISSING, 1e-300, std::numeric_limits<double>::denorm_min()};
  net.coding.shift[0] = MISSING;
  net.coding.accept = 2.0 / 3.0;
  net.coding.nominals[2] = {"only"};  // a list of one value name
  net.coding.conversion[2] = static_cast<double>(ConversionFunction::kOneOfN);
  net.layers[1].act_fn = ActivationFunction::kSoftmax;
  net.error_fn = ErrorFunction::kEntropyMultiple;
  auto read = WrittenAndRead(net);
  ASSERT_NE(read, nullptr);
  // The output delta follows the functions, not what the network held.
  net.output_delta = true;
  ExpectSameNetwork(*read, net);
  EXPECT_TRUE(std::signbit(read->layers[1].thresholds[0]));
}

}  // namespace
}  // namespace tavrin::testing
