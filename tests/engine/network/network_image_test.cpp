// The binary network image: byte-exact images laid out by hand, round trips
// of every kind, function and coding, and refusals of short, damaged and
// malicious images.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "common/missing.h"
#include "common/random_generator.h"
#include "file_test_support.h"
#include "network/network_image.h"
#include "network/stored_network.h"

namespace tavrin {
namespace {

using testing::EngineTest;
using testing::ImageOf;
using testing::ReadImage;
using testing::WithoutActivations;

constexpr std::string_view kShort = "Unexpected end of file while reading network file";
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// An image laid out byte by byte, independently of the writer: little-endian
// words and doubles, blocks padded with -1, with named marks for patching.
class ByteLayout {
 public:
  void Int32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
  }
  void Double(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
  }
  void Doubles(std::initializer_list<double> vs) {
    for (double v : vs) Double(v);
  }
  void Block(std::initializer_list<std::int32_t> words) {
    int n = 0;
    for (std::int32_t w : words) {
      Int32(w);
      ++n;
    }
    for (; n < 32; ++n) Int32(-1);
  }
  void Bytes(std::string_view text) { bytes_.append(text); }
  void Mark(const std::string& name) { marks_[name] = bytes_.size(); }
  std::size_t at(const std::string& name) const { return marks_.at(name); }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::map<std::string, std::size_t> marks_;
};

std::string Patched(std::string image, std::size_t at, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
  return image;
}

// A 2-3-1 MLP of two numeric inputs and one numeric output with weights that
// name their place, and its image laid out from the format's table.
class SmallMlpImage : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    net_ = testing::MakeNetwork({2, 3, 1});
    net_.layers[1].act_fn = ActivationFunction::kLogistic;
    testing::TagNetwork(net_);
    net_.layers[0].unit_names[1].clear();  // absent name
    net_.layers[2].unit_names[0].clear();
    net_.coding.variable_names = {"x", "", "y"};
    net_.coding.substitutes = {0.5, MISSING, 2.0};

    ByteLayout& b = layout_;
    b.Mark("network block");
    b.Block({0, 0});  // MLP, Sum-squared
    b.Mark("coding block");
    b.Block({2, 1, 2, 1, 1, 1, 0, 0, 0});
    b.Doubles({0.95, 0.05});
    b.Mark("conversion");
    b.Doubles({0, 0, 0});            // conversion: Minimax
    b.Doubles({0, 0, 0});            // missing: Mean
    b.Doubles({0, 0, 0});            // min_mean
    b.Doubles({1, 1, 1});            // max_sd
    b.Doubles({0, 0, 0});            // shift
    b.Doubles({1, 1, 1});            // scale
    b.Doubles({0.5, MISSING, 2.0});  // substitutes
    b.Mark("variable names");
    b.Int32(1);
    b.Int32(0);
    b.Int32(1);
    b.Bytes("xy");
    b.Mark("nominal counts");
    b.Int32(0);
    b.Int32(0);
    b.Int32(0);
    b.Mark("layer count");
    b.Block({3});
    // TagNetwork: threshold l + 0.01 (u + 1), name "L<l>U<u>", class u + 1.
    b.Mark("layer 0");
    b.Block({2, 1, 0, 0});
    b.Doubles({0 + 0.01 * 1, 0 + 0.01 * 2});
    b.Doubles({1, 2});
    b.Mark("layer 0 names");
    b.Int32(4);
    b.Int32(0);
    b.Bytes("L0U0");
    b.Mark("layer 1");
    b.Block({3, 1, 1, 0});  // Logistic, Linear PSP
    b.Doubles({1 + 0.01 * 1, 1 + 0.01 * 2, 1 + 0.01 * 3});
    b.Doubles({1, 2, 3});
    b.Int32(4);
    b.Int32(4);
    b.Int32(4);
    b.Bytes("L1U0L1U1L1U2");
    b.Mark("layer 2");
    b.Block({1, 1, 0, 0});
    b.Doubles({2 + 0.01 * 1});
    b.Doubles({1});
    b.Int32(0);
    b.Mark("map");
    for (std::int32_t entry : {0, 0, 0, 2, 0, 0, 0, 2, 0}) b.Int32(entry);
    b.Mark("weights");
    // Weight tag: layer * 1000 + to * 10 + from + 0.5.
    b.Doubles({1000.5, 1001.5, 1010.5, 1011.5, 1020.5, 1021.5});
    b.Doubles({2000.5, 2001.5, 2002.5});
    b.Mark("end");
  }

  Network net_;
  ByteLayout layout_;
};

