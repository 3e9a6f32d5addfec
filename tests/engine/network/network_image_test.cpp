// The binary network image: an image laid out byte by byte from the format's
// table, read by its offset, and refusals of short, damaged and malicious
// images; random damage is the fuzz target's. Round trips of both forms are in
// network_round_trip_test.cpp.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "file_test_support.h"

namespace tavrin::testing {
namespace {

constexpr std::string_view kShort = "Unexpected end of file while reading network file";
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::unique_ptr<Network> ReadImage(const std::string& bytes, std::int64_t offset = 0) {
  std::istringstream in(bytes, std::ios::binary);
  return ReadNetworkImage(in, offset);
}

// An image laid out independently of the writer: little-endian words and
// doubles, blocks padded with -1, with named marks for patching.
class ByteLayout {
 public:
  void Int32s(std::initializer_list<std::int32_t> words) {
    for (std::int32_t w : words) Put(static_cast<std::uint32_t>(w), 4);
  }
  void Doubles(std::initializer_list<double> values) {
    for (double v : values) {
      std::uint64_t u;
      std::memcpy(&u, &v, 8);
      Put(u, 8);
    }
  }
  void Block(std::initializer_list<std::int32_t> words) {
    Int32s(words);
    for (std::size_t n = words.size(); n < 32; ++n) Int32s({-1});
  }
  void Bytes(std::string_view text) { bytes_.append(text); }
  void Mark(const std::string& name) { marks_[name] = bytes_.size(); }
  std::size_t at(const std::string& name) const { return marks_.at(name); }
  const std::string& bytes() const { return bytes_; }

 private:
  void Put(std::uint64_t u, int size) {
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
  }
  std::string bytes_;
  std::map<std::string, std::size_t> marks_;
};

std::string Patched(std::string image, std::size_t at, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
  return image;
}

// A simple recurrent 3-2-1 network of one numeric input and one nominal
// Two-state output, with a fixed feedback block into layer 0, weights,
// thresholds, names and classes that name their place, and codes that differ
// from their neighbours; and its image laid out from the format's table.
class NetworkImageTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    net_ = MakeNetwork(NetworkType::kSimpleRecurrent, {3, 2, 1}, 1, 1);
    net_.error_fn = ErrorFunction::kCityBlock;
    net_.layers[1].act_fn = ActivationFunction::kHyperbolic;
    net_.layers[2].act_fn = ActivationFunction::kLogistic;
    net_.layers[2].psp_fn = PspFunction::kRadial;
    net_.layers[0].connections[1].Allocate(2, 3);
    net_.layers[0].connections[1].fixed = 1;
    TagNetwork(net_);
    net_.layers[0].unit_names[1].clear();  // absent name
    VariableCoding& c = net_.coding;
    c.conversion[1] = static_cast<double>(ConversionFunction::kTwoState);
    c.nominals[1] = {"no", "yes"};
    c.variable_names = {"x", "answer"};
    c.substitutes = {MISSING, 0.5};
    c.classify_by = 0;
    c.lookahead = 3;
    c.input_normalisation = 2;
    c.output_normalisation = 5;

    ByteLayout& b = layout_;
    b.Mark("network block");
    b.Block({6, 1});  // simple recurrent, City block
    b.Mark("coding block");
    b.Block({1, 1, 1, 1, 0, 1, 3, 2, 5});
    b.Doubles({0.95, 0.05});
    b.Mark("conversion");
    b.Doubles({0, 2, 0, 0});  // conversion: Minimax, Two-state; missing: Mean
    b.Doubles({0, 0, 1, 1});  // min_mean, max_sd
    b.Doubles({0, 0, 1, 1});  // shift, scale
    b.Doubles({MISSING, 0.5});
    b.Mark("variable names");
    b.Int32s({1, 6});
    b.Bytes("xanswer");
    b.Mark("nominal counts");
    b.Int32s({0, 2, 2, 3});
    b.Bytes("noyes");
    b.Mark("layer count");
    b.Block({3});
    // TagNetwork: threshold l + 0.01 (u + 1), name "L<l>U<u>", class u + 1.
    b.Block({3, 1, 0, 0});
    b.Doubles({0 + 0.01 * 1, 0 + 0.01 * 2, 0 + 0.01 * 3, 1, 2, 3});
    b.Mark("layer 0 names");
    b.Int32s({4, 0, 4});
    b.Bytes("L0U0L0U2");
    b.Mark("layer 1");
    b.Block({2, 1, 2, 0});  // Hyperbolic, Linear PSP
    b.Doubles({1 + 0.01 * 1, 1 + 0.01 * 2, 1, 2});
    b.Int32s({4, 4});
    b.Bytes("L1U0L1U1");
    b.Mark("layer 2");
    b.Block({1, 1, 1, 1});  // Logistic, Radial PSP
    b.Doubles({2 + 0.01 * 1, 1});
    b.Int32s({4});
    b.Bytes("L2U0");
    b.Mark("map");
    b.Int32s({0, 1, 0, 2, 0, 0, 0, 2, 0});
    // Weight tag: layer * 1000 + to * 10 + from + 0.5.
    b.Doubles({0.5, 1.5, 10.5, 11.5, 20.5, 21.5});
    b.Doubles({1000.5, 1001.5, 1002.5, 1010.5, 1011.5, 1012.5});
    b.Doubles({2000.5, 2001.5});
  }

