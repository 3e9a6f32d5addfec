// The text network file: the exact text the writer produces, round trips of
// every kind, the lexical rules, the header and its versions, every refusal
// with its message, the earlier short layout, class labels, and the cases
// the format could not carry as first described (simple recurrent kinds,
// missing values, long lines, classes of other kinds, names with the
// format's own marks).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "common/missing.h"
#include "file_test_support.h"
#include "network/network_file.h"

namespace tavrin {
namespace {

using testing::EngineTest;
using testing::LongestLine;
using testing::ReadText;
using testing::TextOf;
using testing::WithoutActivations;

// Replaces the first line that equals `line` (the whole line) with
// `replacement`, or removes it when the replacement is null.
std::string WithLine(const std::string& text, const std::string& line, const char* replacement) {
  std::string framed = "\n" + text;
  const std::size_t at = framed.find("\n" + line + "\n");
  EXPECT_NE(at, std::string::npos) << "no line: " << line;
  if (at == std::string::npos) return text;
  const std::string with = replacement ? "\n" + std::string(replacement) + "\n" : "\n";
  framed.replace(at, line.size() + 2, with);
  return framed.substr(1);
}

// The small network whose file the tests below write out by hand: a 2-3-1
// MLP with one numeric input, one unnamed numeric input and a nominal
// "Two-state" output.
Network SmallNetwork() {
  Network net = testing::MakeNetwork({2, 3, 1});
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
  c.conversion[2] = 2.0;  // Two-state: one unit
  c.missing_fn[2] = 1.0;  // Median
  c.shift[2] = -0.5;
  c.scale[2] = 2;
  c.substitutes = {0.25, MISSING, 1};
  return net;
}

// The file of SmallNetwork(), written out from the format's description.
const char* const kSmallNetworkFile =
    "# Tavrin v1.0 Network\n"
    "\n"
    "type MLP\n"
    "error_fn \"Sum-squared\"\n"
    "no_layers 3 (2,3,1)\n"
    "\n"
    "layer 1\n"
    "no_units 2\n"
    "width 1\n"
    "act_fn \"Linear\"\n"
    "psp_fn \"Linear\"\n"
    "0\n"
    "0 \"x unit\"\n"
    "\n"
    "layer 2\n"
    "no_units 3\n"
    "width 1\n"
    "act_fn \"Logistic\"\n"
    "psp_fn \"Linear\"\n"
    "0.5\n"
    "-0.25 \"hidden:2\"\n"
    "1e+06\n"
    "weights 1\n"
    "0.1\t-0.2\t\n"
    "1.5\t2\t\n"
    "?\t0\t\n"
    "\n"
    "layer 3\n"
    "no_units 1\n"
    "width 1\n"
    "act_fn \"Linear\"\n"
    "psp_fn \"Linear\"\n"
    "0.125\n"
    "weights 2\n"
    "1\t2\t3\t\n"
    "\n"
    "normalisation\n"
    "classify_by confidence\n"
    "accept 0.95\n"
    "reject 0.05\n"
    "steps 1\n"
    "lookahead 0\n"
    "input_normalisation \"None\"\n"
    "output_normalisation \"None\"\n"
    "no_inputs 2\n"
    "no_outputs 1\n"
    "no_normed_inputs 2\n"
    "no_normed_outputs 1\n"
    "attributes\n"
    "Height\n"
    "\n"
    "Grade={low,high}\n"
    "factors\n"
    "Minimax\tMean\t0\t1\t0\t1\n"
    "Minimax\tMean\t0\t1\t0\t1\n"
    "Two-state\tMedian\t0\t1\t-0.5\t2\n"
    "missing values\n"
    "0.25\n"
    "?\n"
    "1\n"
    "\n"
    "\n";

class NetworkFileTest : public EngineTest {
 protected:
  // Reads the text expecting a refusal, and gives its message.
  std::string RefusalOf(const std::string& text) {
    sink_.clear();
    auto net = ReadText(text);
    EXPECT_EQ(net, nullptr);
    return last_message();
  }
};

TEST_F(NetworkFileTest, WriterProducesTheFileAsDescribed) {
  EXPECT_EQ(TextOf(SmallNetwork()), kSmallNetworkFile);
}

TEST_F(NetworkFileTest, ReaderRebuildsTheNetworkFromTheFile) {
  auto net = ReadText(kSmallNetworkFile);
  ASSERT_NE(net, nullptr) << last_message();
  testing::ExpectSameNetwork(*net, SmallNetwork());
}

TEST_F(NetworkFileTest, WeightRowsBreakAfterEveryEighthValue) {
  Network net = testing::MakeNetwork({10, 1});
  for (int s = 0; s < 10; ++s) net.layers[1].connections[0].weights[s] = s + 1;
  const std::string text = TextOf(net);
  EXPECT_NE(text.find("weights 1\n1\t2\t3\t4\t5\t6\t7\t8\t\n9\t10\t\n\n"), std::string::npos)
      << text;
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr);
  testing::ExpectSameNetwork(*read, net);
}

TEST_F(NetworkFileTest, EveryKindRoundTrips) {
  for (const auto& kind : testing::EveryKind()) {
    SCOPED_TRACE(kind.label);
    auto net = testing::BuildKind(kind);
    ASSERT_NE(net, nullptr) << last_message();
    const std::string text = TextOf(*net);
    EXPECT_LE(LongestLine(text), 1023u);
    auto read = ReadText(text);
    ASSERT_NE(read, nullptr) << last_message();
    // Every real of the decorated network has at most six significant
    // digits, so the text keeps it exactly.
    testing::ExpectSameNetwork(*read, WithoutActivations(*net));
  }
}

TEST_F(NetworkFileTest, SimpleRecurrentKindReadsBackAsItself) {
  Network net = testing::MakeNetwork(NetworkType::kSimpleRecurrent, {2, 1, 1}, 1, 1);
  const std::string text = TextOf(net);
  EXPECT_NE(text.find("\ntype Simple recurrent\n"), std::string::npos);
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->type, NetworkType::kSimpleRecurrent);
  // An unknown kind name still reads as an MLP.
  read = ReadText(WithLine(text, "type Simple recurrent", "type Hopfield"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->type, NetworkType::kMlp);
}

TEST_F(NetworkFileTest, RealsReadBackExactly) {
  Network net = testing::MakeNetwork({2, 1});
  net.layers[1].connections[0].weights = {0.123456789, -1234567.0};
  net.coding.accept = 2.0 / 3.0;
  auto read = ReadText(TextOf(net));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->layers[1].connections[0].weights, net.layers[1].connections[0].weights);
  EXPECT_EQ(read->coding.accept, 2.0 / 3.0);
}