TEST_F(SmallMlpImage, WriterProducesTheImageByteForByte) {
  EXPECT_EQ(ImageOf(net_), layout_.bytes());
}

TEST_F(SmallMlpImage, ReaderRebuildsTheNetworkWithZeroActivations) {
  auto read = ReadImage(layout_.bytes());
  ASSERT_NE(read, nullptr) << last_message();
  testing::ExpectSameNetwork(*read, WithoutActivations(net_));
}

TEST_F(SmallMlpImage, EveryTruncationIsRefusedAsAShortImage) {
  const std::string& image = layout_.bytes();
  for (std::size_t size = 0; size < image.size(); ++size) {
    sink_.clear();
    EXPECT_EQ(ReadImage(image.substr(0, size)), nullptr) << "size " << size;
    EXPECT_EQ(last_message(), kShort) << "size " << size;
  }
}

TEST_F(SmallMlpImage, AnOffsetAtOrBeyondTheEndIsAShortImage) {
  const std::string& image = layout_.bytes();
  EXPECT_EQ(ReadImage(image, static_cast<std::int64_t>(image.size())), nullptr);
  EXPECT_EQ(last_message(), kShort);
  sink_.clear();
  EXPECT_EQ(ReadImage(image, static_cast<std::int64_t>(image.size()) + 100), nullptr);
  EXPECT_EQ(last_message(), kShort);
  sink_.clear();
  EXPECT_EQ(ReadImage(image, -1), nullptr);
  EXPECT_EQ(last_message(), kShort);
}

TEST_F(SmallMlpImage, CountsAndLengthsBeyondTheBytesThereAreRefusedBeforeAllocating) {
  const std::string& image = layout_.bytes();
  const std::size_t coding = layout_.at("coding block");
  const std::size_t names = layout_.at("variable names");
  const std::size_t counts = layout_.at("nominal counts");
  struct Case {
    const char* what;
    std::size_t at;
    std::int32_t value;
    std::string_view message;
  };
  const Case cases[] = {
      {"no_inputs of 2^31 - 1", coding, kInt32Max, kShort},
      {"no_outputs of 2^31 - 1", coding + 4, kInt32Max, kShort},
      {"no_normed_inputs of 2^31 - 1", coding + 8, kInt32Max, kShort},
      {"negative no_inputs", coding, -1,
       "Network file corrupted: number of variables out of range"},
      {"negative no_normed_outputs", coding + 12, std::numeric_limits<std::int32_t>::min(),
       "Network file corrupted: number of variables out of range"},
      {"text length beyond the end", names, 1 << 30, kShort},
      {"text length of 2^31 - 1", names + 8, kInt32Max, kShort},
      {"negative text length", names, -5, "Network file corrupted: negative count or length"},
      {"nominal count of 2^31 - 1", counts, kInt32Max, kShort},
      {"negative nominal count", counts + 4, -1,
       "Network file corrupted: negative count or length"},
      {"no_layers of 2^31 - 1", layout_.at("layer count"), kInt32Max, kShort},
      {"no_layers of 0", layout_.at("layer count"), 0,
       "Network file corrupted: no_layers field not found"},
      {"units of 2^31 - 1", layout_.at("layer 1"), kInt32Max, kShort},
      {"unit name length beyond the end", layout_.at("layer 0 names"), 1 << 20, kShort},
  };
  for (const Case& c : cases) {
    sink_.clear();
    EXPECT_EQ(ReadImage(Patched(image, c.at, c.value)), nullptr) << c.what;
    EXPECT_EQ(last_message(), c.message) << c.what;
  }
}

