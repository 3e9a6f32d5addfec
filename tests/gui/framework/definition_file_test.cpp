// The GUI definition file and the settings-file sections it is made of.

#include "definition_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "gui_header.h"
#include "recording_reporter.h"
#include "registered_files.h"
#include "settings_file.h"

namespace tavrin::gui {
namespace {

using testing::RecordingReporter;

TEST(SettingsFile, HeadersAndKeywordLines) {
  struct HeaderRow {
    const char* line;
    SectionKind kind;
  };
  const HeaderRow headers[] = {
      {"# Tavrin v1.0 Layout", SectionKind::kLayout},
      {"# Tavrin v2.13 screen extra", SectionKind::kLayout},
      {"# Tavrin v1.0 windows", SectionKind::kOther},
      {"# Tavrin v1.0 Output.", SectionKind::kOutput},
      {"# Tavrin v1.0 scalefactors", SectionKind::kScaleFactors},
      {"# Tavrin v1.0 configuration_layout", SectionKind::kConfigurationLayout},
      {"# Tavrin v1 layout", SectionKind::kNotAHeader},
      {"# tavrin v1.0 layout", SectionKind::kNotAHeader}};
  for (const HeaderRow& row : headers) EXPECT_EQ(KindOfLine(row.line), row.kind) << row.line;

  struct SplitRow {
    const char* line;
    const char* keyword;
    const char* value;
  };
  const SplitRow splits[] = {{"  prompt   \"two  words\" after", "prompt", "two  words"},
                             {"prompt two words", "prompt", "two"},
                             {"prompt \"open quote", "prompt", "open quote"},
                             {"enddefine", "enddefine", ""},
                             {"\tleft\t12\r", "left", "12"},
                             {"   ", "", ""}};
  for (const SplitRow& row : splits) {
    const KeywordValue kv = SplitKeywordValue(row.line);
    EXPECT_EQ(std::tuple(kv.keyword, kv.value), std::tuple(row.keyword, row.value)) << row.line;
  }
}

TEST(SettingsFile, LinesAreWholeAndSectionKindsLimited) {
  std::istringstream in("a\r\n" + std::string(2000, 'x') + "\nlast");
  std::vector<long> long_lines;
  SettingsLines lines(in, [&](long n) { long_lines.push_back(n); });
  std::vector<std::string> whole;
  for (std::string line; lines.Next(line);) whole.push_back(line);
  EXPECT_EQ(whole, (std::vector<std::string>{"a", std::string(2000, 'x'), "last"}))
      << "a long line is read whole, never as two";
  EXPECT_EQ(long_lines, std::vector<long>{2});

  RecordingReporter reporter;
  SectionReaders readers;
  int read = 0;
  for (int i = 0; i < SectionReaders::kMaxKinds; ++i) {
    ASSERT_TRUE(readers.Register(
        "kind" + std::to_string(i), [&](SettingsLines&) { ++read; }, reporter));
  }
  EXPECT_FALSE(readers.Register("one_more", nullptr, reporter));
  EXPECT_EQ(reporter.errors.back(),
            "Couldn't register file section one_more; too many section types");
  std::istringstream empty;
  SettingsLines none(empty);
  EXPECT_TRUE(readers.Dispatch(*ParseSectionHeader("# Tavrin v1.0 KIND3"), none, reporter));
  EXPECT_EQ(read, 1);
  EXPECT_FALSE(readers.Dispatch(*ParseSectionHeader("# Tavrin v1.0 pool"), none, reporter));
  EXPECT_EQ(reporter.errors.back(), "Unrecognised section type <pool> found in input file");
}

class DefinitionFileTest : public ::testing::Test {
 protected:
  DefinitionFileTest()
      : table_({{"epochs", &epochs_, [this](SuParameter&) { return ++changes_; }, SuType::kInteger,
                 nullptr},
                {"shuffle", &shuffle_, nullptr, SuType::kSwitch, nullptr},
                {"label", &label_, nullptr, SuType::kString, nullptr},
                {"file_exit", SuValue{}, [this](SuParameter&) { return ++exits_; },
                 SuType::kMenuItem, nullptr},
                {"close", SuValue{}, nullptr, SuType::kButton, nullptr}}) {}

  void Load(const std::string& text) {
    std::istringstream in(text);
    LoadDefinitions(in, table_, elements_, reporter_);
  }

