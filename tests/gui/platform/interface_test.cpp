// The interface on Qt's offscreen platform: a window opened from an inline
// definition, its controls bound to parameters both ways, buttons and menu
// commands, mnemonics, and what closing and reopening keeps.

#include "interface.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <sstream>

#include "control_layout.h"
#include "definition_file.h"
#include "main_frame.h"
#include "recording_reporter.h"
#include "value_text.h"

namespace tavrin::gui {
namespace {

using testing::RecordingReporter;

// A control of the window ":Train" at its left edge, with any further lines.
std::string TrainControl(const char* name, const char* prompt, int bottom, const char* more = "") {
  return std::string("define ") + name + "\n  menu \":Train\"\n  prompt \"" + prompt +
         "\"\n  left 10\n  bottom " + std::to_string(bottom) + "\n" + more + "enddefine\n";
}

std::string MenuEntry(const char* name, const char* path) {
  return std::string("define ") + name + "\n  menu \"" + path + "\"\nenddefine\n";
}

std::string Definition() {
  return R"(# Tavrin v1.0 layout
define epochs
  menu ":Train"
  window "Training"
  prompt "&Epochs"
  left 10
  bottom 20
  width 80
  increment 10
enddefine
)" + TrainControl("rate", "&Rate", 40) +
         TrainControl("label", "Name", 60, "  width 120\n") +
         TrainControl("shuffle", "&Shuffle", 80) + TrainControl("kind", "&Kind", 100) +
         R"(define order
  menu ":Train"
  prompt "Order"
  style radio
  left 200
  top 10
enddefine
)" + TrainControl("error", "Error", 120, "  style read_only\n") +
         TrainControl("train", "&Go", 150, "  action_message 43\n") + R"(define graph
  menu ":Train"
  left 10
  top 160
  right -10
  bottom 210
  width 300
  height 50
  right_anchor 1.0
enddefine
)" + MenuEntry("open_train", "&Train/&Settings...") +
         R"(define epochs
  menu "&Train/&Settings..."
  left 10
  bottom 20
enddefine
)" + MenuEntry("cascade", "&Window/&Cascade") +
         MenuEntry("save", "&Train/Sa&ve") + MenuEntry("edit_copy", "&Edit/&Copy") +
         MenuEntry("edit_paste", "&Edit/&Paste");
}

class InterfaceTest : public ::testing::Test {
 protected:
  InterfaceTest()
      : frame_(LayoutUnits::FromSystemFonts()),
        table_(
            {{"epochs", &epochs_, [this](SuParameter&) { return ++changes_; }, SuType::kInteger,
              nullptr},
             {"rate", &rate_, nullptr, SuType::kReal, nullptr},
             {"label", &label_, nullptr, SuType::kString, [this] { return enabled_; }},
             {"shuffle", &shuffle_, nullptr, SuType::kSwitch, nullptr},
             {"kind", &kind_, nullptr, SuType::kChoice, nullptr},
             {"order", &order_, nullptr, SuType::kChoice, nullptr},
             {"error", &error_, nullptr, SuType::kReal, nullptr},
             {"train", SuValue{}, [this](SuParameter&) { return ++trained_; }, SuType::kButton,
              nullptr},
             {"graph", SuDisplay{}, nullptr, SuType::kGraph, nullptr},
             {"open_train", SuValue{}, nullptr, SuType::kMenuItem, nullptr},
             {"cascade", SuValue{}, [this](SuParameter&) { return ++cascades_; }, SuType::kMenuItem,
              nullptr},
             {"save", SuValue{}, [](SuParameter&) { return 1; }, SuType::kMenuItem,
              [this] { return enabled_; }},
             {"edit_copy", SuValue{}, [](SuParameter&) { return 1; }, SuType::kMenuItem, nullptr},
             {"edit_paste", SuValue{}, [](SuParameter&) { return 1; }, SuType::kMenuItem,
              nullptr}}) {
    std::istringstream in(Definition());
    LoadDefinitions(in, table_, elements_, recorder_);
    Interface::Hooks hooks;
    hooks.status = [this](std::string_view text) { statuses_.emplace_back(text); };
    hooks.clear_error_flag = [] {};
    hooks.error_flag = [] { return false; };
    hooks.status_line_mode = [](bool) {};
    hooks.message = [](int number) { return "M" + std::to_string(number); };
    interface_ =
        std::make_unique<Interface>(table_, elements_, frame_, LayoutUnits::FromSystemFonts(),
                                    recorder_, QString(), std::move(hooks));
    interface_->BuildMenus(frame_.menuBar());
    frame_.resize(900, 700);
    frame_.show();
    frame_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&frame_));
  }

  QAction* MenuCommand(const QString& label) {
    for (QAction* a : frame_.menuBar()->findChildren<QAction*>()) {
      if (a->text() == label) return a;
    }
    return nullptr;
  }

  template <typename T>
  T* Control(const char* name) {
    BoundControl* c = interface_->ControlOf(interface_->ElementNamed(name));
    return c ? qobject_cast<T*>(c->main_widget()) : nullptr;
  }

  int epochs_ = 100;
  double rate_ = 0.123456;
  std::string label_ = "first";
  int shuffle_ = 0;
  SuChoice kind_{1, {"MLP", "RBF", "Linear"}};
  SuChoice order_{0, {"Ascending", "Descending"}};
  double error_ = 0.25;
  int changes_ = 0, trained_ = 0, cascades_ = 0, enabled_ = 1;
  std::vector<std::string> statuses_;
  MainFrame frame_;
  ParameterTable table_;
  ElementTable elements_;
  RecordingReporter recorder_;
  std::unique_ptr<Interface> interface_;
};