TEST_F(SmallMlpImage, CodesAndSizesOutsideTheirRangesAreRefusedWithTheLayerNumber) {
  const std::string& image = layout_.bytes();
  const std::size_t coding = layout_.at("coding block");
  const std::size_t layer1 = layout_.at("layer 1");
  const std::size_t layer2 = layout_.at("layer 2");
  struct Case {
    std::size_t at;
    std::int32_t value;
    std::string_view message;
  };
  const Case cases[] = {
      {layout_.at("network block"), 7, "Network file corrupted: unrecognised network type"},
      {layout_.at("network block") + 4, 5, "Network file corrupted: unrecognised error function"},
      {coding + 28, 3, "Network file corrupted: unrecognised input_normalisation function"},
      {coding + 32, 6, "Network file corrupted: unrecognised output_normalisation function"},
      {coding + 20, 0, "Network file corrupted: steps or lookahead out of range"},
      {coding + 24, -1, "Network file corrupted: steps or lookahead out of range"},
      {layer1, 0, "Network file corrupted: no_units in layer 2 zero or negative"},
      {layer2 + 4, -3, "Network file corrupted: width in layer 3 zero or negative"},
      {layer1 + 8, 10, "Network file corrupted: unrecognised activation function in layer 2"},
      {layer2 + 12, 3, "Network file corrupted: unrecognised psp function in layer 3"},
  };
  for (const Case& c : cases) {
    sink_.clear();
    // Each refusal comes before the changed value could shift what follows.
    EXPECT_EQ(ReadImage(Patched(image, c.at, c.value)), nullptr) << c.message;
    EXPECT_EQ(last_message(), c.message);
  }
  // Units moved from the outputs to the inputs: the same number of
  // substitutes, but not the units the variables code into.
  sink_.clear();
  EXPECT_EQ(ReadImage(Patched(Patched(image, coding + 8, 3), coding + 12, 0)), nullptr);
  EXPECT_EQ(last_message(), "Network file corrupted: unit counts do not match the variables");
}

TEST_F(SmallMlpImage, ConversionAndMissingCodesOutsideTheirTablesAreRefused) {
  auto with_double = [&](std::size_t at, double value) {
    std::string image = layout_.bytes();
    std::memcpy(image.data() + at, &value, 8);  // the test host is little-endian
    return image;
  };
  const std::size_t conversion = layout_.at("conversion");
  EXPECT_EQ(ReadImage(with_double(conversion, 6.0)), nullptr);  // Kohonen on an input
  EXPECT_EQ(last_message(), "Network file corrupted: unrecognised input preparation function");
  EXPECT_NE(ReadImage(with_double(conversion + 16, 6.0)), nullptr);  // on the output: fine
  EXPECT_EQ(ReadImage(with_double(conversion + 16, 7.0)), nullptr);
  EXPECT_EQ(ReadImage(with_double(conversion, 0.5)), nullptr);
  EXPECT_EQ(last_message(), "Network file corrupted: unrecognised input preparation function");
  EXPECT_EQ(ReadImage(with_double(conversion + 24, 5.0)), nullptr);
  EXPECT_EQ(last_message(), "Network file corrupted: unrecognised missing value patch function");
}

TEST_F(SmallMlpImage, AWeightMapAskingForMoreThanTheImageHoldsIsAShortImage) {
  // Every layer connected from every layer: far more weights than are there.
  std::string image = layout_.bytes();
  for (int entry = 0; entry < 9; ++entry) {
    image = Patched(image, layout_.at("map") + 4 * entry, 2);
  }
  EXPECT_EQ(ReadImage(image), nullptr);
  EXPECT_EQ(last_message(), kShort);
}