  // Reads the image expecting a refusal, and gives its message.
  std::string RefusalOf(const std::string& image, std::int64_t offset = 0) {
    sink_.clear();
    EXPECT_EQ(ReadImage(image, offset), nullptr);
    return last_message();
  }

  Network net_;
  ByteLayout layout_;
};

TEST_F(NetworkImageTest, TheLaidOutImageIsWhatTheWriterMakesAndTheReaderTakes) {
  EXPECT_EQ(Written(kImage, net_), layout_.bytes());
  // Read from behind another image, by its offset.
  const std::string before = Written(kImage, MakeNetwork({1, 1}));
  auto read = ReadImage(before + layout_.bytes(), static_cast<std::int64_t>(before.size()));
  ASSERT_NE(read, nullptr) << last_message();
  ExpectSameNetwork(*read, WithoutActivations(net_));
}

TEST_F(NetworkImageTest, EveryTruncationAndEveryOffsetPastTheEndIsAShortImage) {
  const std::string& image = layout_.bytes();
  for (std::size_t size = 0; size < image.size(); ++size) {
    EXPECT_EQ(RefusalOf(image.substr(0, size)), kShort) << "size " << size;
  }
  const auto end = static_cast<std::int64_t>(image.size());
  for (std::int64_t offset : {end, end + 100, std::int64_t{-1}}) {
    EXPECT_EQ(RefusalOf(image, offset), kShort) << offset;
  }
}

// Each refusal comes before the changed word could shift what follows.
TEST_F(NetworkImageTest, WordsBeyondTheBytesThereOrOutsideTheirRangesAreRefused) {
  const std::size_t coding = layout_.at("coding block");
  const std::size_t layer1 = layout_.at("layer 1");
  const std::string range = "Network file corrupted: number of variables out of range";
  const std::string negative = "Network file corrupted: negative count or length";
  const std::tuple<std::size_t, std::int32_t, std::string_view> cases[] = {
      {coding, kInt32Max, kShort},  // no_inputs
      {coding, -1, range},
      {coding + 12, std::numeric_limits<std::int32_t>::min(), range},
      {layout_.at("variable names"), 1 << 30, kShort},
      {layout_.at("variable names"), -5, negative},
      {layout_.at("nominal counts"), kInt32Max, kShort},
      {layout_.at("nominal counts") + 4, -1, negative},
      {layout_.at("layer count"), kInt32Max, kShort},
      {layout_.at("layer count"), 0, "Network file corrupted: no_layers field not found"},
      {layer1, kInt32Max, kShort},
      {layout_.at("layer 0 names"), 1 << 20, kShort},
      {layout_.at("network block"), 7, "Network file corrupted: unrecognised network type"},
      {layout_.at("network block") + 4, 5, "Network file corrupted: unrecognised error function"},
      {coding + 28, 3, "Network file corrupted: unrecognised input_normalisation function"},
      {coding + 20, 0, "Network file corrupted: steps or lookahead out of range"},
      {layer1, 0, "Network file corrupted: no_units in layer 2 zero or negative"},
      {layout_.at("layer 2") + 4, -3, "Network file corrupted: width in layer 3 zero or negative"},
      {layer1 + 8, 10, "Network file corrupted: unrecognised activation function in layer 2"},
      {layout_.at("layer 2") + 12, 3,
       "Network file corrupted: unrecognised psp function in layer 3"},
  };
  for (const auto& [at, value, message] : cases) {
    EXPECT_EQ(RefusalOf(Patched(layout_.bytes(), at, value)), message) << "at " << at;
  }
  // The output's unit moved to the inputs: as many substitutes, but not the
  // units the variables code into.
  EXPECT_EQ(RefusalOf(Patched(Patched(layout_.bytes(), coding + 8, 2), coding + 12, 0)),
            "Network file corrupted: unit counts do not match the variables");
  // Every layer connected from every layer: far more weights than are there.
  std::string image = layout_.bytes();
  for (int entry = 0; entry < 9; ++entry) image = Patched(image, layout_.at("map") + 4 * entry, 2);
  EXPECT_EQ(RefusalOf(image), kShort);
}

TEST_F(NetworkImageTest, ConversionAndMissingCodesOutsideTheirTablesAreRefused) {
  auto with_double = [&](std::size_t at, double value) {
    std::string image = layout_.bytes();
    std::memcpy(image.data() + at, &value, 8);  // the test host is little-endian
    return image;
  };
  const std::size_t conversion = layout_.at("conversion");
  const std::string preparation = "Network file corrupted: unrecognised input preparation function";
  EXPECT_EQ(RefusalOf(with_double(conversion, 6.0)), preparation);  // Kohonen on an input
  EXPECT_EQ(RefusalOf(with_double(conversion + 8, 7.0)), preparation);
  EXPECT_NE(ReadImage(with_double(conversion + 8, 6.0)), nullptr);  // on the output: fine
  EXPECT_EQ(RefusalOf(with_double(conversion + 16, 5.0)),
            "Network file corrupted: unrecognised missing value patch function");
}

}  // namespace
}  // namespace tavrin::testing
