// The program's parameter table: its kinds and names, the option lists the
// shipped message file gives, what each command runs and which rule enables
// what.

#include "program_parameters.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "availability.h"
#include "network/functions.h"
#include "network/variable_coding.h"
#include "recording_reporter.h"
#include "value_text.h"

namespace tavrin::app {
namespace {

using gui::SuParameter;
using gui::SuType;
using gui::testing::RecordingReporter;

// The shell actions the commands below run, recording their names.
const std::pair<gui::ChangeCallback ProgramActions::*, const char*> kShellMembers[] = {
    {&ProgramActions::open_window_named_by_prompt, "open_window_named_by_prompt"},
    {&ProgramActions::not_available_yet, "not_available_yet"},
    {&ProgramActions::exit, "exit"},
    {&ProgramActions::close_window, "close_window"},
    {&ProgramActions::stop, "stop"},
};

class ProgramParametersTest : public ::testing::Test {
 protected:
  ProgramParametersTest() {
    for (const auto& [member, name] : kShellMembers) {
      actions_.*member = [this, name = std::string(name)](SuParameter&) {
        calls_.push_back(name);
        return 0;
      };
    }
    ProgramTable table = ProgramParameters(state_, actions_);
    sources_ = std::move(table.option_sources);
    parameters_ = gui::ParameterTable(std::move(table.parameters));
  }

  SuParameter& Named(std::string_view name) {
    SuParameter* p = parameters_.Find(name);
    if (p == nullptr) ADD_FAILURE() << "no parameter " << name;
    return p ? *p : *parameters_.At(0);
  }

