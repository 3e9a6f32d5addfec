// Both stored forms of a network, the text file and the binary image: what is
// written reads back as the same network, which runs the same, for every kind,
// every function and the values at the edges; and what cannot be written
// whole is reported.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "network/forward_run.h"

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

// The output layer's activations, bit for bit, for inputs of each kind.
std::vector<std::uint64_t> OutputsOf(Network net) {
  std::vector<std::uint64_t> bits;
  for (const double nominal : {1.0, 3.0, MISSING}) {
    std::vector<double> raw(static_cast<std::size_t>(net.coding.no_inputs * net.coding.steps));
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = i % 2 == 0 ? 0.75 - i : nominal;
    std::vector<double> out(static_cast<std::size_t>(RunOutputSize(net, RunOutput::kOutputLayer)));
    RunForwardAs(net, raw.data(), RunOutput::kOutputLayer, out.data());
    for (double x : out) bits.push_back(std::bit_cast<std::uint64_t>(x));
  }
  return bits;
}

TEST_P(NetworkRoundTripTest, EveryKindReadsBackAndRunsTheSame) {
  for (const auto& kind : EveryKind()) {
    SCOPED_TRACE(kind.label);
    auto net = BuildKind(kind);
    ASSERT_NE(net, nullptr) << last_message();
    auto read = WrittenAndRead(*net);
    ASSERT_NE(read, nullptr);
    const Network written = WithoutActivations(*net);
    ExpectSameNetwork(*read, written);
    EXPECT_EQ(OutputsOf(*read), OutputsOf(written));
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
  auto read = WrittenAndRead(net);
  ASSERT_NE(read, nullptr);
  ExpectSameNetwork(*read, net);
  EXPECT_TRUE(std::signbit(read->layers[1].thresholds[0]));
}

TEST_P(NetworkRoundTripTest, NetworksWithoutInputOrOutputVariablesReadBack) {
  for (const auto& [inputs, outputs] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{0, 0}}) {
    SCOPED_TRACE(std::to_string(inputs) + " inputs, " + std::to_string(outputs) + " outputs");
    ExpectReadBackWhole(MakeNetwork(NetworkType::kMlp, {1, 1}, inputs, outputs));
  }
}

// The output delta follows the functions, not what the network held.
TEST_P(NetworkRoundTripTest, ReadingAppliesThePairingRule) {
  Network net = MakeNetwork({2, 2});
  net.layers[1].act_fn = ActivationFunction::kSoftmax;
  net.error_fn = ErrorFunction::kEntropyMultiple;
  auto read = WrittenAndRead(net);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->output_delta);
}

// A stream that takes only so many bytes.
class LimitedBuffer : public std::streambuf {
 public:
  explicit LimitedBuffer(std::size_t limit) : limit_(limit) {}

 protected:
  int_type overflow(int_type c) override {
    if (taken_ >= limit_) return traits_type::eof();
    ++taken_;
    return traits_type::not_eof(c);
  }

 private:
  std::size_t limit_;
  std::size_t taken_ = 0;
};

TEST_P(NetworkRoundTripTest, AWriteThatDoesNotReachTheStreamWholeIsReported) {
  const Network net = MakeNetwork({2, 3, 1});
  const std::size_t whole = Written(GetParam(), net).size();
  for (std::size_t limit = 0; limit <= whole; ++limit) {
    LimitedBuffer buffer(limit);
    std::ostream out(&buffer);
    sink_.clear();
    EXPECT_EQ(GetParam().write(net, out).ok(), limit == whole) << limit;
    EXPECT_EQ(last_message(), limit == whole ? "" : "Cannot write network file") << limit;
  }
}

TEST_P(NetworkRoundTripTest, AnInconsistentNetworkIsRefusedBeforeAnythingIsWritten) {
  Network short_thresholds = MakeNetwork({2, 3, 1});
  short_thresholds.layers[1].thresholds.pop_back();
  Network bad_function = MakeNetwork({2, 1});
  bad_function.layers[1].act_fn = static_cast<ActivationFunction>(kActivationFunctionCount);
  for (const auto& [net, message] :
       {std::pair{&short_thresholds, "Internal error: network record inconsistent"},
        std::pair{&bad_function, "Internal error: unrecognised activation function"}}) {
    std::ostringstream out;
    EXPECT_FALSE(GetParam().write(*net, out).ok());
    EXPECT_EQ(last_message(), message);
    EXPECT_TRUE(out.str().empty());
  }
}

}  // namespace
}  // namespace tavrin::testing