TEST_F(SmallMlpImage, MapEntryOneMarksAFixedBlock) {
  auto read = ReadImage(Patched(layout_.bytes(), layout_.at("map") + 4 * 3, 1));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->layers[1].connections[0].fixed, 1);
  EXPECT_EQ(read->layers[2].connections[1].fixed, 0);
}

TEST_F(SmallMlpImage, ImagesBackToBackAreReadByTheirOffsets) {
  Network second = net_;
  second.type = NetworkType::kLinear;
  second.layers[2].thresholds[0] = -7.25;
  const std::string first_image = ImageOf(net_);
  const std::string both = first_image + ImageOf(second);
  auto read = ReadImage(both, static_cast<std::int64_t>(first_image.size()));
  ASSERT_NE(read, nullptr) << last_message();
  testing::ExpectSameNetwork(*read, WithoutActivations(second));
  read = ReadImage(both, 0);
  ASSERT_NE(read, nullptr);
  testing::ExpectSameNetwork(*read, WithoutActivations(net_));
}

class NetworkImageTest : public EngineTest {};

// A simple recurrent network of one numeric input and one nominal
// "Two-state" output: a fixed block into layer 0, a nominal list, names and
// a class, laid out by hand.
TEST_F(NetworkImageTest, SimpleRecurrentImageWithNominalsByteForByte) {
  Network net = testing::MakeNetwork(NetworkType::kSimpleRecurrent, {3, 2, 1}, 1, 1);
  net.error_fn = ErrorFunction::kCityBlock;
  net.layers[1].act_fn = ActivationFunction::kHyperbolic;
  net.layers[2].act_fn = ActivationFunction::kLogistic;
  net.layers[2].psp_fn = PspFunction::kRadial;
  Connection& feedback = net.layers[0].connections[1];
  feedback.Allocate(2, 3);
  feedback.fixed = 1;
  feedback.at(1, 0) = 1.0;
  feedback.at(2, 1) = 1.0;
  net.layers[1].connections[0].weights = {0.25, -0.5, 0.75, 1.0, -1.25, 1.5};
  net.layers[2].connections[1].weights = {2.5, -3.5};
  net.layers[1].unit_names[1] = "h2";
  net.layers[2].classes[0] = 2;
  VariableCoding& c = net.coding;
  c.conversion[1] = 2.0;  // Two-state
  c.nominals[1] = {"no", "yes"};
  c.variable_names = {"x", "answer"};
  c.classify_by = 0;
  c.steps = 1;
  c.lookahead = 3;
  c.input_normalisation = 2;
  c.output_normalisation = 5;

  ByteLayout b;
  b.Block({6, 1});
  b.Block({1, 1, 1, 1, 0, 1, 3, 2, 5});
  b.Doubles({0.95, 0.05});
  b.Doubles({0, 2});  // conversion
  b.Doubles({0, 0});  // missing
  b.Doubles({0, 0});  // min_mean
  b.Doubles({1, 1});  // max_sd
  b.Doubles({0, 0});  // shift
  b.Doubles({1, 1});  // scale
  b.Doubles({0, 0});  // substitutes
  b.Int32(1);
  b.Int32(6);
  b.Bytes("xanswer");
  b.Int32(0);  // nominal counts
  b.Int32(2);
  b.Int32(2);  // the output's value names
  b.Int32(3);
  b.Bytes("noyes");
  b.Block({3});
  b.Block({3, 1, 0, 0});
  b.Doubles({0, 0, 0, 0, 0, 0});
  for (int u = 0; u < 3; ++u) b.Int32(0);
  b.Block({2, 1, 2, 0});
  b.Doubles({0, 0, 0, 0});
  b.Int32(0);
  b.Int32(2);
  b.Bytes("h2");
  b.Block({1, 1, 1, 1});
  b.Doubles({0, 2});
  b.Int32(0);
  for (std::int32_t entry : {0, 1, 0, 2, 0, 0, 0, 2, 0}) b.Int32(entry);
  b.Doubles({0, 0, 1, 0, 0, 1});  // layer 0 from layer 1: 3 rows of 2
  b.Doubles({0.25, -0.5, 0.75, 1.0, -1.25, 1.5});
  b.Doubles({2.5, -3.5});

  EXPECT_EQ(ImageOf(net), b.bytes());
  auto read = ReadImage(b.bytes());
  ASSERT_NE(read, nullptr);
  testing::ExpectSameNetwork(*read, net);
}