  int epochs_ = 100;
  int shuffle_ = 0;
  std::string label_;
  int changes_ = 0;
  int exits_ = 0;
  ParameterTable table_;
  ElementTable elements_;
  RecordingReporter reporter_;
};

TEST_F(DefinitionFileTest, BlocksBecomeElementsWithTheirFields) {
  Load(
      "# Tavrin v1.0 Layout\n"
      "define epochs\n  left 10\n  bottom 25\n  width 80\n  prompt_width 40\n  height 12\n"
      "  left_anchor 0.5\n  increment 10\n  help_topic 7\n  action_message 43\n"
      "  prompt \"&Epochs to run\"\n  menu \"&Train/&Back propagation\"\n"
      "  window \"Back propagation\"\n  window_type 1\n  style radio\n"
      "  tip \"How many\"\n  description \"The number of epochs\"\n  value 250\nenddefine\n"
      "define\n  prompt Label\n  style unknown\nenddefine\n");
  ASSERT_EQ(elements_.size(), 2);
  const SugParameter& e = elements_[0];
  EXPECT_EQ(e.parameter, table_.Find("epochs"));
  EXPECT_EQ(std::tuple(e.left, e.bottom, e.width, e.prompt_width, e.height, e.left_anchor,
                       e.increment, e.help_topic, e.action_message),
            std::tuple(10, 25, 80, 40, 12, 0.5, 10.0, 7, 43));
  EXPECT_EQ(
      std::tuple(e.prompt, e.mnemonic, e.menu, e.window, e.window_type, e.style, e.tip,
                 e.description),
      std::tuple("&Epochs to run", 'e', "&Train/&Back propagation", "Back propagation",
                 WindowType::kPopUp, ElementStyle::kRadio, "How many", "The number of epochs"));
  EXPECT_EQ(std::tuple(epochs_, changes_), std::tuple(250, 1))
      << "a value line sets the parameter as a user would";
  const SugParameter& label = elements_[1];
  EXPECT_EQ(std::tuple(label.parameter, label.style, label.help_topic, label.increment),
            std::tuple(nullptr, ElementStyle::kDefault, -1, 1.0));
  EXPECT_TRUE(reporter_.warnings.empty());
}

TEST_F(DefinitionFileTest, MistakesAreWarningsAndReadingGoesOn) {
  Load(
      "# Tavrin v1.0 layout\n"
      "prompt outside\n"                                                    // 406
      "define no_such_name\n  value 5\n  prompt x\nenddefine\n"             // 405, block skipped
      "define\n  value 3\n  colour red\nenddefine\n"                        // 402, 403
      "define shuffle\n  colour red\n  left abc\n  value Off\nenddefine\n"  // 404 twice
      "define file_exit\n  value on\nenddefine\n"                           // 404: never run
      "# Tavrin v1.0 windows\n"
      "define epochs\n  value 3\nenddefine\n"  // not a layout section
      "# Tavrin v1.0 SCREEN\n"
      "define label\n  value \"two words\"\nenddefine\n");
  EXPECT_EQ(
      reporter_.warnings,
      (std::vector<std::string>{"M406 [prompt]", "M405 [no_such_name]", "M402 [value]",
                                "M403 [colour]", "M404 [colour]", "M404 [left]", "M404 [value]"}));
  // The menu command never ran; a windows section sets no values.
  EXPECT_EQ(std::tuple(exits_, shuffle_, epochs_, label_), std::tuple(0, 0, 100, "two words"));
  EXPECT_EQ(elements_.size(), 5) << "the unknown name's element stays, unbound";
}

TEST_F(DefinitionFileTest, MnemonicsFollowTheFirstSingleAmpersand) {
  EXPECT_EQ(MnemonicOf("&Open"), 'o');
  EXPECT_EQ(MnemonicOf("Save &As"), 'a');
  EXPECT_EQ(MnemonicOf("Fish && &Chips"), 'c');
  EXPECT_EQ(MnemonicOf("Last&"), 0);
  EXPECT_EQ(MnemonicOf("None"), 0);
}

TEST_F(DefinitionFileTest, BuiltInWindowsFollowTheFile) {
  reporter_.messages = {
      {4085, "&Help/&About..."}, {4086, "About Tavrin"},
      {4087, "&Close"},          {400, "Web page"},
      {401, "Long names"},       {4046, "&Copy address|&OK|&Cancel|&Options...|Don't warn again"}};
  AddBuiltInElements(table_, elements_, reporter_);
  ASSERT_EQ(elements_.size(), 10);
  const SugParameter& close = elements_[0];
  EXPECT_EQ(close.parameter, table_.Find("close"));
  EXPECT_EQ(
      std::tuple(close.menu, close.window, close.prompt, close.mnemonic, close.left, close.bottom),
      std::tuple("&Help/&About...", "About Tavrin", "&Close", 'c', 420, 190));
  EXPECT_EQ(std::tuple(elements_[1].style, elements_[1].right_anchor),
            std::tuple(ElementStyle::kFrameless, 1.0));
  EXPECT_EQ(std::tuple(elements_[2].menu, elements_[2].prompt),
            std::tuple(":WEB Page", "&Copy address"));
  EXPECT_EQ(elements_[7].prompt, "&Options...") << "the fourth option of its message";
  const SugParameter& long_names = elements_[9];
  EXPECT_EQ(
      std::tuple(long_names.menu, long_names.window, long_names.window_type, long_names.help_topic),
      std::tuple(":Long Var", "Long names", WindowType::kModalPopUp, 67));
}

TEST_F(DefinitionFileTest, TheHeaderExportNamesEveryFieldAndCompilesBack) {
  Load(
      "# Tavrin v1.0 layout\ndefine shuffle\n left 3\n prompt \"S\\x \\\"q\"\n"
      " menu \"&Train\"\n top_anchor 0.25\n window_type 2\nenddefine\n");
  std::ostringstream out;
  WriteGuiHeader(elements_, table_, out);
  EXPECT_EQ(out.str(),
            "/* gui.h - Automatically generated header file */\n"
            "int sugNumberParameters=1;\n"
            "SugParameter sugDefaultParameters[] =\n{\n"
            "  { .left = 3, .right = 0, .top = 0, .bottom = 0,\n"
            "    .left_anchor = 0, .right_anchor = 0, .top_anchor = 0.25, .bottom_anchor = 0,\n"
            "    .width = 0, .prompt_width = 0, .height = 0,\n"
            "    .prompt = \"S\\\\x \\\\\",\n"
            "    .parameter = 1,\n"
            "    .style = 0,\n"
            "    .menu = \"&Train\",\n"
            "    .window = NULL,\n"
            "    .window_type = 2,\n"
            "    .tip = NULL,\n"
            "    .description = NULL,\n"
            "    .help_topic = -1, .increment = 1, .action_message = -1 }\n"
            "  };\n");
  const CompiledElement compiled[] = {{.left = 3,
                                       .top_anchor = 0.25,
                                       .prompt = "&Go",
                                       .parameter = 1,
                                       .menu = "&Train",
                                       .window_type = 2},
                                      {.parameter = 99}};
  ElementTable back;
  AddCompiledElements(compiled, 2, table_, back);
  ASSERT_EQ(back.size(), 2);
  EXPECT_EQ(std::tuple(back[0].parameter, back[0].mnemonic, back[0].window_type, back[1].parameter),
            std::tuple(table_.Find("shuffle"), 'g', WindowType::kModalPopUp, nullptr));
}

TEST(RegisteredFiles, ListsRefuseRepeatsAndOverflow) {
  RecordingReporter reporter;
  RegisteredFiles gui(RegisteredFiles::Kind::kGuiDefinition);
  EXPECT_EQ(gui.names(), std::vector<std::string>{"layout/neural.lay"});
  EXPECT_FALSE(gui.Register("layout/neural.lay", reporter));
  EXPECT_EQ(reporter.warnings.back(),
            "Attempt to re-register Gui Definition file <layout/neural.lay> ignored");
  for (int i = 1; i < 20; ++i) ASSERT_TRUE(gui.Register("f" + std::to_string(i), reporter));
  EXPECT_FALSE(gui.Register("f20", reporter));
  EXPECT_EQ(reporter.errors.back(),
            "Can't register Gui Definition file <f20>; maximum number exceeded");
  EXPECT_FALSE(gui.Replace("absent", "x", reporter));
  EXPECT_EQ(reporter.errors.back(), "Gui definition file <absent> not found, and so not replaced");
  EXPECT_TRUE(gui.Replace("f3", "g3", reporter));
  EXPECT_EQ(gui.names()[3], "g3");
  EXPECT_TRUE(gui.Remove("g3"));
  EXPECT_EQ(gui.names().size(), 19u);

  RegisteredFiles help(RegisteredFiles::Kind::kHelp);
  EXPECT_FALSE(help.Replace("a", "", reporter));
  EXPECT_EQ(reporter.errors.back(),
            "SugReplaceHelpdDefinitionFile: must give a valid replacement file name");
}

}  // namespace
}  // namespace tavrin::gui
