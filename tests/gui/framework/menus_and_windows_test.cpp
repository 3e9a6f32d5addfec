// The menu bar's tree, the window list, window sizes and the positions file.

#include <gtest/gtest.h>

#include <sstream>

#include "menu_tree.h"
#include "positions_file.h"
#include "recording_reporter.h"
#include "window_list.h"

namespace tavrin::gui {
namespace {

using testing::RecordingReporter;

class MenusAndWindows : public ::testing::Test {
 protected:
  MenusAndWindows()
      : table_({{"edit_cut", SuValue{}, nullptr, SuType::kMenuItem, nullptr},
                {"cascade_mdi_window", SuValue{}, nullptr, SuType::kMenuItem, nullptr},
                {"open", SuValue{}, nullptr, SuType::kMenuItem, nullptr},
                {"again", SuValue{}, nullptr, SuType::kMenuItem, nullptr},
                {"epochs", &epochs_, nullptr, SuType::kInteger, nullptr},
                {"kind", &kind_, nullptr, SuType::kChoice, nullptr}}) {}

  SugParameter& Element(const char* parameter, const char* menu) {
    SugParameter& e = elements_.Add();
    e.parameter = parameter ? table_.Find(parameter) : nullptr;
    e.menu = menu;
    e.has_menu = true;
    return e;
  }

