// The text network file: the golden file, the lexical rules (comments, line
// ends, pieces of 1023 characters, lists over lines), unit labels and the
// classes of Kohonen units, and every refusal with its message: damaged
// lines, truncation, counts beyond what follows, names the format cannot
// carry. Round trips of both forms are in
// network_round_trip_test.cpp.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "file_test_support.h"

namespace tavrin::testing {
namespace {

// The network of the golden file data/small.net: a 2-3-1 MLP with one
// numeric input, one unnamed numeric input and a nominal "Two-state" output.
Network SmallNetwork() {
  Network net = MakeNetwork({2, 3, 1});
  net.layers[1].act_fn = ActivationFunction::kLogistic;
  net.layers[0].unit_names[1] = "x unit";
  net.layers[1].thresholds = {0.5, -0.25, 1e6};
  net.layers[1].unit_names[1] = "hidden";
  net.layers[1].classes[1] = 2;
  net.layers[1].connections[0].weights = {0.1, -0.2, 1.5, 2, MISSING, 0};
  net.layers[2].thresholds = {0.125};
  net.layers[2].connections[1].weights = {1, 2, 3};
  VariableCoding& c = net.coding;
  c.variable_names = {"Height", "", "Grade"};
  c.nominals[2] = {"low", "high"};
  c.conversion[2] = static_cast<double>(ConversionFunction::kTwoState);
  c.missing_fn[2] = static_cast<double>(MissingFunction::kMedian);
  c.shift[2] = -0.5;
  c.scale[2] = 2;
  c.substitutes = {0.25, MISSING, 1};
  return net;
}

// Replaces the first line that equals `line` (the whole line) with
// `replacement`, or removes it when the replacement is null.
std::string WithLine(const std::string& text, const std::string& line, const char* replacement) {
  std::string framed = "\n" + text;
  const std::size_t at = framed.find("\n" + line + "\n");
  EXPECT_NE(at, std::string::npos) << "no line: " << line;
  if (at == std::string::npos) return text;
  framed.replace(at, line.size() + 2, replacement ? "\n" + std::string(replacement) + "\n" : "\n");
  return framed.substr(1);
}

class NetworkFileTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    golden_ = FileContent(TAVRIN_NETWORK_TEST_DATA "/small.net");
    ASSERT_FALSE(golden_.empty());
  }

  std::string Edited(const std::string& line, const char* replacement) const {
    return WithLine(golden_, line, replacement);
  }

  // Reads the text expecting a refusal, and gives its message.
  std::string RefusalOf(const std::string& text) {
    sink_.clear();
    EXPECT_EQ(Read(kTextFile, text), nullptr);
    return last_message();
  }

  std::string golden_;
};