TEST_F(NetworkFileTest, MissingValuesAreWrittenAsQuestionMarksAndReadBack) {
  Network net = testing::MakeNetwork({2, 1});
  net.layers[1].connections[0].weights = {MISSING, 0.5};
  net.layers[1].thresholds[0] = MISSING;
  net.coding.substitutes = {MISSING, 1, MISSING};
  net.coding.shift[0] = MISSING;
  const std::string text = TextOf(net);
  EXPECT_EQ(text.find("1.17549e-38"), std::string::npos);
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr);
  testing::ExpectSameNetwork(*read, net);
}

TEST_F(NetworkFileTest, TheMissingMarkersRealTextOfOlderFilesReadsAsMissing) {
  std::string text = WithLine(kSmallNetworkFile, "?\t0\t", "1.17549e-38\t0\t");
  text = WithLine(text, "?", "1.17549e-38");
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr);
  testing::ExpectSameNetwork(*read, SmallNetwork());
}

TEST_F(NetworkFileTest, ARealBesideTheMissingMarkerStaysARealThroughTheFile) {
  // "01.17549e-38" is a number, not the marker's old text; written back as
  // "%lg" it would become that text.
  auto read = ReadText(WithLine(kSmallNetworkFile, "Two-state\tMedian\t0\t1\t-0.5\t2",
                                "Two-state\tMedian\t0\t1\t01.17549e-38\t2"));
  ASSERT_NE(read, nullptr) << last_message();
  EXPECT_EQ(read->coding.shift[2], 1.17549e-38);
  auto again = ReadText(TextOf(*read));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->coding.shift[2], 1.17549e-38);
}