  int epochs_ = 0;
  SuChoice kind_;
  ParameterTable table_;
  ElementTable elements_;
  RecordingReporter reporter_;
};

TEST_F(MenusAndWindows, PathsBecomeATreeWithConflictsReported) {
  Element("edit_cut", "&Edit/Cu&t");
  Element("open", "&File/&Open...");
  Element(nullptr, "&File/Separator 1");
  Element("cascade_mdi_window", "&Window/&Cascade");
  Element("again", "&File/&Open.../Too deep");  // 397: below a command
  Element("again", "&File/&Open...");           // 398: a second owner
  Element("again", "&File");                    // 399: ends on a menu
  Element("epochs", ":Back Propagation");       // a window, not a path
  Element("epochs", "&Train/&Settings...");     // a window's control: no command
  Element("kind", "&Train/&Settings...");
  MenuTree tree;
  tree.Build(elements_, reporter_);
  ASSERT_EQ(tree.top().size(), 4u);
  EXPECT_EQ(tree.top()[0]->label, "&Edit");
  const MenuNode& file = *tree.top()[1];
  ASSERT_EQ(file.children.size(), 2u);
  const MenuNode& open = *file.children[0];
  EXPECT_EQ(open.element, 5) << "the later element takes the command over";
  EXPECT_TRUE(file.children[1]->is_separator());
  EXPECT_EQ(tree.ByIdentifier(open.identifier), &open);
  EXPECT_LT(open.identifier, kFirstWindowListIdentifier);
  EXPECT_EQ(tree.PathOf(&open), "&File/&Open...");
  EXPECT_EQ(tree.TopMenuOf(elements_, "edit_cut")->label, "&Edit");
  EXPECT_EQ(tree.TopMenuOf(elements_, "cascade_mdi_window")->label, "&Window");
  EXPECT_EQ(tree.TopMenuOf(elements_, "epochs"), nullptr);
  const MenuNode& settings = *tree.top()[3]->children[0];
  EXPECT_FALSE(settings.is_command()) << "its elements are a window's controls";
  EXPECT_EQ(reporter_.warnings,
            (std::vector<std::string>{"M397 [&File/&Open.../Too deep]", "M398 [&File/&Open...]",
                                      "M399 [&File]"}));
}

TEST_F(MenusAndWindows, AWindowIsAsLargeAsItsWidestAndLowestElement) {
  SugParameter& spin = Element("epochs", ":Train");
  spin.left = 10;
  spin.width = 60;
  spin.prompt_width = 40;  // 110 + 6 for the spin control
  spin.bottom = 30;
  SugParameter& choice = Element("kind", ":Train");
  choice.left = 5;
  choice.width = 100;  // 105 + 3
  choice.top = 40;
  choice.height = 25;  // 65 down
  SugParameter& graph = Element(nullptr, ":Train");
  graph.left = 0;
  graph.width = 200;
  graph.right = 150;  // right-anchored: 200 - 150
  graph.right_anchor = 1.0;
  Element("epochs", ":Other").width = 900;
  const ClientSize size = WindowClientSize(elements_, ":Train", 8, 16);
  EXPECT_EQ(size.width, 116 * 8 / 10 + 10);
  EXPECT_EQ(size.height, 65 * 16 / 10 + 10);
}

TEST_F(MenusAndWindows, TheWindowListKeepsSizesUnlessForced) {
  WindowList windows;
  windows.Add("Train", WindowType::kMdiChild, {1, 2, 300, 200}, false);
  windows.Add("Train", WindowType::kMdiChild, {5, 5, 100, 100}, false);
  EXPECT_EQ(windows.Find("Train")->placement, (Placement{1, 2, 300, 200}));
  windows.Add("Train", WindowType::kPopUp, {5, 5, 100, 100}, true);
  EXPECT_EQ(windows.Find("Train")->placement, (Placement{5, 5, 100, 100}));
  EXPECT_EQ(windows.Find("Train")->type, WindowType::kPopUp);
  windows.Add("Pop", WindowType::kPopUp, {0, 0, 10, 10}, false);
  windows.Add("Pop", WindowType::kPopUp, {3, 3, 30, 30}, false);
  EXPECT_EQ(windows.Find("Pop")->placement, (Placement{3, 3, 30, 30}))
      << "pop-ups take the new one";
  windows.MarkClosed("Pop", {4, 4, 40, 40});
  EXPECT_FALSE(windows.Find("Pop")->open);
  EXPECT_EQ(windows.Find("Pop")->placement.width, 40);
}

TEST_F(MenusAndWindows, ThePositionsFileRoundTripsAndSkipsWhatItCannotRead) {
  std::istringstream in(
      "autostore off\n\"main\"\t2\t10\t20\t800\t600\n\"Train\"\t0\t1\t2\t3\t4\n"
      "\"no close\t0\t1\t2\t3\t4\n\"short\"\t0\t1\t2\n\"Pop\"\t1\t-5\t6\t7\t8\r\n"
      "\"wide\"\t0\t0\t0\t32768\t5\n\"inverted\"\t0\t0\t0\t5\t-1\n"
      "\"far\"\t0\t-32768\t0\t5\t5\n");
  WindowList windows;
  const Positions read = ReadPositions(in, windows);
  EXPECT_FALSE(read.autostore);
  EXPECT_TRUE(read.has_main);
  EXPECT_EQ(read.main, (Placement{10, 20, 800, 600})) << "main's type field is not looked at";
  ASSERT_EQ(windows.entries().size(), 2u);
  EXPECT_EQ(windows.Find("Pop")->placement, (Placement{-5, 6, 7, 8}));
  EXPECT_EQ(windows.Find("Pop")->type, WindowType::kPopUp);
  std::ostringstream out;
  ASSERT_TRUE(WritePositions(out, read, windows));
  EXPECT_EQ(out.str(),
            "autostore off\n\"main\"\t0\t10\t20\t800\t600\n\"Train\"\t0\t1\t2\t3\t4\n"
            "\"Pop\"\t1\t-5\t6\t7\t8\n");
  std::istringstream autostore("autostore on and more\n");
  EXPECT_TRUE(ReadPositions(autostore, windows).autostore);

  std::string many = "autostore on\n";
  for (int i = 0; i <= kMaxStoredWindows; ++i)
    many += "\"w" + std::to_string(i) + "\"\t0\t0\t0\t1\t1\n";
  many += "\"Train\"\t0\t9\t9\t9\t9\n";
  std::istringstream crowded(many);
  WindowList bounded;
  ReadPositions(crowded, bounded);
  EXPECT_EQ(bounded.entries().size(), static_cast<std::size_t>(kMaxStoredWindows));
  EXPECT_EQ(bounded.Find("w0")->placement.width, 1);
  EXPECT_EQ(bounded.Find("Train"), nullptr) << "a window beyond the most a file may name";
}

}  // namespace
}  // namespace tavrin::gui