// The golden file, and the layouts other writers use, read as its network.
TEST_F(NetworkFileTest, TheGoldenFileIsWhatTheWriterMakesAndTheReaderTakes) {
  EXPECT_EQ(Written(kTextFile, SmallNetwork()), golden_);
  const auto each_line_end = [&](const std::string& end) {
    return std::regex_replace(golden_, std::regex("\n"), end);
  };
  const std::pair<const char*, std::string> layouts[] = {
      {"the golden file", golden_},
      {"a comment after every line", each_line_end("\n# a comment\n")},
      {"carriage return line ends", each_line_end("\r\n")},
      {"no empty line after the header", Edited("", nullptr)},
      {"the layer list over two lines", Edited("no_layers 3 (2,3,1)", "no_layers 3 (2,\n3,1)")},
      {"a layer list longer than its count",
       Edited("no_layers 3 (2,3,1)", "no_layers 3 (2,3,1,4)")},
  };
  for (const auto& [what, text] : layouts) {
    SCOPED_TRACE(what);
    auto read = Read(kTextFile, text);
    ASSERT_NE(read, nullptr) << last_message();
    ExpectSameNetwork(*read, SmallNetwork());
  }
  // An unknown kind name reads as an MLP.
  auto read = Read(kTextFile, Edited("type MLP", "type Hopfield"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->type, NetworkType::kMlp);
}

// Files of the first layout: no unit labels, the normalisation by name.
TEST_F(NetworkFileTest, TheEarlierShortLayoutIsRead) {
  const std::string text =
      "# Tavrin v1.0 Network\n\ntype Linear\nerror_fn \"City block\"\nno_layers 2 (2,1)\n\n"
      "layer 1\nno_units 2\nwidth 1\nact_fn \"Linear\"\npsp_fn \"Linear\"\n0\n0\n\n"
      "layer 2\nno_units 1\nwidth 1\nact_fn \"Linear\"\npsp_fn \"Linear\"\n0.5\nweights 1\n"
      "1\t2\t\n\n"
      "normalisation\nclassify_by error\naccept 0.1\nreject 0.9\n"
      "input_normalisation \"Unit Length\"\noutput_normalisation \"Maximum\"\n"
      "a\nb\nc\nd\ne\nf\ng\n"
      "0 0.5 2\n1 -1 4\n2 0 1\n\n\n";
  auto read = Read(kTextFile, text);
  ASSERT_NE(read, nullptr) << last_message();
  VariableCoding expected = MakeDefaultCoding(2, 1);
  expected.classify_by = 0;
  expected.accept = 0.1;
  expected.reject = 0.9;
  expected.input_normalisation = static_cast<int>(Normalisation::kUnitLength);
  expected.output_normalisation = static_cast<int>(Normalisation::kMaximum);
  expected.shift = {0.5, -1, 0};
  expected.scale = {2, 4, 1};
  ExpectSameCoding(read->coding, expected);
  EXPECT_EQ(read->type, NetworkType::kLinear);
  EXPECT_EQ(read->error_fn, ErrorFunction::kCityBlock);
  EXPECT_EQ(RefusalOf(text.substr(0, text.find("2 0 1\n"))),
            "Network file corrupted: not all normalisation factors present");
}

TEST_F(NetworkFileTest, UnitLabelsGiveNamesAndClasses) {
  const std::tuple<const char*, double, const char*> rows[] = {
      {"0.5 \"unit:3\"", 3, "unit"},
      // Files of other writers: a class followed by more text keeps its digits.
      {"0.5 \":4th\"", 4, ""},
      {"0.5 plain", 0, ""},  // only a quoted label counts
  };
  for (const auto& [line, cls, name] : rows) {
    auto read = Read(kTextFile, Edited("0.5", line));
    ASSERT_NE(read, nullptr) << line << ": " << last_message();
    const Layer& layer = read->layers[1];
    EXPECT_EQ(std::tuple(layer.thresholds[0], layer.classes[0], layer.unit_names[0]),
              std::tuple(0.5, cls, name));
  }
  Network net = MakeNetwork({2, 3, 1});
  net.layers[1].unit_names = {"", "named", "both"};
  net.layers[1].classes = {4, 0, 2};
  net.layers[2].classes = {-1.5};
  const std::string text = Written(kTextFile, net);
  EXPECT_NE(text.find("0 \":4\"\n0 \"named\"\n0 \"both:2\"\n"), std::string::npos);
  EXPECT_NE(text.find("0 \":-1.5\"\n"), std::string::npos);
  // A map with no output variable has no value names to label its classes by.
  Network map = MakeNetwork(NetworkType::kKohonen, {2, 3}, 2, 0);
  map.layers[1].classes = {2, 0, 1};
  EXPECT_NE(Written(kTextFile, map).find("0 \":2\"\n0\n0 \":1\"\n"), std::string::npos);
}

TEST_F(NetworkFileTest, NoWrittenLineIsLongerThanTheReaderTakesWhole) {
  Network net = MakeNetwork({10, 1});
  for (int s = 0; s < 10; ++s) net.layers[1].connections[0].weights[s] = s + 1;
  // Value names starting with "#" show that the continued lines are not
  // taken for comments.
  std::vector<std::string> values;
  for (int k = 1; k <= 300; ++k) values.push_back("#value " + std::to_string(k));
  net.coding.nominals[10] = values;
  net.coding.conversion[10] = static_cast<double>(ConversionFunction::kTwoState);
  net.coding.variable_names[0] = std::string(1023, 'n');
  // A comma in the name is no place to break: the list must open on its line.
  net.coding.variable_names[10] = "v," + std::string(1019, 'v');
  const std::string text = Written(kTextFile, net);
  // Weight rows break after every eighth value.
  EXPECT_NE(text.find("weights 1\n1\t2\t3\t4\t5\t6\t7\t8\t\n9\t10\t\n\n"), std::string::npos);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 1023u);
  auto read = Read(kTextFile, text);
  ASSERT_NE(read, nullptr) << last_message();
  ExpectSameNetwork(*read, net);
}