TEST_F(NetworkFileTest, AThresholdLabelWithAColonGivesNameAndClass) {
  auto read = ReadText(WithLine(kSmallNetworkFile, "0.5", "0.5 \"unit:3\""));
  ASSERT_NE(read, nullptr) << last_message();
  EXPECT_EQ(read->layers[1].thresholds[0], 0.5);
  EXPECT_EQ(read->layers[1].classes[0], 3.0);
  EXPECT_EQ(read->layers[1].unit_names[0], "unit");
  // Only a quoted label counts; a class with trailing text keeps its digits.
  read = ReadText(WithLine(kSmallNetworkFile, "0.5", "0.5 \":4th\""));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->layers[1].classes[0], 4.0);
  EXPECT_EQ(read->layers[1].unit_names[0], "");
}

TEST_F(NetworkFileTest, ClassesAndNamesOfUnitsSurviveInEveryKind) {
  Network net = testing::MakeNetwork({2, 3, 1});
  net.layers[1].unit_names = {"", "named", "both"};
  net.layers[1].classes = {4, 0, 2};
  net.layers[2].classes = {-1.5};
  const std::string text = TextOf(net);
  EXPECT_NE(text.find("0 \":4\"\n0 \"named\"\n0 \"both:2\"\n"), std::string::npos) << text;
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr);
  testing::ExpectSameNetwork(*read, net);
}

// A Kohonen network with a nominal output whose classes name its values.
Network KohonenNetwork() {
  Network net = testing::MakeNetwork(NetworkType::kKohonen, {2, 5}, 2, 1);
  net.coding.conversion[2] = static_cast<double>(ConversionFunction::kKohonen);
  net.coding.nominals[2] = {"red", "green", "blue"};
  net.layers[1].psp_fn = PspFunction::kRadial;
  net.layers[1].act_fn = ActivationFunction::kSquareRoot;
  net.error_fn = ErrorFunction::kKohonen;
  return net;
}

TEST_F(NetworkFileTest, KohonenClassesAreWrittenAsValueNamesWhereTheyReadBackSo) {
  Network net = KohonenNetwork();
  Layer& units = net.layers[1];
  units.classes = {1, 2, 0, 3, 2};
  units.unit_names = {"", "", "green", "", "mine"};
  const std::string text = TextOf(net);
  // Classes by their value names. "green" as a name would read as class 2,
  // so it carries its class 0, and a named unit keeps its name: both take the
  // name:class form.
  EXPECT_NE(text.find("0 \"red\"\n0 \"green\"\n0 \"green:0\"\n0 \"blue\"\n0 \"mine:2\"\n"),
            std::string::npos)
      << text;
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr);
  testing::ExpectSameNetwork(*read, net);
}

TEST_F(NetworkFileTest, KohonenUnitsLabelledWithValueNamesTakeTheirClassesOnReading) {
  Network net = KohonenNetwork();
  std::string text = TextOf(net);
  // As an older writer labels them: value names alone.
  const std::string units = "0\n0\n0\n0\n0\n";
  const std::size_t at =
      text.find("psp_fn \"Radial\"\n") + std::string("psp_fn \"Radial\"\n").size();
  text.replace(at, units.size(), "0 \"green\"\n0 \"violet\"\n0 \"red\"\n0\n0\n");
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr) << last_message();
  EXPECT_EQ(read->layers[1].classes, (std::vector<double>{2, 0, 1, 0, 0}));
  EXPECT_EQ(read->layers[1].unit_names, (std::vector<std::string>{"", "violet", "", "", ""}));

  // In another kind a value name stays a unit name.
  text.replace(text.find("type Kohonen"), 12, "type MLP");
  read = ReadText(text);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->layers[1].classes, (std::vector<double>{0, 0, 0, 0, 0}));
  EXPECT_EQ(read->layers[1].unit_names[0], "green");
}

TEST_F(NetworkFileTest, NetworksWithoutInputOrOutputVariablesRoundTrip) {
  for (const auto& [inputs, outputs] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{0, 0}}) {
    SCOPED_TRACE(std::to_string(inputs) + " inputs, " + std::to_string(outputs) + " outputs");
    Network net = testing::MakeNetwork(NetworkType::kMlp, {1, 1}, inputs, outputs);
    auto read = ReadText(TextOf(net));
    ASSERT_NE(read, nullptr) << last_message();
    testing::ExpectSameNetwork(*read, net);
  }
}