TEST_F(InterfaceTest, AWindowOpensWithItsControlsShowingTheValues) {
  ASSERT_TRUE(interface_->OpenWindow(":Train"));
  EXPECT_FALSE(interface_->OpenWindow(":Nothing"));
  QWidget* client = interface_->WindowNamed(":Train");
  ASSERT_NE(client, nullptr);
  EXPECT_NE(qobject_cast<QMdiSubWindow*>(client->parentWidget()), nullptr) << "an MDI child";
  EXPECT_EQ(client->parentWidget()->windowTitle(), "Training");
  ASSERT_NE(Control<QLineEdit>("epochs"), nullptr);
  EXPECT_EQ(Control<QLineEdit>("epochs")->text(), "100");
  EXPECT_EQ(Control<QCheckBox>("shuffle")->isChecked(), false);
  EXPECT_EQ(Control<QComboBox>("kind")->currentText(), "RBF");
  auto radios = interface_->ControlOf(interface_->ElementNamed("order"))
                    ->main_widget()
                    ->findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 2);
  EXPECT_TRUE(radios[0]->isChecked());
  EXPECT_EQ(Control<QLabel>("error")->text(), "0.25");
  // Controls stand where the layout rules put them.
  const LayoutUnits units = LayoutUnits::FromSystemFonts();
  const int field_left = Control<QLineEdit>("epochs")->geometry().left();
  EXPECT_EQ(Control<QLineEdit>("epochs")->geometry().bottom() + 1, 20 * units.line_height / 10);
  EXPECT_GT(field_left, 10 * units.char_width / 10);
  EXPECT_EQ(Control<QLineEdit>("epochs")->width(), 80 * units.char_width / 10);
  const QImage shot = client->parentWidget()->grab().toImage();
  EXPECT_TRUE(shot.save(TAVRIN_BUILD_DIR "/interface-window.png"));
}

TEST_F(InterfaceTest, TypedValuesReachTheParametersAndShownDigitsAreNoEdit) {
  interface_->OpenWindow(":Train");
  QLineEdit* epochs = Control<QLineEdit>("epochs");
  epochs->setFocus();
  epochs->selectAll();
  QTest::keyClicks(epochs, "250");
  QTest::keyClick(epochs, Qt::Key_Return);
  EXPECT_EQ(epochs_, 250);
  EXPECT_EQ(changes_, 1);
  QTest::keyClick(epochs, Qt::Key_Return);  // unchanged: no new value, the callback runs
  EXPECT_EQ(epochs_, 250);
  EXPECT_EQ(changes_, 2);

  // A real shown to four digits loses none when its field loses the focus.
  QLineEdit* rate = Control<QLineEdit>("rate");
  rate->setFocus();
  Control<QLineEdit>("epochs")->setFocus();
  EXPECT_EQ(rate_, 0.123456);
  rate->setFocus();
  rate->selectAll();
  QTest::keyClicks(rate, "0.5");
  Control<QLineEdit>("epochs")->setFocus();  // committed on leaving
  EXPECT_EQ(rate_, 0.5);

  Control<QComboBox>("kind")->setCurrentIndex(2);
  emit Control<QComboBox>("kind")->activated(2);
  EXPECT_EQ(kind_.current, 2);
  QTest::mouseClick(Control<QCheckBox>("shuffle"), Qt::LeftButton);
  EXPECT_EQ(shuffle_, 1);
  auto radios = interface_->ControlOf(interface_->ElementNamed("order"))
                    ->main_widget()
                    ->findChildren<QRadioButton*>();
  QTest::mouseClick(radios[1], Qt::LeftButton);
  EXPECT_EQ(order_.current, 1);
  // A stored option without a button of its own leaves none set.
  order_.options.push_back("Random");
  order_.current = 2;
  interface_->Refresh();
  EXPECT_FALSE(radios[0]->isChecked() || radios[1]->isChecked());

  // The spin control steps by the increment; a refresh shows the program's values.
  interface_->Spin(interface_->ElementNamed("epochs"), -1);
  EXPECT_EQ(epochs_, 240);
  error_ = 0.75;
  enabled_ = 0;
  interface_->Refresh();
  EXPECT_EQ(Control<QLabel>("error")->text(), "0.75");
  EXPECT_EQ(Control<QLineEdit>("epochs")->text(), "240");
  EXPECT_FALSE(Control<QLineEdit>("label")->isEnabled());
}