TEST_F(NetworkFileTest, EveryRefusalHasItsMessage) {
  const std::string later = "File created by a later version of Tavrin; cannot open";
  const std::string no_header =
      "Network file corrupted: no header line (probably not a Tavrin network file at all)";
  const std::string long_number = "0.1" + std::string(1100, '0') + "1\t-0.2\t";
  const char* factors = "Two-state\tMedian\t0\t1\t-0.5\t2";
  // A line of the golden file (or lines), its replacement or none, and the
  // message, after "Network file corrupted: " when it starts in lower case.
  const std::tuple<const char*, const char*, std::string> cases[] = {
      {"# Tavrin v1.0 Network", "# Tavrin v1.2 Network", later},
      {"# Tavrin v1.0 Network", nullptr, no_header},
      {"type MLP", nullptr, "type field not found"},
      {"error_fn \"Sum-squared\"", nullptr, "error_fn not found"},
      {"error_fn \"Sum-squared\"", "error_fn \"Sum of squares\"", "unrecognised error function"},
      {"no_layers 3 (2,3,1)", "no_layers 0 (2,3,1)", "no_layers field not found"},
      {"no_units 3", nullptr, "no_units field for layer 2 not found"},
      {"no_units 3", "no_units 0", "no_units in layer 2 zero or negative"},
      {"layer 3", "layer 3\nno_units 1\nwidth 0", "width in layer 3 zero or negative"},
      {"layer 3", "layer 3\nno_units 1\nheight 1", "width field for layer 3 not found"},
      {"act_fn \"Logistic\"", "act_fn \"logistic\"", "unrecognised activation function in layer 2"},
      {"layer 3", "layer 3\nno_units 1\nwidth 1\nact_fn \"Linear\"\nact_fn \"Linear\"",
       "psp_fn for layer 3 not found"},
      {"layer 3", "layer 3\nno_units 1\nwidth 1\nact_fn \"Linear\"\npsp_fn \"Cubic\"",
       "unrecognised psp function in layer 3"},
      {"weights 1", "weigths 1", "weights header not found"},
      {"weights 1", "weights 4", "connections from non-existent layer found"},
      {"1.5\t2\t", "1.5\ttwo\t", "invalid number in layer 2"},
      // A number cut in two by the line length limit, and the refusal says so.
      {"0.1\t-0.2\t", long_number.c_str(),
       "invalid number in layer 2 (line 24 is longer than 1023 characters)"},
      {"-0.25 \"hidden:2\"", "\"hidden:2\"", "invalid number in layer 2"},
      {"normalisation", nullptr, "normalisation section not found"},
      {"classify_by confidence", "classify_by certainty",
       "unrecognised classify_by option <certainty>"},
      {"classify_by confidence", nullptr, "classify_by field not found"},
      {"accept 0.95", nullptr, "accept field not found"},
      {"steps 1", nullptr, "steps field not found"},
      {"lookahead 0", nullptr, "lookahead field not found"},
      {"input_normalisation \"None\"", "input_normalisation \"Maximum\"",
       "unrecognised input_normalisation function"},
      {"output_normalisation \"None\"", nullptr, "output_normalisation not found"},
      {"no_outputs 1", nullptr, "not all normalisation factors present"},
      {factors, "Two-state\tMedian\t0\t1\t-0.5", "not all normalisation factors present"},
      {factors, "Binary\tMedian\t0\t1\t-0.5\t2", "unrecognised input preparation function"},
      {factors, "Two-state\tMiddle\t0\t1\t-0.5\t2", "unrecognised missing value patch function"},
      {"1", nullptr, "not all normalisation factors present"},
      {"no_inputs 2", "no_inputs 2147483647", "number of variables out of range"},
  };
  for (const auto& [line, replacement, message] : cases) {
    const bool corrupted = std::islower(static_cast<unsigned char>(message[0]));
    EXPECT_EQ(RefusalOf(Edited(line, replacement)),
              (corrupted ? "Network file corrupted: " : "") + message)
        << line;
  }
}