TEST_F(NetworkFileTest, HeaderVersionsAndKinds) {
  const std::string body =
      std::string(kSmallNetworkFile).substr(std::string("# Tavrin v1.0 Network").size());
  EXPECT_NE(ReadText("# Tavrin v2.1 network" + body), nullptr);
  EXPECT_NE(ReadText("# Tavrin v2.0 NETWORK" + body), nullptr);
  EXPECT_NE(ReadText("# Tavrin v1.1 Network" + body), nullptr);
  const std::string later = "File created by a later version of Tavrin; cannot open";
  EXPECT_EQ(RefusalOf("# Tavrin v1.2 Network" + body), later);
  EXPECT_EQ(RefusalOf("# Tavrin v3.0 Network" + body), later);
  const std::string no_header =
      "Network file corrupted: no header line (probably not a Tavrin network file at all)";
  EXPECT_EQ(RefusalOf("# Tavrin v1.0 Patterns" + body), no_header);
  EXPECT_EQ(RefusalOf("# Tavrin 1.0 Network" + body), no_header);
  EXPECT_EQ(RefusalOf(body), no_header);
  EXPECT_EQ(RefusalOf(""), no_header);
}

TEST_F(NetworkFileTest, CommentsBetweenAnyTwoLinesAreIgnored) {
  std::string text;
  std::istringstream lines(kSmallNetworkFile);
  std::string line;
  bool first = true;
  while (std::getline(lines, line)) {
    text += line + "\n";
    if (!first) text += "# a comment\n";
    first = false;
  }
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr) << last_message();
  testing::ExpectSameNetwork(*read, SmallNetwork());
}

TEST_F(NetworkFileTest, CarriageReturnLineEndsAreRead) {
  std::string text;
  for (char c : std::string(kSmallNetworkFile)) {
    if (c == '\n') text += '\r';
    text += c;
  }
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr) << last_message();
  testing::ExpectSameNetwork(*read, SmallNetwork());
}

TEST_F(NetworkFileTest, LinesAreReadInPiecesOf1023Characters) {
  // A comment of 1023 characters followed by the type field on the same
  // line: the piece after the limit is read as a line of its own.
  const std::string comment = "#" + std::string(1022, 'x');
  auto read = ReadText(WithLine(kSmallNetworkFile, "type MLP", (comment + "type RBF").c_str()));
  ASSERT_NE(read, nullptr) << last_message();
  EXPECT_EQ(read->type, NetworkType::kRbf);

  // A number cut in two by the limit cannot be read; the refusal says why.
  const std::string text = kSmallNetworkFile;
  const std::string weights = "0.1\t-0.2\t";
  const auto line = 1 + std::count(text.begin(), text.begin() + text.find(weights), '\n');
  const std::string long_number = "0.1" + std::string(1100, '0') + "1\t-0.2\t";
  const std::string refusal = RefusalOf(WithLine(text, weights, long_number.c_str()));
  EXPECT_NE(refusal.find(" (line " + std::to_string(line) + " is longer than 1023 characters)"),
            std::string::npos)
      << refusal;
}

TEST_F(NetworkFileTest, NoWrittenLineIsLongerThanTheReaderTakesWhole) {
  Network net = testing::MakeNetwork({2, 1});
  // Value names starting with "#" show that the continued lines are not
  // taken for comments.
  std::vector<std::string> values;
  for (int k = 1; k <= 300; ++k) values.push_back("#value " + std::to_string(k));
  net.coding.nominals[2] = values;
  net.coding.conversion[2] = 2.0;  // Two-state: still one unit
  net.coding.variable_names[0] = std::string(1023, 'n');
  net.coding.variable_names[2] = std::string(1021, 'v');
  const std::string text = TextOf(net);
  EXPECT_LE(LongestLine(text), 1023u);
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr) << last_message();
  testing::ExpectSameNetwork(*read, net);
}

TEST_F(NetworkFileTest, ALayerListRunningOverLinesIsJoined) {
  auto read = ReadText(WithLine(kSmallNetworkFile, "no_layers 3 (2,3,1)", "no_layers 3 (2,\n3,1)"));
  ASSERT_NE(read, nullptr) << last_message();
  testing::ExpectSameNetwork(*read, SmallNetwork());
}