TEST_F(NetworkImageTest, EveryKindRoundTripsExactly) {
  for (const auto& kind : testing::EveryKind()) {
    SCOPED_TRACE(kind.label);
    auto net = testing::BuildKind(kind);
    ASSERT_NE(net, nullptr) << last_message();
    auto read = ReadImage(ImageOf(*net));
    ASSERT_NE(read, nullptr) << last_message();
    testing::ExpectSameNetwork(*read, WithoutActivations(*net));
  }
}

TEST_F(NetworkImageTest, EveryFunctionCodeRoundTrips) {
  // One layer per activation function, the PSP functions in turn.
  std::vector<int> units(kActivationFunctionCount, 2);
  Network net = testing::MakeNetwork(units);
  for (int l = 0; l < kActivationFunctionCount; ++l) {
    net.layers[l].act_fn = static_cast<ActivationFunction>(l);
    net.layers[l].psp_fn = static_cast<PspFunction>(l % kPspFunctionCount);
  }
  for (int e = 0; e < kErrorFunctionCount; ++e) {
    for (int norm = 0; norm < kOutputNormalisationCount; ++norm) {
      net.error_fn = static_cast<ErrorFunction>(e);
      net.coding.input_normalisation = norm % kInputNormalisationCount;
      net.coding.output_normalisation = norm;
      for (int v = 0; v < net.coding.no_variables(); ++v) {
        const bool output = net.coding.is_output(v);
        net.coding.conversion[v] =
            (e + v) % (output ? kOutputConversionCount : kInputConversionCount);
        net.coding.missing_fn[v] = (norm + v) % kMissingFunctionCount;
        net.coding.nominals[v].clear();
      }
      // One-of-N with fewer than two values keeps one unit per variable.
      net.coding.RecountUnits();
      net.coding.substitutes.assign(
          static_cast<std::size_t>(net.coding.no_normed_inputs) + net.coding.no_normed_outputs,
          0.0);
      ApplyPairingRule(net);
      auto read = ReadImage(ImageOf(net));
      ASSERT_NE(read, nullptr) << last_message();
      testing::ExpectSameNetwork(*read, net);
    }
  }
}

TEST_F(NetworkImageTest, TheOutputDeltaFollowsThePairingRuleOnReading) {
  Network net = testing::MakeNetwork({2, 2});
  net.layers[1].act_fn = ActivationFunction::kSoftmax;
  net.error_fn = ErrorFunction::kEntropyMultiple;
  net.output_delta = false;  // as a setter leaves it
  auto read = ReadImage(ImageOf(net));
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->output_delta);
}

TEST_F(NetworkImageTest, NamesAreKeptByteForByteAndEmptyNamesReadAsAbsent) {
  Network net = testing::MakeNetwork({2, 1});
  const std::string odd =
      std::string("a \"quoted\": name\nwith a break, a } and a ") + '\0' + " byte";
  net.layers[0].unit_names = {odd, ""};
  net.coding.variable_names = {"#hash", "={", "x"};
  net.coding.variable_names.resize(3);
  auto read = ReadImage(ImageOf(net));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->layers[0].unit_names[0], odd);
  EXPECT_EQ(read->layers[0].unit_names[1], "");
  EXPECT_EQ(read->coding.variable_names, net.coding.variable_names);
}

