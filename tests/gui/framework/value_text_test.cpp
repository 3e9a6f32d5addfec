// Parameters as text, both ways, with the refusals a user sees.

#include "value_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "recording_reporter.h"

namespace tavrin::gui {
namespace {

using testing::RecordingReporter;

struct Values {
  int integer = 7;
  double real = 2.5;
  std::string text = "old";
  int on = 1;
  long count = 100;
  int target = -1;
  SuAction action{0, &target, {{"first", 10}, {"second", 20}}};
  SuChoice choice{1, {"red", "green", "blue"}};
  SuChoice empty_choice{0, {}};
  int calls = 0;

  std::vector<SuParameter> Parameters() {
    auto counted = [this](SuParameter&) { return ++calls; };
    return {{"i", &integer, counted, SuType::kInteger, nullptr},
            {"r", &real, counted, SuType::kReal, nullptr},
            {"s", &text, counted, SuType::kString, nullptr},
            {"w", &on, counted, SuType::kSwitch, nullptr},
            {"l", &count, counted, SuType::kLong, nullptr},
            {"a", &action, counted, SuType::kAction, nullptr},
            {"c", &choice, counted, SuType::kChoice, nullptr},
            {"e", &empty_choice, counted, SuType::kChoice, nullptr}};
  }
};

TEST(ValueText, SetFromTextStoresOrRefusesAndAlwaysCallsBack) {
  struct Row {
    const char* name;
    const char* text;
    bool stored;
    const char* shown;  // ToText afterwards
    const char* error;  // "" when none
  };
  const Row rows[] = {
      {"i", " 42 ", true, "42", ""},
      {"i", "abc", false, "7", "Integer [i] given value [abc]; use a whole number"},
      {"i", "12abc", false, "7", "Integer [i] given value [12abc]; use a whole number"},
      {"i", "-2147483647", true, "0", "Maximum range exceeded: treating as zero"},
      {"r", "0.123456", true, "0.1235", ""},
      {"r", "1e-7", true, "1e-07", ""},
      {"r", "x", false, "2.5", "Real [r] given value [x]; use a number"},
      {"s", "two words", true, "two words", ""},
      {"w", "Off", true, "off", ""},
      {"w", "yes", true, "on", ""},
      {"w", "2", false, "on", "Switch [w] given value [2]; use \"on\" or \"off\""},
      {"l", "-9000000000", true, "-9000000000", ""},
      {"a", "second", true, "second", ""},
      {"a", "third", false, "first", "Action [a]: unrecognised option [third] ignored"},
      {"c", "blue", true, "blue", ""},
      {"c", "Blue", false, "green", "Choice [c] given invalid value [Blue] (ignored)"},
      {"e", "x", false, "", "Choice [e] has no available options; ignoring attempt to set"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.name) + " <- " + row.text);
    Values v;
    ParameterTable table(v.Parameters());
    RecordingReporter reporter;
    SuParameter& p = *table.Find(row.name);
    EXPECT_EQ(SetFromText(p, row.text, reporter), row.stored);
    EXPECT_EQ(ToText(p), row.shown);
    EXPECT_EQ(v.calls, 1);
    EXPECT_EQ(reporter.errors, std::string(row.error).empty()
                                   ? std::vector<std::string>{}
                                   : std::vector<std::string>{row.error});
  }
  Values v;
  ParameterTable table(v.Parameters());
  RecordingReporter reporter;
  SetFromText(*table.Find("a"), "second", reporter);
  EXPECT_EQ(v.target, 20) << "an action writes its option's number";
}

TEST(ValueText, DumpLinesAndComparisons) {
  Values v;
  v.real = 1.0 / 3.0;
  ParameterTable table(v.Parameters());
  EXPECT_EQ(DumpLine(*table.Find("i")), std::string(29, ' ') + "i  7\n");
  EXPECT_EQ(DumpLine(*table.Find("r")), std::string(29, ' ') + "r  0.333333\n");
  EXPECT_EQ(DumpLine(*table.Find("w")), std::string(29, ' ') + "w on\n");
  SuParameter missing{"m", static_cast<std::string*>(nullptr), nullptr, SuType::kString, nullptr};
  EXPECT_EQ(DumpLine(missing), std::string(29, ' ') + "m\n");

  // What a field shows counts as unchanged; a different text does not.
  EXPECT_TRUE(SameValue("07", *table.Find("i")));
  EXPECT_FALSE(SameValue("8", *table.Find("i")));
  EXPECT_TRUE(SameValue("0.3333333333333333", *table.Find("r")));
  EXPECT_FALSE(SameValue(ToText(*table.Find("r")), *table.Find("r")))
      << "\"0.3333\" is another value: shown digits are not the stored ones";
  EXPECT_FALSE(IsEdited(ToText(*table.Find("r")), *table.Find("r")))
      << "a field showing what it was given is no edit, whatever digits it hides";
  EXPECT_TRUE(IsEdited("0.3334", *table.Find("r")));
  EXPECT_TRUE(SameValue("on", *table.Find("w")));
  EXPECT_FALSE(SameValue("off", *table.Find("w")));
  EXPECT_TRUE(SameValue("green", *table.Find("c")));
  EXPECT_TRUE(SameValue("", missing));
}

TEST(ValueText, OptionsOutsideTheListsAreNone) {
  Values v;
  v.choice.current = 5;  // option lists come from an editable message file
  ParameterTable table(v.Parameters());
  const SuParameter& c = *table.Find("c");
  EXPECT_EQ(std::tuple(OptionCount(c), CurrentOption(c), ToText(c), OptionName(c, 2),
                       OptionName(c, 3), OptionIndex(c, "green")),
            std::tuple(3, -1, "", std::optional<std::string>("blue"), std::nullopt, 1));
  EXPECT_EQ(OptionIndex(*table.Find("i"), "green"), -1);
}

TEST(ParameterTable, MergeExtendsOptionListsOnly) {
  Values v;
  ParameterTable table(v.Parameters());
  SuChoice more{0, {"green", "violet"}};
  SuAction actions{0, nullptr, {{"second", 99}, {"third", 30}}};
  int extra = 0;
  bool replaced = false;
  RecordingReporter reporter;
  table.Merge(
      {{"c", &more, nullptr, SuType::kChoice, nullptr},
       {"a", &actions, [&](SuParameter&) { return replaced = true; }, SuType::kAction, nullptr},
       {"i", &extra, nullptr, SuType::kInteger, nullptr},
       {"w", &extra, nullptr, SuType::kInteger, nullptr},
       {"new", &extra, nullptr, SuType::kInteger, nullptr}},
      reporter);
  EXPECT_EQ(v.choice.options, (std::vector<std::string>{"red", "green", "blue", "violet"}));
  ASSERT_EQ(v.action.options.size(), 3u);
  EXPECT_EQ(std::tuple(v.action.options[1].value, v.action.options[2].name),
            std::tuple(99, "third"));
  table.Find("a")->change(*table.Find("a"));
  EXPECT_TRUE(replaced);
  EXPECT_EQ(reporter.errors,
            (std::vector<std::string>{"Can't re-register parameter <i>; not an extendible type",
                                      "Can't re-register parameter <w>; type has changed"}));
  ASSERT_NE(table.Find("new"), nullptr);
  EXPECT_EQ(table.IndexOf(table.Find("new")), 8);
  EXPECT_EQ(table.Find("nothing"), nullptr);
}

}  // namespace
}  // namespace tavrin::gui