TEST_F(NetworkFileTest, EveryRefusalHasItsMessage) {
  struct Case {
    std::vector<std::pair<std::string, const char*>> edits;  // line, replacement or removal
    std::string message;
  };
  const std::vector<Case> cases = {
      {{{"type MLP", nullptr}}, "Network file corrupted: type field not found"},
      {{{"error_fn \"Sum-squared\"", nullptr}}, "Network file corrupted: error_fn not found"},
      {{{"error_fn \"Sum-squared\"", "error_fn \"Sum of squares\""}},
       "Network file corrupted: unrecognised error function"},
      {{{"no_layers 3 (2,3,1)", "no_layers 0 (2,3,1)"}},
       "Network file corrupted: no_layers field not found"},
      {{{"no_layers 3 (2,3,1)", "no_layers -3"}},
       "Network file corrupted: no_layers field not found"},
      {{{"no_layers 3 (2,3,1)", nullptr}}, "Network file corrupted: no_layers field not found"},
      {{{"no_units 3", nullptr}}, "Network file corrupted: no_units field for layer 2 not found"},
      {{{"no_units 3", "no_units 0"}},
       "Network file corrupted: no_units in layer 2 zero or negative"},
      {{{"layer 3", "layer 3\nno_units 1\nwidth 0"}},
       "Network file corrupted: width in layer 3 zero or negative"},
      {{{"layer 3", "layer 3\nno_units 1\nheight 1"}},
       "Network file corrupted: width field for layer 3 not found"},
      {{{"act_fn \"Logistic\"", nullptr}}, "Network file corrupted: act_fn for layer 2 not found"},
      {{{"act_fn \"Logistic\"", "act_fn \"logistic\""}},
       "Network file corrupted: unrecognised activation function in layer 2"},
      {{{"layer 3", "layer 3\nno_units 1\nwidth 1\nact_fn \"Linear\"\nact_fn \"Linear\""}},
       "Network file corrupted: psp_fn for layer 3 not found"},
      {{{"layer 3", "layer 3\nno_units 1\nwidth 1\nact_fn \"Linear\"\npsp_fn \"Cubic\""}},
       "Network file corrupted: unrecognised psp function in layer 3"},
      {{{"weights 1", "weigths 1"}}, "Network file corrupted: weights header not found"},
      {{{"weights 1", "weights 4"}},
       "Network file corrupted: connections from non-existent layer found"},
      {{{"weights 2", "fixed_weights 0"}},
       "Network file corrupted: connections from non-existent layer found"},
      {{{"1.5\t2\t", "1.5\ttwo\t"}}, "Network file corrupted: invalid number in layer 2"},
      {{{"-0.25 \"hidden:2\"", "\"hidden:2\""}},
       "Network file corrupted: invalid number in layer 2"},
      {{{"normalisation", nullptr}}, "Network file corrupted: normalisation section not found"},
      {{{"classify_by confidence", "classify_by certainty"}},
       "Network file corrupted: unrecognised classify_by option <certainty>"},
      {{{"classify_by confidence", nullptr}},
       "Network file corrupted: classify_by field not found"},
      {{{"accept 0.95", nullptr}}, "Network file corrupted: accept field not found"},
      {{{"accept 0.95", "accept high"}}, "Network file corrupted: accept field not found"},
      {{{"reject 0.05", nullptr}}, "Network file corrupted: reject field not found"},
      {{{"steps 1", nullptr}}, "Network file corrupted: steps field not found"},
      {{{"lookahead 0", nullptr}}, "Network file corrupted: lookahead field not found"},
      {{{"input_normalisation \"None\"", nullptr}},
       "Network file corrupted: input_normalisation not found"},
      {{{"input_normalisation \"None\"", "input_normalisation \"Maximum\""}},
       "Network file corrupted: unrecognised input_normalisation function"},
      {{{"output_normalisation \"None\"", nullptr}},
       "Network file corrupted: output_normalisation not found"},
      {{{"output_normalisation \"None\"", "output_normalisation \"Median\""}},
       "Network file corrupted: unrecognised output_normalisation function"},
      {{{"no_outputs 1", nullptr}},
       "Network file corrupted: not all normalisation factors present"},
      {{{"no_normed_inputs 2", "no_normed_outputs 1\nno_normed_inputs 2"}},
       "Network file corrupted: not all normalisation factors present"},
      {{{"attributes", nullptr}}, "Network file corrupted: not all normalisation factors present"},
      {{{"factors", "factor"}}, "Network file corrupted: not all normalisation factors present"},
      {{{"Two-state\tMedian\t0\t1\t-0.5\t2", "Two-state\tMedian\t0\t1\t-0.5"}},
       "Network file corrupted: not all normalisation factors present"},
      {{{"Minimax\tMean\t0\t1\t0\t1", "Kohonen\tMean\t0\t1\t0\t1"}},
       "Network file corrupted: unrecognised input preparation function"},
      {{{"Two-state\tMedian\t0\t1\t-0.5\t2", "Binary\tMedian\t0\t1\t-0.5\t2"}},
       "Network file corrupted: unrecognised input preparation function"},
      {{{"Two-state\tMedian\t0\t1\t-0.5\t2", "Two-state\tMiddle\t0\t1\t-0.5\t2"}},
       "Network file corrupted: unrecognised missing value patch function"},
      {{{"missing values", nullptr}},
       "Network file corrupted: not all normalisation factors present"},
      {{{"1", nullptr}}, "Network file corrupted: not all normalisation factors present"},
      {{{"steps 1", "steps 0"}}, "Network file corrupted: steps or lookahead out of range"},
      {{{"lookahead 0", "lookahead -2"}},
       "Network file corrupted: steps or lookahead out of range"},
      {{{"no_normed_inputs 2", "no_normed_inputs 1"},
        {"no_normed_outputs 1", "no_normed_outputs 2"}},
       "Network file corrupted: unit counts do not match the variables"},
      {{{"no_inputs 2", "no_inputs 2147483647"}},
       "Network file corrupted: number of variables out of range"},
  };
  for (const Case& c : cases) {
    std::string text = kSmallNetworkFile;
    for (const auto& [line, replacement] : c.edits) text = WithLine(text, line, replacement);
    EXPECT_EQ(RefusalOf(text), c.message) << c.edits.front().first;
  }
}