  ProgramState state_;
  ProgramActions actions_;
  std::vector<std::string> calls_;
  std::vector<OptionSource> sources_;
  gui::ParameterTable parameters_;
  MessageTable messages_;
  RecordingReporter reporter_;
};

TEST_F(ProgramParametersTest, KindsAndNames) {
  std::map<SuType, int> kinds;
  std::map<std::string, std::vector<SuParameter*>> named;
  for (int i = 0; i < parameters_.size(); ++i) {
    SuParameter* p = parameters_.At(i);
    ++kinds[p->type];
    named[p->name].push_back(p);
  }
  // The documented table of 478 entries, and one choice more:
  // kalvimetra_vartype, the options that the host package's long-name
  // warning offers.
  const std::map<SuType, int> expected = {
      {SuType::kInteger, 70},    {SuType::kReal, 57},    {SuType::kString, 23},
      {SuType::kAction, 2},      {SuType::kSwitch, 39},  {SuType::kChoice, 34 + 1},
      {SuType::kLong, 1},        {SuType::kButton, 102}, {SuType::kMenuItem, 40},
      {SuType::kToolButton, 68}, {SuType::kMatrix, 23},  {SuType::kCanvas, 6},
      {SuType::kGraph, 4},       {SuType::kBarChart, 3}, {SuType::kTextViewer, 1},
      {SuType::kWhatIf, 1},      {SuType::kScatter, 1},  {SuType::kList, 1},
      {SuType::kMultiList, 2}};
  EXPECT_EQ(kinds, expected);
  EXPECT_EQ(parameters_.size(), 479);

  // Names are unique but for the two training switches named shuffle, which
  // hold the engine's one flag.
  for (const auto& [name, entries] : named) {
    EXPECT_EQ(entries.size(), name == "shuffle" ? 2u : 1u) << name;
  }
  const std::vector<SuParameter*>& shuffles = named["shuffle"];
  ASSERT_EQ(shuffles.size(), 2u);
  EXPECT_EQ(std::get<int*>(shuffles[0]->value), std::get<int*>(shuffles[1]->value));
}

TEST_F(ProgramParametersTest, TheShippedMessagesGiveEveryChoiceAndActionItsOptions) {
  // The options as start-up gives them, from the shipped message file.
  std::ifstream in(TAVRIN_SOURCE_DIR "/resources/nrx.msg", std::ios::binary);
  ASSERT_TRUE(in);
  messages_.Load(in, nullptr);
  FillOptionLists(parameters_, sources_, messages_, reporter_);
  EXPECT_EQ(reporter_.warnings, std::vector<std::string>{});
  std::set<std::string> sourced;
  for (const OptionSource& source : sources_) sourced.insert(source.parameter);
  int lists = 0;
  for (int i = 0; i < parameters_.size(); ++i) {
    const SuParameter& p = *parameters_.At(i);
    if (p.type != SuType::kChoice && p.type != SuType::kAction) continue;
    ++lists;
    EXPECT_TRUE(sourced.count(p.name)) << p.name;
    if (auto* action = std::get_if<gui::SuAction*>(&p.value)) {
      EXPECT_NE((*action)->target, nullptr) << p.name << " would set nothing";
    }
    ASSERT_GT(gui::OptionCount(p), 1) << p.name;
    for (int option = 0; option < gui::OptionCount(p); ++option) {
      const std::string text = gui::OptionName(p, option).value_or("");
      EXPECT_FALSE(text.empty()) << p.name << " option " << option;
      EXPECT_EQ(gui::OptionIndex(p, text), option) << p.name << ": options must differ";
    }
  }
  EXPECT_EQ(lists, 37);

  // Where the engine keeps a table, the options are its names in its order:
  // an option's index is the code the engine and the network files use.
  auto expect_names = [&](const char* name, int count, auto engine_name) {
    const SuParameter& p = Named(name);
    ASSERT_EQ(gui::OptionCount(p), count) << name;
    for (int code = 0; code < count; ++code) {
      EXPECT_EQ(gui::OptionName(p, code), std::string(engine_name(code))) << name;
    }
  };
  expect_names("net_layer_act_fn", kActivationFunctionCount,
               [](int c) { return ActivationName(static_cast<ActivationFunction>(c)); });
  expect_names("net_layer_psp_fn", kPspFunctionCount,
               [](int c) { return PspName(static_cast<PspFunction>(c)); });
  expect_names("net_error_fn", kErrorFunctionCount,
               [](int c) { return ErrorName(static_cast<ErrorFunction>(c)); });
  expect_names("norm_input", kInputNormalisationCount,
               [](int c) { return NormalisationName(static_cast<Normalisation>(c)); });
  expect_names("norm_output", kOutputNormalisationCount,
               [](int c) { return NormalisationName(static_cast<Normalisation>(c)); });
}

TEST_F(ProgramParametersTest, CommandsRunTheShellsActionsOrSayTheirWorkIsNotBuiltYet) {
  // One command of each way a command is bound: a kind's default action, or
  // an action of its own.
  const std::pair<const char*, const char*> runs[] = {
      {"tool_loadnet", "open_window_named_by_prompt"},
      {"tool_commitnet", "not_available_yet"},
      {"file_open_network", "not_available_yet"},
      {"backprop_train", "not_available_yet"},
      {"file_exit", "exit"},
      {"longvar_cancel", "close_window"},
      {"stop", "stop"},
  };
  for (const auto& [name, action] : runs) {
    calls_.clear();
    SuParameter& p = Named(name);
    ASSERT_TRUE(p.change) << name;
    p.change(p);
    EXPECT_EQ(calls_, std::vector<std::string>{action}) << name;
  }
  // Every command does something, but the menu's separator line; settings
  // only hold their value.
  for (int i = 0; i < parameters_.size(); ++i) {
    const SuParameter& p = *parameters_.At(i);
    const bool command =
        p.type == SuType::kButton || p.type == SuType::kMenuItem || p.type == SuType::kToolButton;
    if (command) {
      EXPECT_EQ(p.change == nullptr, p.name == "menu_separator") << p.name;
    }
    if (p.name == "epochs" || p.name == "net_layer_act_fn" || p.name == "winpos_autostore") {
      EXPECT_FALSE(p.change) << p.name;
    }
  }

  // A shell action the shell leaves out is not available yet.
  ProgramState state;
  ProgramActions only;
  only.not_available_yet = actions_.not_available_yet;
  gui::ParameterTable partial(ProgramParameters(state, only).parameters);
  for (const char* name : {"file_exit", "tool_newnet"}) {
    calls_.clear();
    SuParameter* p = partial.Find(name);
    ASSERT_TRUE(p && p->change) << name;
    p->change(*p);
    EXPECT_EQ(calls_, std::vector<std::string>{"not_available_yet"}) << name;
  }
}

TEST_F(ProgramParametersTest, TheTrainingGraphIntervalIsAtLeastOne) {
  SuParameter& interval = Named("training_graph_interval");
  for (const auto& [text, stored] : {std::pair{"0", 1}, {"7", 7}}) {
    EXPECT_TRUE(gui::SetFromText(interval, text, reporter_));
    EXPECT_EQ(state_.values.display.training_graph_interval, stored) << text;
  }
}

// A network with the given layers' combinations, output activation, one
// output variable of `nominals` values (0: numeric) and `steps`.
std::unique_ptr<Network> MakeNet(NetworkType type, std::initializer_list<PspFunction> psps,
                                 ActivationFunction output, int nominals, int steps = 1) {
  auto net = std::make_unique<Network>();
  net->type = type;
  for (PspFunction psp : psps) {
    net->layers.emplace_back();
    net->layers.back().psp_fn = psp;
  }
  net->output_layer().act_fn = output;
  net->coding = MakeDefaultCoding(2, 1);
  for (int v = 1; v <= nominals; ++v) net->coding.nominals[2].push_back("v" + std::to_string(v));
  net->coding.steps = steps;
  net->coding.lookahead = steps > 1 ? 1 : 0;
  return net;
}

TEST_F(ProgramParametersTest, EachRuleEnablesItsEntries) {
  using enum Availability;
  using P = PspFunction;
  using A = ActivationFunction;
  // An entry of each rule, and some that are always enabled.
  const std::map<Availability, const char*> ruled = {
      {kNetwork, "tool_savenet"},
      {kData, "tool_savepat"},
      {kGradient, "backprop_train"},
      {kRadial, "kohonen_train"},
      {kProbabilistic, "probabilistic_priors_matrix"},
      {kRegression, "regression_train"},
      {kDotFirst, "pca_matrix"},
      {kNominalOutput, "tool_class"},
      {kNumericOutput, "tool_regress"},
      {kTimeSeries, "time_series_run"},
      {kTwoStateOutput, "roc_update"},
      {kLinear, "linear_train"},
      {kHostPackage, "tool_module"},
  };
  for (const char* name : {"tool_loadnet", "epochs", "close"}) {
    EXPECT_FALSE(Named(name).available) << name;
  }

  // States that tell every rule apart, with the rules each meets.
  struct Case {
    const char* what;
    std::function<void()> make;
    std::set<Availability> met;
  };
  const Case cases[] = {
      {"nothing", [] {}, {}},
      {"a data set", [&] { state_.data = std::make_unique<DataSet>(); }, {kData}},
      {"the host package", [&] { state_.host_directory = "/opt/host"; }, {kHostPackage}},
      {"a linear perceptron",
       [&] {
         state_.network = MakeNet(NetworkType::kMlp, {P::kLinear, P::kLinear}, A::kLinear, 0);
       },
       {kNetwork, kGradient, kDotFirst, kNumericOutput, kLinear}},
      {"a two-class perceptron",
       [&] {
         state_.network = MakeNet(NetworkType::kMlp, {P::kLinear, P::kLinear}, A::kLogistic, 2);
       },
       {kNetwork, kGradient, kDotFirst, kNominalOutput, kTwoStateOutput}},
      {"a time-series RBF",
       [&] {
         state_.network =
             MakeNet(NetworkType::kRbf, {P::kLinear, P::kRadial, P::kLinear}, A::kLinear, 0, 2);
       },
       {kNetwork, kGradient, kRadial, kNumericOutput, kLinear, kTimeSeries}},
      {"a PNN",
       [&] {
         state_.network = MakeNet(NetworkType::kProbabilistic, {P::kLinear, P::kRadial, P::kLinear},
                                  A::kUnitsum, 3);
       },
       {kNetwork, kGradient, kRadial, kProbabilistic, kNominalOutput}},
      {"a GRNN",
       [&] {
         state_.network =
             MakeNet(NetworkType::kRegression, {P::kLinear, P::kRadial, P::kLinear, P::kDivision},
                     A::kLinear, 0);
       },
       {kNetwork, kRadial, kRegression, kNumericOutput}},
  };
  for (const Case& c : cases) {
    state_.network.reset();
    state_.data.reset();
    state_.host_directory.clear();
    c.make();
    for (const auto& [rule, name] : ruled) {
      const SuParameter& p = Named(name);
      ASSERT_TRUE(p.available) << name;
      EXPECT_EQ(p.available() != 0, c.met.count(rule) == 1) << name << " with " << c.what;
    }
  }
}

}  // namespace
}  // namespace tavrin::app
