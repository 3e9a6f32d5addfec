// The template file, fragment expansion, the choice of fragments, and the
// generator's refusals, each of which leaves no file behind.

#include "codegen/code_generator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "codegen/fragment_expansion.h"
#include "common/binary_writer.h"
#include "file_test_support.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

std::string Bytes(std::initializer_list<std::int32_t> words, std::string_view tail = "") {
  std::ostringstream out;
  BinaryWriter writer(out);
  for (std::int32_t w : words) writer.WriteInt32(w);
  writer.WriteBytes(tail);
  return out.str();
}

class CodeGeneratorTest : public EngineTest {};

TEST_F(CodeGeneratorTest, TemplateFileRoundTripsAndRefusesDamage) {
  CodeTemplate t;
  t.fragments[0] = "head $00";
  t.fragments[99] = std::string("\0\xff\x80 tail", 8);
  std::stringstream file;
  ASSERT_TRUE(WriteCodeTemplate(t, file));
  EXPECT_EQ(file.str().find("head"), std::string::npos) << "stored scrambled";
  const auto back = ReadCodeTemplate(file);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->fragments, t.fragments);

  for (const std::string& damaged : {Bytes({101}),             // more fragments than numbers
                                     Bytes({2, 0, 1}, "x"),    // a count the bytes cannot hold
                                     Bytes({1, 100, 1}, "x"),  // a number beyond 99
                                     Bytes({1, -1, 1}, "x"),   // a negative number
                                     Bytes({2, 5, 1}, "x") + Bytes({5, 0}),  // a number given twice
                                     Bytes({1, 5, -1}),                      // a negative length
                                     Bytes({1, 5, 1000}, "x"),  // a length beyond the end
                                     Bytes({1, 5, 1}, "xy"),    // bytes after the last fragment
                                     Bytes({}, "ab")}) {        // not even a count
    std::istringstream in(damaged);
    EXPECT_FALSE(ReadCodeTemplate(in)) << ::testing::PrintToString(damaged);
    EXPECT_EQ(last_message(), kProcessingFailed);
  }
}

TEST_F(CodeGeneratorTest, ExpansionFillsSlotsAndMerges) {
  SubstitutionTable slots;
  slots[1] = "one";
  slots[99] = "last";
  const MergeCallback merge = [](int n, std::ostream& out) { out << '<' << n << '>'; };
  const std::tuple<std::string, bool, std::string> rows[] = {
      {"a$01b$99$00.", true, "aoneblast."},
      {"x$c07y$c5$c", true, "x<7>y$c5$c"},
      {"$1$ $$01$0", true, "$1$ $one$0"},
      {"x$c07y", false, "x" + std::string(kMissingMergeText) + "y"},
  };
  for (const auto& [fragment, with_merge, expected] : rows) {
    std::ostringstream out;
    ExpandFragment(fragment, slots, with_merge ? &merge : nullptr, out);
    EXPECT_EQ(out.str(), expected) << fragment;
  }
}

TEST_F(CodeGeneratorTest, FragmentsFollowTheLayout) {
  // One One-of-N input of three values over two steps, a two-state output,
  // classes by confidence.
  Network net = MakeNetwork(NetworkType::kMlp, {6, 3, 1}, 1, 1);
  net.coding.conversion = {1.0, 2.0};
  net.coding.nominals = {{"a", "b", "c"}, {"x", "y"}};
  net.coding.steps = 2;
  net.coding.RecountUnits();
  net.layers[1].act_fn = ActivationFunction::kHyperbolic;
  net.layers[2].psp_fn = PspFunction::kRadial;
  CodeOptions options;
  EXPECT_EQ(NeededFragments(net, options),
            (std::vector<int>{0, 2, 3, 4, 15, 22, 26, 32, 27, 30, 48, 5, 18, 6}));

  // C++ head, feedback, a numeric input with and without scaling, by error,
  // a Kohonen class by vote, the harness.
  net = MakeNetwork(NetworkType::kSimpleRecurrent, {3, 1}, 2, 1);
  net.layers[0].connections[1].Allocate(1, 3);
  net.coding.scale = {1.0, 2.0, 3.0};
  net.coding.conversion = {0.0, 0.0, 6.0};
  net.coding.classify_by = 0;
  options.cpp = options.harness = true;
  EXPECT_EQ(NeededFragments(net, options),
            (std::vector<int>{1, 2, 3, 4, 8, 9, 22, 23, 26, 30, 47, 5, 21, 6, 7}));
}

TEST_F(CodeGeneratorTest, RefusalsWriteNothing) {
  const Network net = MakeNetwork({1, 1});
  const TestDirectory dir;
  CodeTemplate partial;
  for (int n : {0, 2, 3, 4, 5, 6, 8, 16, 22, 26, 47, 48}) partial.fragments[n] = "";
  std::ofstream(dir / "partial.bin") << [&] {
    std::ostringstream out;
    EXPECT_TRUE(WriteCodeTemplate(partial, out));
    return out.str();
  }();
  const auto out = dir / "out.c";
  const std::tuple<const Network*, CodeOptions, std::string> rows[] = {
      {nullptr, {"p", out, TAVRIN_CTEMPLATE_FILE}, std::string(kCodegenNoNetwork)},
      {&net, {"p", "", TAVRIN_CTEMPLATE_FILE}, std::string(kCodegenNoFileName)},
      {&net, {"", out, TAVRIN_CTEMPLATE_FILE}, std::string(kCodegenNoPrefix)},
      {&net, {"9p", out, TAVRIN_CTEMPLATE_FILE}, std::string(kCodegenPrefixNotIdentifier)},
      {&net, {"p-q", out, TAVRIN_CTEMPLATE_FILE}, std::string(kCodegenPrefixNotIdentifier)},
      {&net, {"p", out, dir / "none.bin"}, std::string(kProcessingFailed)},
      {&net,
       {"p", out, dir / "partial.bin"},
       "The code template has no fragment 30, which this network needs"},
      {&net, {"p", dir / "no/out.c", TAVRIN_CTEMPLATE_FILE}, std::string(kCannotCreateDumpFile)},
  };
  for (const auto& [network, options, message] : rows) {
    EXPECT_FALSE(GenerateCode(network, options)) << message;
    EXPECT_TRUE(last_message().starts_with(message)) << last_message();
    EXPECT_FALSE(std::filesystem::exists(out)) << message;
  }
  EXPECT_TRUE(GenerateCode(&net, {"p", out, TAVRIN_CTEMPLATE_FILE}));
  EXPECT_TRUE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace tavrin::testing