TEST_F(NetworkFileTest, AFileEndingInsideTheWeightsIsRefused) {
  const std::string text = kSmallNetworkFile;
  EXPECT_EQ(RefusalOf(text.substr(0, text.find("?\t0\t"))),
            "Unexpected end of file while reading network weights");
  EXPECT_EQ(RefusalOf(text.substr(0, text.find("layer 3"))),
            "Unexpected end of file while reading network weights");
}

TEST_F(NetworkFileTest, EveryTruncationBeforeTheSubstitutesIsRefused) {
  const std::string text = kSmallNetworkFile;
  const std::size_t substitutes = text.find("missing values\n");
  for (std::size_t size = 0; size < substitutes; ++size) {
    sink_.clear();
    EXPECT_EQ(ReadText(text.substr(0, size)), nullptr) << "size " << size;
    EXPECT_FALSE(last_message().empty()) << "size " << size;
  }
}

TEST_F(NetworkFileTest, CountsBeyondWhatTheFileHoldsAreRefusedWithoutAllocatingThem) {
  // Each count promises far more lines than follow.
  EXPECT_EQ(RefusalOf(WithLine(kSmallNetworkFile, "no_units 3", "no_units 2147483647")),
            "Network file corrupted: invalid number in layer 2");
  const std::string first_layer_only =
      std::string(kSmallNetworkFile)
          .substr(0, std::string(kSmallNetworkFile).find("\n\nlayer 2") + 1);
  EXPECT_EQ(RefusalOf(WithLine(first_layer_only, "no_units 2", "no_units 2147483647")),
            "Unexpected end of file while reading network weights");
  EXPECT_EQ(RefusalOf(WithLine(kSmallNetworkFile, "no_layers 3 (2,3,1)", "no_layers 1000 (2,3,1)")),
            "Unexpected end of file while reading network weights");
  EXPECT_EQ(RefusalOf(WithLine(kSmallNetworkFile, "no_layers 3 (2,3,1)", "no_layers 2000000000")),
            "Not enough memory to perform operation");
  EXPECT_EQ(RefusalOf(WithLine(kSmallNetworkFile, "no_inputs 2", "no_inputs 2147483646")),
            "Network file corrupted: not all normalisation factors present");
  EXPECT_EQ(
      RefusalOf(WithLine(kSmallNetworkFile, "no_normed_inputs 2", "no_normed_inputs 2147483646")),
      "Network file corrupted: not all normalisation factors present");
}