TEST_F(NetworkImageTest, MissingValuesAndSpecialRealsRoundTripExactly) {
  Network net = testing::MakeNetwork({2, 1});
  net.layers[1].connections[0].weights = {MISSING, std::numeric_limits<double>::infinity()};
  net.layers[1].thresholds[0] = -0.0;
  net.coding.substitutes = {MISSING, 1e-300, std::numeric_limits<double>::denorm_min()};
  auto read = ReadImage(ImageOf(net));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->layers[1].connections[0].weights, net.layers[1].connections[0].weights);
  EXPECT_TRUE(std::signbit(read->layers[1].thresholds[0]));
  EXPECT_EQ(read->coding.substitutes, net.coding.substitutes);
}

TEST_F(NetworkImageTest, NetworksWithoutInputOrOutputVariablesRoundTrip) {
  for (const auto& [inputs, outputs] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{0, 0}}) {
    SCOPED_TRACE(std::to_string(inputs) + " inputs, " + std::to_string(outputs) + " outputs");
    Network net = testing::MakeNetwork(NetworkType::kMlp, {1, 1}, inputs, outputs);
    auto read = ReadImage(ImageOf(net));
    ASSERT_NE(read, nullptr) << last_message();
    testing::ExpectSameNetwork(*read, net);
  }
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

TEST_F(NetworkImageTest, AWriteThatDoesNotReachTheStreamIsReported) {
  Network net = testing::MakeNetwork({2, 3, 1});
  const std::size_t whole = ImageOf(net).size();
  for (std::size_t limit = 0; limit < whole; ++limit) {
    LimitedBuffer buffer(limit);
    std::ostream out(&buffer);
    sink_.clear();
    EXPECT_FALSE(WriteNetworkImage(net, out).ok()) << limit;
    EXPECT_EQ(last_message(), "Cannot write network file") << limit;
  }
  LimitedBuffer enough(whole);
  std::ostream out(&enough);
  EXPECT_TRUE(WriteNetworkImage(net, out).ok());
}

TEST_F(NetworkImageTest, AnInconsistentNetworkIsRefusedBeforeAnythingIsWritten) {
  Network net = testing::MakeNetwork({2, 3, 1});
  net.layers[1].thresholds.pop_back();
  std::ostringstream out;
  EXPECT_FALSE(WriteNetworkImage(net, out).ok());
  EXPECT_EQ(last_message(), "Internal error: network record inconsistent");
  EXPECT_TRUE(out.str().empty());

  Network bad_function = testing::MakeNetwork({2, 1});
  bad_function.layers[1].act_fn = static_cast<ActivationFunction>(12);
  EXPECT_FALSE(WriteNetworkImage(bad_function, out).ok());
  EXPECT_EQ(last_message(), "Internal error: unrecognised activation function");
  EXPECT_TRUE(out.str().empty());
}

// Whatever a damaged image holds, an image the reader accepts is a network
// the engine can hold: its arrays match its counts and its codes their tables.
TEST_F(NetworkImageTest, DamagedImagesAreRefusedOrReadWhole) {
  auto net = testing::BuildKind(testing::EveryKind()[0]);
  ASSERT_NE(net, nullptr);
  const std::string image = ImageOf(*net);
  RandomGenerator random;
  random.Seed(7);
  int accepted = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    std::string damaged = image;
    const int flips = 1 + random.RandomIndex(4);
    for (int f = 0; f < flips; ++f) {
      const auto at = static_cast<std::size_t>(random.RandomIndex(static_cast<int>(image.size())));
      damaged[at] = static_cast<char>(random.NextValue() & 0xFF);
    }
    auto read = ReadImage(damaged);
    if (!read) {
      EXPECT_FALSE(last_message().empty());
      continue;
    }
    ++accepted;
    ASSERT_TRUE(HasConsistentLayers(*read)) << "trial " << trial;
    ASSERT_TRUE(CheckReadCoding(read->coding).ok()) << "trial " << trial;
  }
  // Most bytes are reals, whose damage is still a readable image.
  EXPECT_GT(accepted, 0);
}

}  // namespace
}  // namespace tavrin