TEST_F(InterfaceTest, ButtonsShowTheirActionMessagesAndRestAMoment) {
  interface_->OpenWindow(":Train");
  QPushButton* go = Control<QPushButton>("train");
  ASSERT_NE(go, nullptr);
  QTest::mouseClick(go, Qt::LeftButton);
  EXPECT_EQ(trained_, 1);
  EXPECT_EQ(statuses_, (std::vector<std::string>{"M43", "M44"}));
  EXPECT_FALSE(go->isEnabled());
  QTRY_VERIFY(go->isEnabled());
  // Alt and the mnemonic's letter click it too.
  QTest::keyClick(Control<QLineEdit>("epochs"), Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(trained_, 2);
}

TEST_F(InterfaceTest, MenusRunCommandsOrOpenTheWindowsOfTheirPaths) {
  ASSERT_EQ(frame_.menuBar()->actions().size(), 3);
  const MenuTree& menus = interface_->menus();
  const MenuNode& settings = *menus.top()[0]->children[0];
  interface_->RunMenuCommand(settings.identifier);
  EXPECT_NE(interface_->WindowNamed("&Train/&Settings..."), nullptr);
  interface_->RunMenuCommand(menus.top()[1]->children[0]->identifier);
  EXPECT_EQ(cascades_, 1);
}

TEST_F(InterfaceTest, MenuCommandsFollowAvailabilityAndTheEditMenuTheFocus) {
  interface_->OpenWindow(":Train");
  QAction* save = MenuCommand("Sa&ve");
  QAction* copy = MenuCommand("&Copy");
  QAction* paste = MenuCommand("&Paste");
  ASSERT_TRUE(save && copy && paste);
  QApplication::clipboard()->clear();
  QLineEdit* label = Control<QLineEdit>("label");
  label->setFocus();
  label->deselect();
  interface_->Refresh();
  EXPECT_EQ(interface_->EditTarget(), label);
  EXPECT_FALSE(copy->isEnabled()) << "nothing selected";
  EXPECT_FALSE(paste->isEnabled()) << "nothing to paste";
  label->selectAll();
  QApplication::clipboard()->setText("pasted");
  interface_->Refresh();
  EXPECT_TRUE(copy->isEnabled());
  EXPECT_TRUE(paste->isEnabled());
  Control<QComboBox>("kind")->setFocus();
  EXPECT_FALSE(copy->isEnabled()) << "the focus left the field";

  EXPECT_TRUE(save->isEnabled());
  enabled_ = 0;
  interface_->Refresh();
  EXPECT_FALSE(save->isEnabled()) << "unavailable";
}

TEST_F(InterfaceTest, TwoQuickClicksOnTheEmptyWindowAreaCountOnce) {
  int launched = 0;
  frame_.set_background_double_click([&] { ++launched; });
  interface_->OpenWindow(":Train");
  QWidget* background = frame_.mdi_area()->viewport();
  QWidget* window = interface_->WindowNamed(":Train");
  QTest::mouseClick(window, Qt::LeftButton);
  QTest::mouseClick(window, Qt::LeftButton);
  EXPECT_EQ(launched, 0) << "clicks on a window are its own";
  const QPoint empty(background->width() - 5, background->height() - 5);
  QTest::mouseClick(background, Qt::LeftButton, {}, empty);
  QTest::mouseClick(background, Qt::LeftButton, {}, empty);
  EXPECT_EQ(launched, 1);
}

TEST_F(InterfaceTest, ClosingKeepsThePlacementAndDisplaysFollowTheWindow) {
  interface_->OpenWindow(":Train");
  QWidget* client = interface_->WindowNamed(":Train");
  QWidget* graph = interface_->ControlOf(interface_->ElementNamed("graph"))->main_widget();
  const int before = graph->width();
  QWidget* window = client->parentWidget();
  window->resize(window->width() + 40, window->height());
  QTRY_COMPARE(graph->width(), before + 40);
  window->move(50, 60);
  interface_->CloseWindow(":Train");
  QTRY_VERIFY(interface_->WindowNamed(":Train") == nullptr);
  EXPECT_EQ(interface_->ControlOf(interface_->ElementNamed("epochs")), nullptr);
  const WindowEntry* entry = interface_->windows().Find(":Train");
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->open);
  interface_->OpenWindow(":Train");
  EXPECT_EQ(interface_->WindowNamed(":Train")->parentWidget()->pos(), QPoint(50, 60));
}

}  // namespace
}  // namespace tavrin::gui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