TEST_F(NetworkFileTest, ABlockFromALaterLayerMustMatchThatLayer) {
  // A fixed block into layer 1 from layer 2, sized by the no_layers list.
  std::string text =
      WithLine(kSmallNetworkFile, "0 \"x unit\"", "0 \"x unit\"\nfixed_weights 2\n1 0 0\n0 1 0");
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr) << last_message();
  EXPECT_EQ(read->layers[0].connections[1].fixed, 1);
  EXPECT_EQ(read->layers[0].connections[1].weights, (std::vector<double>{1, 0, 0, 0, 1, 0}));
  // The list promises 2 units, but the layer has 3.
  EXPECT_EQ(RefusalOf(WithLine(text, "no_layers 3 (2,3,1)", "no_layers 3 (2,2,1)")),
            "Network file corrupted: weights into layer 1 do not match the layer they come from");
  // Without the list the size of a later layer is not known.
  EXPECT_EQ(RefusalOf(WithLine(text, "no_layers 3 (2,3,1)", "no_layers 3")),
            "Network file corrupted: weights into layer 1 do not match the layer they come from");
}

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
  auto read = ReadText(text);
  ASSERT_NE(read, nullptr) << last_message();
  VariableCoding expected = MakeDefaultCoding(2, 1);
  expected.classify_by = 0;
  expected.accept = 0.1;
  expected.reject = 0.9;
  expected.input_normalisation = static_cast<int>(Normalisation::kUnitLength);
  expected.output_normalisation = static_cast<int>(Normalisation::kMaximum);
  expected.shift = {0.5, -1, 0};
  expected.scale = {2, 4, 1};
  testing::ExpectSameCoding(read->coding, expected);
  EXPECT_EQ(read->type, NetworkType::kLinear);
  EXPECT_EQ(read->error_fn, ErrorFunction::kCityBlock);

  const std::string short_of_one = text.substr(0, text.find("2 0 1\n"));
  EXPECT_EQ(RefusalOf(short_of_one),
            "Network file corrupted: not all normalisation factors present");
}

TEST_F(NetworkFileTest, NamesTheFormatCannotCarryAreRefusedBeforeWriting) {
  struct Case {
    void (*edit)(Network&);
    std::string message;
  };
  const Case cases[] = {
      {[](Network& n) { n.coding.variable_names[0] = "#weight"; },
       "Cannot save network: the name of variable 1 starts with \"#\""},
      {[](Network& n) { n.coding.variable_names[1] = "a={b}"; },
       "Cannot save network: the name of variable 2 holds \"={\""},
      {[](Network& n) { n.coding.variable_names[2] = "two\nlines"; },
       "Cannot save network: the name of variable 3 holds a line break"},
      {[](Network& n) { n.coding.variable_names[0] = "carriage\rreturn"; },
       "Cannot save network: the name of variable 1 holds a line break"},
      {[](Network& n) { n.coding.variable_names[0] = std::string(1024, 'n'); },
       "Cannot save network: the name of variable 1 is too long for a network file"},
      {[](Network& n) { n.coding.variable_names[2] = std::string(1022, 'n'); },
       "Cannot save network: the name of variable 3 is too long for a network file"},
      {[](Network& n) { n.coding.nominals[2][0] = "low,ish"; },
       "Cannot save network: a nominal value of variable 3 holds \",\", \"}\" or a line break"},
      {[](Network& n) { n.coding.nominals[2][1] = "high}"; },
       "Cannot save network: a nominal value of variable 3 holds \",\", \"}\" or a line break"},
      {[](Network& n) { n.coding.nominals[2][1] = "hi\ngh"; },
       "Cannot save network: a nominal value of variable 3 holds \",\", \"}\" or a line break"},
      {[](Network& n) { n.layers[1].unit_names[0] = "say \"hi\""; },
       "Cannot save network: a unit name in layer 2 holds a double quote, a colon or a line "
       "break"},
      {[](Network& n) { n.layers[0].unit_names[0] = "a:b"; },
       "Cannot save network: a unit name in layer 1 holds a double quote, a colon or a line "
       "break"},
      {[](Network& n) { n.layers[2].unit_names[0] = std::string(1020, 'u'); },
       "Cannot save network: a unit name in layer 3 is too long for a network file"},
  };
  for (const Case& c : cases) {
    Network net = SmallNetwork();
    c.edit(net);
    std::ostringstream out;
    sink_.clear();
    EXPECT_FALSE(WriteNetworkFile(net, out).ok()) << c.message;
    EXPECT_EQ(last_message(), c.message);
    EXPECT_TRUE(out.str().empty()) << c.message;
  }
}