// Truncations, and counts beyond what the file holds, refused without
// allocating them.
TEST_F(NetworkFileTest, ShortFilesAndCountsBeyondWhatTheFileHoldsAreRefused) {
  const std::size_t substitutes = golden_.find("missing values\n");
  for (std::size_t size = 0; size < substitutes; ++size) {
    EXPECT_NE(RefusalOf(golden_.substr(0, size)), "") << "size " << size;
  }
  const std::string in_weights = "Unexpected end of file while reading network weights";
  const std::string first_layer_only = golden_.substr(0, golden_.find("\n\nlayer 2") + 1);
  const std::pair<std::string, std::string> cases[] = {
      {golden_.substr(0, golden_.find("?\t0\t")), in_weights},
      {golden_.substr(0, golden_.find("layer 3")), in_weights},
      {Edited("no_units 3", "no_units 2147483647"),
       "Network file corrupted: invalid number in layer 2"},
      {WithLine(first_layer_only, "no_units 2", "no_units 2147483647"), in_weights},
      {Edited("no_layers 3 (2,3,1)", "no_layers 1000 (2,3,1)"), in_weights},
      {Edited("no_layers 3 (2,3,1)", "no_layers 2000000000"),
       "Not enough memory to perform operation"},
      {Edited("no_inputs 2", "no_inputs 2147483646"),
       "Network file corrupted: not all normalisation factors present"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(RefusalOf(text), message);
}

TEST_F(NetworkFileTest, ABlockFromALaterLayerMustMatchThatLayer) {
  // A fixed block into layer 1 from layer 2, sized by the no_layers list.
  const std::string text = Edited("0 \"x unit\"", "0 \"x unit\"\nfixed_weights 2\n1 0 0\n0 1 0");
  auto read = Read(kTextFile, text);
  ASSERT_NE(read, nullptr) << last_message();
  EXPECT_EQ(read->layers[0].connections[1].fixed, 1);
  EXPECT_EQ(read->layers[0].connections[1].weights, (std::vector<double>{1, 0, 0, 0, 1, 0}));
  const std::string mismatch =
      "Network file corrupted: weights into layer 1 do not match the layer they come from";
  // The list promises 2 units, but the layer has 3; without the list, or with
  // no size in it, the size of a later layer is not known.
  for (const char* list :
       {"no_layers 3 (2,2,1)", "no_layers 3", "no_layers 3 (2,three,1)", "no_layers 3 (2,-3,1)"}) {
    EXPECT_EQ(RefusalOf(WithLine(text, "no_layers 3 (2,3,1)", list)), mismatch) << list;
  }
}

TEST_F(NetworkFileTest, NamesTheFormatCannotCarryAreRefusedBeforeWriting) {
  const std::pair<std::function<void(Network&)>, std::string> cases[] = {
      {[](Network& n) { n.coding.variable_names[0] = "#weight"; },
       "the name of variable 1 starts with \"#\""},
      {[](Network& n) { n.coding.variable_names[1] = "a={b}"; },
       "the name of variable 2 holds \"={\""},
      {[](Network& n) { n.coding.variable_names[2] = "two\nlines"; },
       "the name of variable 3 holds a line break"},
      {[](Network& n) { n.coding.variable_names[0] = std::string(1024, 'n'); },
       "the name of variable 1 is too long for a network file"},
      // A nominal variable's list must open on its name's line.
      {[](Network& n) { n.coding.variable_names[2] = std::string(1022, 'n'); },
       "the name of variable 3 is too long for a network file"},
      {[](Network& n) { n.coding.nominals[2][0] = "low,ish"; },
       "a nominal value of variable 3 holds \",\", \"}\" or a line break"},
      {[](Network& n) { n.layers[1].unit_names[0] = "say \"hi\""; },
       "a unit name in layer 2 holds a double quote, a colon or a line break"},
      {[](Network& n) { n.layers[2].unit_names[0] = std::string(1020, 'u'); },
       "a unit name in layer 3 is too long for a network file"},
  };
  for (const auto& [edit, message] : cases) {
    Network net = SmallNetwork();
    edit(net);
    std::ostringstream out;
    sink_.clear();
    EXPECT_FALSE(WriteNetworkFile(net, out).ok()) << message;
    EXPECT_EQ(last_message(), "Cannot save network: " + message);
    EXPECT_TRUE(out.str().empty()) << message;
  }
}

// Files by name: written whole or not at all, read back, and the reason when
// they cannot be opened.
TEST_F(NetworkFileTest, NamedFilesAreReplacedWholeAndReportedWithTheReason) {
  const TestDirectory dir;
  const std::filesystem::path path = dir / "small.net";
  ASSERT_TRUE(WriteNetworkFile(SmallNetwork(), path).ok()) << last_message();
  EXPECT_EQ(FileContent(path), golden_);
  EXPECT_NE(ReadNetworkFile(path), nullptr) << last_message();

  Network refused = SmallNetwork();
  refused.coding.variable_names[0] = "#x";
  EXPECT_FALSE(WriteNetworkFile(refused, path).ok());
  EXPECT_EQ(FileContent(path), golden_);

  EXPECT_EQ(ReadNetworkFile(dir / "absent.net"), nullptr);
  EXPECT_EQ(last_message(),
            "Cannot open network file for reading: absent.net: No such file or directory");
  EXPECT_FALSE(WriteNetworkFile(SmallNetwork(), dir / "no such dir" / "x.net").ok());
  EXPECT_EQ(last_message(),
            "Cannot open network file for writing: x.net: No such file or directory");
}

}  // namespace
}  // namespace tavrin::testing