TEST_F(NetworkFileTest, AnUnknownNormalisationIsWrittenAsNoneWithAnInternalError) {
  Network net = SmallNetwork();
  net.coding.output_normalisation = 9;
  const std::string text = TextOf(net);
  EXPECT_EQ(last_message(),
            "Internal error recognising output_normalisation function: reverting to default "
            "function");
  EXPECT_NE(text.find("output_normalisation \"None\"\n"), std::string::npos);
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

TEST_F(NetworkFileTest, AWriteThatDoesNotReachTheStreamIsReported) {
  const std::size_t whole = std::string(kSmallNetworkFile).size();
  for (std::size_t limit = 0; limit < whole; ++limit) {
    LimitedBuffer buffer(limit);
    std::ostream out(&buffer);
    sink_.clear();
    EXPECT_FALSE(WriteNetworkFile(SmallNetwork(), out).ok()) << limit;
    EXPECT_EQ(last_message(), "Cannot write network file") << limit;
  }
  LimitedBuffer enough(whole);
  std::ostream out(&enough);
  EXPECT_TRUE(WriteNetworkFile(SmallNetwork(), out).ok());
}

class NetworkFilePathTest : public NetworkFileTest {
 protected:
  void SetUp() override {
    NetworkFileTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() /
           ("tavrin_network_file_test_" + std::to_string(std::random_device{}()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    NetworkFileTest::TearDown();
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::filesystem::path dir_;
};

TEST_F(NetworkFilePathTest, AFileWrittenIsReadBack) {
  const auto path = dir_ / "small.net";
  ASSERT_TRUE(WriteNetworkFile(SmallNetwork(), path).ok()) << last_message();
  auto read = ReadNetworkFile(path);
  ASSERT_NE(read, nullptr) << last_message();
  testing::ExpectSameNetwork(*read, SmallNetwork());
  EXPECT_EQ(Entries(), std::vector<std::string>{"small.net"});
}

TEST_F(NetworkFilePathTest, ARefusedWriteLeavesTheOldFileAndNoTemporaryFile) {
  const auto path = dir_ / "small.net";
  ASSERT_TRUE(WriteNetworkFile(SmallNetwork(), path).ok());
  Network refused = SmallNetwork();
  refused.coding.variable_names[0] = "#x";
  EXPECT_FALSE(WriteNetworkFile(refused, path).ok());
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), kSmallNetworkFile);
  EXPECT_EQ(Entries(), std::vector<std::string>{"small.net"});
}

TEST_F(NetworkFilePathTest, FilesThatCannotBeOpenedAreReported) {
  EXPECT_EQ(ReadNetworkFile(dir_ / "absent.net"), nullptr);
  EXPECT_EQ(last_message(),
            "Cannot open network file for reading: absent.net: No such file or directory");
  EXPECT_EQ(ReadNetworkFile(dir_), nullptr);
  EXPECT_NE(last_message().find("Cannot open network file for reading: "), std::string::npos);
  EXPECT_NE(last_message().find(": Is a directory"), std::string::npos);
  EXPECT_FALSE(WriteNetworkFile(SmallNetwork(), dir_ / "no such dir" / "x.net").ok());
  EXPECT_EQ(last_message(),
            "Cannot open network file for writing: x.net: No such file or directory");
}

}  // namespace
}  // namespace tavrin
