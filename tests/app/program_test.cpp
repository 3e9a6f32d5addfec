// tavrin32 itself, started in this process on Qt's offscreen platform: the
// files it finds, the main window it shows, what its tool bar does, and the
// refusals of start-up.

#include "program.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "analysis/run_all.h"
#include "analysis/sensitivity.h"
#include "c_number.h"
#include "display_frame.h"
#include "engine_state.h"
#include "matrix_view.h"
#include "message_bar.h"
#include "network/forward_run.h"
#include "network/network_builder.h"
#include "network/network_file.h"
#include "network/scale_factors.h"
#include "preference_store.h"
#include "qt_presenter.h"
#include "script_driver.h"
#include "value_text.h"

namespace tavrin::app {
namespace {

namespace fs = std::filesystem;

class ProgramTest : public ::testing::Test {
 protected:
  // The program as installed in the build tree, without the user's files.
  std::unique_ptr<Program> Start(QStringList arguments = {},
                                 fs::path executable_directory = TAVRIN_BUILD_BIN) {
    StartOptions options;
    options.arguments = std::move(arguments);
    options.executable_directory = std::move(executable_directory);
    options.presenter = &presenter_;
    options.preferences = &preferences_;
    options.environment = [](std::string_view) { return std::nullopt; };
    options.positions_file = fs::temp_directory_path() / "tavrin-test-NRX.POS";
    options.choose_data_file = [this]() -> std::optional<std::string> {
      ++dialogs_;
      return std::nullopt;
    };
    options.choose_save_file = [this](std::string_view what) {
      save_dialogs_.emplace_back(what);
      return save_file_;
    };
    options.choose_open_file = [this](std::string_view) { return open_file_; };
    auto program = std::make_unique<Program>(std::move(options));
    started_ = program->Start();
    return program;
  }

  // The program started, its main window shown.
  std::unique_ptr<Program> StartShown() {
    auto program = Start();
    if (!started_) throw std::runtime_error("tavrin32 did not start");
    program->frame()->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(program->frame()));
    return program;
  }

  static std::string Contents(const fs::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  gui::RecordingPresenter presenter_;
  gui::MemoryPreferenceStore preferences_;
  bool started_ = false;
  int dialogs_ = 0;
  std::vector<std::string> save_dialogs_;
  std::optional<std::string> save_file_;
  std::optional<std::string> open_file_;
};

TEST_F(ProgramTest, TheMainWindowShowsItsToolBarStatusLineAndMessageBar) {
  auto program = StartShown();
  gui::MainFrame& frame = *program->frame();
  EXPECT_EQ(frame.windowTitle(), "Tavrin");
  EXPECT_EQ(frame.message_bar()->elapsed_text(), "000:00:00");
  EXPECT_TRUE(presenter_.boxes.empty()) << presenter_.boxes.front().text;

  // The tool bar follows the rules: nothing to save yet.
  EXPECT_FALSE(program->ControlOf(program->interface().ElementNamed("tool_savepat"))->isEnabled());

  // A click reaches the button's action; one not built yet says so.
  QWidget* open = program->ControlOf(program->interface().ElementNamed("tool_loadpat"));
  QTest::mouseClick(open, Qt::LeftButton);
  QTRY_COMPARE(frame.status(), QString("tool_loadpat: not available yet"));

  // Text was drawn: without fonts Qt draws nothing and says nothing.
  auto* status = frame.findChild<QLabel*>("status_line");
  ASSERT_NE(status, nullptr);
  const QImage line = status->grab().toImage();
  int dark = 0;
  for (int y = 0; y < line.height(); ++y) {
    for (int x = 0; x < line.width(); ++x) dark += qGray(line.pixel(x, y)) < 96;
  }
  EXPECT_GT(dark, 20) << "the status line's text was not drawn";

  // Exit closes the main window.
  program->Activate(program->interface().ElementNamed("file_exit"));
  QTRY_VERIFY(!frame.isVisible());
}

TEST_F(ProgramTest, NumbersStayInThePointLocaleWhateverTheUser) {
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "no decimal-comma locale installed";
  }
  auto program = Start();
  ASSERT_TRUE(started_);
  char text[16];
  std::snprintf(text, sizeof text, "%g", 0.5);
  EXPECT_STREQ(text, "0.5");
}

TEST_F(ProgramTest, AMissingMessageFileEndsStartUp) {
  const fs::path nowhere = fs::temp_directory_path() / "tavrin-no-install" / "bin";
  fs::create_directories(nowhere);
  const fs::path here = fs::current_path();
  fs::current_path(nowhere);
  auto program = Start({}, nowhere);
  fs::current_path(here);
  EXPECT_FALSE(started_);
  ASSERT_EQ(presenter_.boxes.size(), 1u);
  EXPECT_EQ(std::tuple(presenter_.boxes[0].kind, presenter_.boxes[0].text),
            std::tuple(gui::Presenter::Box::kFatal,
                       "Cannot find Message file, program aborting. Please reinstall."));
  EXPECT_EQ(program->frame(), nullptr);
}

TEST_F(ProgramTest, AConfigFileIsReadAndItsMistakesReported) {
  const fs::path file = fs::temp_directory_path() / "tavrin-config-test.lay";
  std::ofstream(file) << "# Tavrin v1.0 layout\ndefine no_such\n value 3\nenddefine\n"
                         "define tool_bp\n left 7\n bottom 30\nenddefine\n";
  auto program = Start({"config", QString::fromStdString(file.string())});
  fs::remove(file);
  ASSERT_TRUE(started_);
  EXPECT_EQ(presenter_.boxes.size(), 1u) << "the unknown name was reported";
  const int bp = program->interface().ElementNamed("tool_bp");
  ASSERT_GE(bp, 0);
  QWidget* button = program->ControlOf(bp);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->geometry(), QRect(7, 8, 24, 22)) << "main-window places are pixels";
  EXPECT_EQ(program->interface().ElementNamed("tool_loadpat"), -1) << "only the named file is read";
  EXPECT_GE(program->interface().ElementNamed("longvar_ok"), 0)
      << "the built-in windows are always added";
}

TEST_F(ProgramTest, NoDefinitionFileNameMeansTheCompiledInDefinition) {
  auto program = Start({"config", ""});
  ASSERT_TRUE(started_);
  const int open = program->interface().ElementNamed("tool_loadpat");
  ASSERT_GE(open, 0) << "the shipped definition as it was at build time";
  EXPECT_EQ(program->elements()[open].tip, "Open a data set");
  EXPECT_NE(program->ControlOf(open), nullptr);
  EXPECT_TRUE(presenter_.boxes.empty());
}

TEST_F(ProgramTest, AScriptDrivesTheProgramAndSaysWhichLinesFailed) {
  auto program = Start({TAVRIN_SOURCE_DIR "/resources/data/iris.csv"});
  ASSERT_TRUE(started_);
  program->frame()->show();
  EXPECT_EQ(dialogs_, 0) << "a data file on the command line skips the open dialog";
  ASSERT_NE(program->state().data, nullptr);
  EXPECT_TRUE(program->ControlOf(program->interface().ElementNamed("tool_savepat"))->isEnabled());
  std::istringstream script(
      "# settings\n"
      "dump longvar_suppress\n"
      "set longvar_suppress on\n"
      "dump longvar_suppress\n"
      "set longvar_suppress maybe\n"
      "press tool_help\n"
      "press no_such_button\n"
      "shot main " TAVRIN_BUILD_BIN
      "/../tavrin32-main-window.png\n"
      "open &File/&New Network...\n"
      "shot &File/&New Network... " TAVRIN_BUILD_BIN
      "/../tavrin32-new-network.png\n"
      "open &Train/&Back Propagation...\n"
      "shot &Train/&Back Propagation... " TAVRIN_BUILD_BIN
      "/../tavrin32-back-propagation.png\n"
      "open :Problem Solver 5\n"
      "shot :Problem Solver 5 " TAVRIN_BUILD_BIN
      "/../tavrin32-problem-solver.png\n"
      "wait\n"
      "quit\n"
      "dump longvar_suppress\n");
  std::ostringstream out, err;
  ScriptDriver driver(*program, presenter_, out, err);
  EXPECT_EQ(driver.Run(script), 1);
  const std::string pad(14, ' ');
  EXPECT_EQ(out.str(), pad + "longvar_suppress off\n" + pad + "longvar_suppress on\n")
      << "nothing after quit runs";
  EXPECT_NE(err.str().find("line 7: failed: press no_such_button"), std::string::npos) << err.str();
  ASSERT_FALSE(presenter_.boxes.empty()) << "the refused switch value was reported";
  EXPECT_NE(presenter_.boxes.back().text.find("[maybe]"), std::string::npos);
  // Windows a person would look at, kept in the build tree.
  for (const char* name : {"main-window", "new-network", "back-propagation", "problem-solver"}) {
    const QImage window(QString(TAVRIN_BUILD_BIN "/../tavrin32-%1.png").arg(name));
    EXPECT_GT(window.width(), 200) << name;
  }
}

TEST_F(ProgramTest, AnOperationRunningTakesOnlyStopAndEscape) {
  auto program = StartShown();
  gui::MainFrame& frame = *program->frame();
  OperationGuard& guard = program->guard();
  QWidget* open = program->ControlOf(program->interface().ElementNamed("tool_loadpat"));
  guard.Begin();
  QTest::mouseClick(open, Qt::LeftButton);
  EXPECT_EQ(frame.status(), "") << "the click was dropped";
  ASSERT_EQ(presenter_.boxes.size(), 1u) << "it asked whether to stop";
  EXPECT_EQ(presenter_.boxes[0].title, program->message_table().Text(338));
  EXPECT_TRUE(guard.PollStop()) << "the recording presenter answers Cancel: stop";
  EXPECT_FALSE(guard.PollStop()) << "a poll clears the request";
  QTest::keyClick(&frame, Qt::Key_Escape);
  EXPECT_TRUE(guard.PollStop());
  // Closing waits until the operation has unwound.
  EXPECT_FALSE(frame.close());
  EXPECT_TRUE(frame.isVisible());
  guard.End();
  QTRY_VERIFY(!frame.isVisible());
  EXPECT_EQ(presenter_.boxes.size(), 2u);
}

TEST_F(ProgramTest, WindowPositionsAreStoredAtExitAsTheUserChose) {
  const fs::path file = fs::temp_directory_path() / "tavrin-test-NRX.POS";
  const std::string bp = "&Train/&Back Propagation...";
  fs::remove(file);
  {
    auto program = Start();
    ASSERT_TRUE(started_);
    ASSERT_TRUE(program->interface().OpenWindow(bp));
    program->interface().WindowNamed(bp)->parentWidget()->setGeometry(11, 12, 380, 220);
    ASSERT_TRUE(program->Exit());
  }
  const std::string written = Contents(file);
  EXPECT_NE(written.find("autostore on\n\"main\"\t0\t"), std::string::npos) << written;
  EXPECT_NE(written.find("\"" + bp + "\"\t0\t11\t12\t380\t220\n"), std::string::npos)
      << "an open window's placement as it is at exit";
  {
    // Read back: the window reopens where it was; with autostore off what
    // was stored stays, whatever moved.
    auto program = Start();
    EXPECT_EQ(program->state().values.shell.winpos_autostore, 1);
    ASSERT_TRUE(program->interface().OpenWindow(bp));
    EXPECT_EQ(program->interface().WindowNamed(bp)->parentWidget()->geometry(),
              QRect(11, 12, 380, 220));
    program->interface().WindowNamed(bp)->parentWidget()->move(90, 90);
    program->state().values.shell.winpos_autostore = 0;
    ASSERT_TRUE(program->Exit());
  }
  const std::string kept = Contents(file);
  EXPECT_NE(kept.find("autostore off\n"), std::string::npos);
  EXPECT_NE(kept.find("\t11\t12\t380\t220\n"), std::string::npos) << kept;
  {
    // Saved now, then cleared at exit by the buttons.
    auto program = Start();
    program->state().values.shell.winpos_autostore = 1;
    fs::remove(file);
    program->Activate(program->interface().ElementNamed("winpos_save"));
    EXPECT_TRUE(fs::exists(file));
    program->Activate(program->interface().ElementNamed("winpos_clear"));
    EXPECT_TRUE(fs::exists(file)) << "cleared only at exit";
    ASSERT_TRUE(program->Exit());
  }
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(ProgramTest, UnsavedWorkIsSavedDiscardedOrKeptBeforeItIsLost) {
  using Answer = gui::Presenter::SaveAnswer;
  const fs::path dir = fs::temp_directory_path() / "tavrin-unsaved-test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path first = dir / "first.csv";
  std::ofstream(first) << "a,b\n1,2\n3,4\n";
  auto program = Start({QString::fromStdString(first.string())});
  ASSERT_TRUE(started_);
  ProgramState& state = program->state();
  state.data->entries[0] = 9;
  state.unsaved_data = true;

  // Cancel keeps everything; so does a save that fails, with its reason.
  presenter_.save_answers = {Answer::kCancel};
  EXPECT_FALSE(program->Exit());
  EXPECT_EQ(presenter_.boxes.back().text, "Save the changes to the data set (first.csv)?");
  state.data_file = (dir / "missing" / "x.csv").string();
  presenter_.save_answers = {Answer::kSave};
  EXPECT_FALSE(program->OpenDataFile(first.string()));
  EXPECT_EQ(presenter_.boxes.back().kind, gui::Presenter::Box::kError);
  EXPECT_EQ(state.data->entries[0], 9);
  EXPECT_TRUE(state.unsaved_data);

  // Saved where it came from, or where the dialog says when it came from nowhere.
  state.data_file.clear();
  save_file_ = (dir / "saved.csv").string();
  presenter_.save_answers = {Answer::kSave};
  ASSERT_TRUE(program->OpenDataFile(first.string()));
  EXPECT_EQ(save_dialogs_, std::vector<std::string>{"the data set"});
  EXPECT_FALSE(state.unsaved_data);
  EXPECT_EQ(state.data_file, first.string()) << "the file opened is now the current one";
  ASSERT_TRUE(program->OpenDataFile(*save_file_));
  EXPECT_EQ(state.data->entries[0], 9) << "the change reached the saved file";

  // Each kind is asked about on its own; a network set cannot be saved yet.
  state.unsaved_data = true;
  state.unsaved_set = true;
  presenter_.save_answers = {Answer::kDiscard, Answer::kSave};
  EXPECT_FALSE(program->Exit());
  EXPECT_EQ(presenter_.boxes.back().text, "Saving the network set is not available yet.");
  presenter_.save_answers = {Answer::kDiscard, Answer::kDiscard};
  EXPECT_TRUE(program->Exit()) << "an exit that did not happen discarded nothing";
  fs::remove_all(dir);
}

TEST_F(ProgramTest, ShellCommandsOpenCloseAndKeepPreferences) {
  auto program = StartShown();
  // A tool button opens the window its prompt names; a close button closes
  // the window it is on.
  program->Activate(program->interface().ElementNamed("tool_newnet"));
  EXPECT_NE(program->interface().WindowNamed("&File/&New Network..."), nullptr);
  program->Activate(program->interface().ElementNamed("help_webpage"));
  ASSERT_NE(program->interface().WindowNamed(":WEB Page"), nullptr);
  program->Activate(program->interface().ElementNamed("webpage_clipboard"));
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            program->state().values.shell.webpage_address);
  const int close = program->interface().ElementNamed("close");
  ASSERT_GE(close, 0);
  const std::string about = program->elements()[close].menu;
  ASSERT_TRUE(program->interface().OpenWindow(about));
  program->Activate(close);
  QTRY_VERIFY(program->interface().WindowNamed(about) == nullptr);
  EXPECT_NE(program->interface().WindowNamed("&File/&New Network..."), nullptr)
      << "only the button's own window";

  // A modal pop-up holds the main window until it closes.
  ASSERT_TRUE(program->interface().OpenWindow(":Problem Solver Outputs"));
  QWidget* outputs = program->interface().WindowNamed(":Problem Solver Outputs");
  EXPECT_EQ(QApplication::activeModalWidget(), outputs);
  program->interface().CloseWindow(":Problem Solver Outputs");
  QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);

  // Preferences are kept as they change; one preference, two switches.
  EXPECT_EQ(program->state().values.shell.longvar_display, 1);
  gui::SuParameter* suppress = program->parameters().Find("longvar_suppress");
  ASSERT_TRUE(gui::SetFromText(*suppress, "on", program->messages()));
  program->Activate(program->interface().ElementNamed("color_units"));
  EXPECT_EQ(
      std::tuple(preferences_.Read("LongVarMess"), program->state().values.shell.longvar_display,
                 preferences_.Read("ColorUnits"), program->state().preferences.color_units),
      std::tuple("off", 0, "off", false));
}

// A person's whole way: the iris data with its species as the output, a
// 4-5-3 perceptron trained by back propagation, a run over every case, the
// network and the data saved and read back; then a long run stopped.
TEST_F(ProgramTest, FromDataToATrainedNetworkAndBack) {
  auto program = Start({TAVRIN_SOURCE_DIR "/resources/data/iris.csv"});
  ASSERT_TRUE(started_);
  program->frame()->show();
  const fs::path dir = fs::temp_directory_path() / "tavrin-whole-way";
  fs::create_directories(dir);
  std::istringstream script(
      "set var_edit_from 5\nset var_edit_to 5\npress var_edit_output\n"
      "set no_layers_matrix 0 5 0\npress newnet_commit\nset best_remember off\n"
      "open &Train/&Back Propagation...\n"
      "set epochs 100\nset start_eta 0.2\nset end_eta 0.2\npress backprop_train\n"
      "dump net_display\ndump training_graph\npress runall_run\ndump training_error\n"
      "press results_to_data\n"
      "set runone_pattern 7\npress runone_run\n");
  std::ostringstream out, err;
  ScriptDriver driver(*program, presenter_, out, err);
  ASSERT_EQ(driver.Run(script), 0) << err.str();
  std::istringstream lines(out.str());
  std::string display, graph_name, first_point, point, last_point;
  std::getline(lines, display);  // the dump line
  std::getline(lines, display);
  EXPECT_EQ(display, "MLP 4-5-3, history \"BP100\"");
  std::getline(lines, graph_name);
  std::getline(lines, first_point);
  int points = 1;
  for (last_point = first_point;
       std::getline(lines, point) && point.find('\t') != std::string::npos; ++points) {
    last_point = point;
  }
  EXPECT_EQ(points, 100);
  const double first_error = std::stod(first_point.substr(first_point.find('\t')));
  const double last_error = std::stod(last_point.substr(last_point.find('\t')));
  EXPECT_LT(last_error, 0.8 * first_error) << "the training error fell";

  // The run over every case reports the engine's own figure.
  ProgramState& state = program->state();
  EngineState& engine = Engine();
  engine.active_network = state.network.get();
  engine.active_data_set = state.data.get();
  ASSERT_TRUE(RunAll(engine, RunAllMode::kOutputs, 1, CaseRun::kCaseByCase));
  engine.active_network = nullptr;
  engine.active_data_set = nullptr;
  EXPECT_EQ(state.values.display.training_error, engine.run_all.subset_errors[0]);
  EXPECT_EQ(state.values.running.runone_error, engine.training.case_errors[6]);
  EXPECT_EQ(state.data->variable_names.back(), "RMSERROR") << "the results beside the cases";

  // Saved, closed and read back.
  save_file_ = (dir / "iris.net").string();
  program->Activate(program->interface().ElementNamed("file_saveas_network"));
  save_file_ = (dir / "iris.dat").string();
  program->Activate(program->interface().ElementNamed("file_saveas_pattern"));
  const std::unique_ptr<Network> trained = CopyNetwork(*state.network);
  program->Activate(program->interface().ElementNamed("file_close_network"));
  program->Activate(program->interface().ElementNamed("file_close_pattern"));
  ASSERT_EQ(state.network, nullptr) << "nothing was left unsaved";
  open_file_ = (dir / "iris.net").string();
  program->Activate(program->interface().ElementNamed("file_open_network"));
  open_file_ = (dir / "iris.dat").string();
  program->Activate(program->interface().ElementNamed("file_open_pattern"));
  ASSERT_NE(state.network, nullptr);
  ASSERT_NE(state.data, nullptr);
  EXPECT_EQ(state.network->layers[1].connections[0].weights,
            trained->layers[1].connections[0].weights);
  EXPECT_EQ(state.data->no_outputs, 1) << "the species stays the output";

  // A long run stops at the stop button, within an epoch of the click.
  state.values.gradient.epochs = 100000;
  std::int32_t epoch_at_click = -1;
  QTimer::singleShot(200, [&] {
    epoch_at_click = engine.training.epoch;
    QTest::mouseClick(program->ControlOf(program->interface().ElementNamed("stop")),
                      Qt::LeftButton);
  });
  program->Activate(program->interface().ElementNamed("backprop_train"));
  ASSERT_GT(epoch_at_click, 0);
  EXPECT_LE(engine.training.epoch, epoch_at_click + 1);

  // A network whose input layer matches the output layer goes after it.
  NetworkDesign tail;
  tail.design_code = DesignCode::kLinear;
  tail.no_layers = 2;
  tail.units[0] = 3;
  tail.units[1] = 2;
  tail.no_inputs = 3;
  tail.no_outputs = 2;
  tail.variables.resize(5);
  ASSERT_TRUE(WriteNetworkFile(*BuildNetwork(tail, engine.random, engine.reinitialisation),
                               dir / "tail.net"));
  open_file_ = (dir / "tail.net").string();
  program->Activate(program->interface().ElementNamed("file_append_network"));
  EXPECT_EQ(state.network->no_layers(), 4);
  EXPECT_EQ(state.network->output_layer().no_units, 2);
  fs::remove_all(dir);
}

// The best network that training keeps, the one-off case, and the small
// spreadsheets, which read and write the network through their cells.
TEST_F(ProgramTest, TheBestNetworkTheOneOffCaseAndTheNetworksSpreadsheets) {
  auto program = Start({TAVRIN_SOURCE_DIR "/resources/data/iris.csv"});
  ASSERT_TRUE(started_);
  program->frame()->show();
  std::ostringstream out, err;
  ScriptDriver driver(*program, presenter_, out, err);
  const auto run = [&](const char* lines) {
    std::istringstream script(lines);
    return driver.Run(script);
  };
  ASSERT_EQ(run("set var_edit_from 5\nset var_edit_to 5\npress var_edit_output\n"
                "set newnet_prepost_matrix Mean-SD Zero\npress newnet_commit\n"
                "set epochs 20\nset start_eta 0.9\nset end_eta 0.9\npress backprop_train\n"),
            0)
      << err.str();
  ProgramState& state = program->state();
  EngineState& engine = Engine();
  EXPECT_EQ(std::tuple(state.network->coding.conversion[0], state.network->coding.missing_fn[0]),
            std::tuple(3.0, 2.0))
      << "Mean-SD and Zero from the pre/post-processing matrix";
  ASSERT_NE(engine.training.best.network, nullptr) << "kept, not restored, at the end";
  const Network best = *engine.training.best.network;
  const double best_error = engine.training.best.training_error;
  ASSERT_EQ(run("press best_restore\n"), 0) << err.str();
  EXPECT_EQ(program->frame()->status().toStdString(), program->message_table().Text(36));
  EXPECT_EQ(state.network->layers[1].connections[0].weights, best.layers[1].connections[0].weights);
  EXPECT_EQ(state.values.display.training_error, best_error);
  ASSERT_EQ(run("set epochs 2\npress backprop_train\npress best_discard\npress best_restore\n"), 1);
  EXPECT_EQ(presenter_.boxes.back().text, program->message_table().Text(35));

  // The one-off case runs as the engine runs it; a weight typed in goes
  // into the network.
  out.str("");
  ASSERT_EQ(run("set net_layer 2\nset net_weights_shown Both\nset net_weights_matrix 0.25 0.5\n"
                "set oneoff_inputs_matrix 5.1 3.5 1.4 0.2\n"
                "set oneoff_outputs_shown Output activations\npress oneoff_test\n"
                "dump oneoff_outputs_matrix\n"),
            0)
      << err.str();
  Network copy = *state.network;
  double raw[] = {5.1, 3.5, 1.4, 0.2}, species = 0;
  RunForward(copy, raw, &species);
  std::string shown = "\t1\t2\t3\nOutputs";
  for (const double y : copy.output_layer().activations) shown += "\t" + gui::CNumber(y, 6);
  EXPECT_EQ(out.str().substr(out.str().find('\n') + 1), shown + "\n\n");
  EXPECT_EQ(std::tuple(state.network->layers[1].thresholds[0],
                       state.network->layers[1].connections[0].row(0)[0]),
            std::tuple(0.25, 0.5));

  // The sensitivity analysis reports the engine's own figures.
  out.str("");
  ASSERT_EQ(run("press sensitivity_update\ndump sensitivity_matrix\n"), 0) << err.str();
  SensitivityResults own;
  engine.active_network = state.network.get();
  engine.active_data_set = state.data.get();
  ASSERT_TRUE(AnalyseSensitivity(engine, &own));
  engine.active_network = nullptr;
  engine.active_data_set = nullptr;
  EXPECT_EQ(state.values.running.sensitivity_tbase, own.training.base_error);
  EXPECT_NE(out.str().find("\nRank\t" + std::to_string(own.training.ranks[0]) + "\t"),
            std::string::npos)
      << out.str();

  // The second-order trainers train from the same window.
  ASSERT_EQ(run("set epochs 3\npress conjugate_train\npress newton_train\n"), 0) << err.str();
  EXPECT_NE(engine.training.history.find(",CG3"), std::string::npos) << engine.training.history;
  EXPECT_NE(engine.training.history.find(",QN"), std::string::npos) << engine.training.history;

  // Escape stops a long run after the epoch in progress.
  state.values.gradient.epochs = 100000;
  std::int32_t epoch_at_key = -1;
  QTimer::singleShot(200, [&] {
    epoch_at_key = engine.training.epoch;
    QTest::keyClick(program->frame(), Qt::Key_Escape);
  });
  program->Activate(program->interface().ElementNamed("backprop_train"));
  ASSERT_GT(epoch_at_key, 0);
  EXPECT_LE(engine.training.epoch, epoch_at_key + 1);

  // A factor typed in goes into the network; scaling from the data set
  // writes them all afresh; a new data set replaces the iris data.
  auto* factors = static_cast<gui::MatrixModel*>(
      std::get<gui::SuDisplay>(program->parameters().Find("norm_factors_matrix")->value).data);
  ASSERT_NE(factors, nullptr);
  EXPECT_FALSE(factors->CellFromText(0, "Mean-SD")) << "the conversion shapes the units";
  ASSERT_TRUE(factors->CellFromText(4, "7"));
  EXPECT_EQ(state.network->coding.shift[0], 7.0);
  CalculateScaleFactors(copy.coding, *state.data);
  state.unsaved_data = false;  // else the new data set asks first
  ASSERT_EQ(run("press norm_scale\nset pattern_new_inputs 2\nset pattern_new_outputs 3\n"
                "press pattern_create\n"),
            0)
      << err.str();
  EXPECT_EQ(state.network->coding.shift, copy.coding.shift);
  EXPECT_EQ(std::tuple(state.data->no_inputs, state.data->no_outputs), std::tuple(2, 3));

  // A pruning limit above every weight leaves one hidden unit and one input.
  ASSERT_EQ(run("set weigend_fanout 1000\npress weigend_prune_hidden\npress weigend_prune_input\n"),
            0)
      << err.str();
  EXPECT_EQ(std::tuple(state.network->layers[1].no_units, state.network->coding.no_inputs),
            std::tuple(1, 1));
}

// Input selection from its window: the mask it found is shown and applied.
TEST_F(ProgramTest, InputSelectionShowsAndAppliesItsMask) {
  auto program = Start({TAVRIN_SOURCE_DIR "/resources/data/iris.csv"});
  ASSERT_TRUE(started_);
  std::istringstream script(
      "set var_edit_from 5\nset var_edit_to 5\npress var_edit_output\n"
      "press inputga_mask_apply\nset feature_algorithm Forward stepwise\npress inputga_run\n"
      "dump inputga_mask_matrix\npress inputga_mask_apply\n");
  std::ostringstream out, err;
  EXPECT_EQ(ScriptDriver(*program, presenter_, out, err).Run(script), 1) << "no mask at first";
  EXPECT_EQ(presenter_.boxes.at(0).text,
            "You must generate a mask using the options above before applying it");
  const std::string dumped = out.str();
  const std::string used = dumped.substr(dumped.find("\nUsed\t") + 6);
  const auto kept = std::count(used.begin(), used.end(), 'Y');
  EXPECT_NE(dumped.find("\tsepal_length\tsepal_width\tpetal_length\tpetal_width\nUsed\t"),
            std::string::npos)
      << dumped;
  ASSERT_GT(kept, 0) << "forward stepwise keeps at least one input";
  EXPECT_EQ(program->state().data->no_inputs, kept);
  EXPECT_FALSE(Engine().input_selection.mask) << "applied and forgotten";
}

// The editing windows show the network and the data set as they are, and
// what is set there goes into them.
TEST_F(ProgramTest, SettingsOfTheNetworkAndTheDataSetGoStraightIntoThem) {
  auto program = Start({TAVRIN_SOURCE_DIR "/resources/data/iris.csv"});
  ASSERT_TRUE(started_);
  std::istringstream script(
      "press newnet_commit\nset net_layer 2\ndump net_layer_units\n"
      "set net_layer_act_fn Hyperbolic\nset class_accept 0.75\nset net_layer 1\n"
      "dump net_layer_act_fn\nset case_edit_from 11\nset case_edit_to 20\n"
      "press case_edit_test\ndump pattern_no_test\npress shuffle_index\n"
      "set case_edit_insert 151\nset case_edit_extras 2\npress case_edit_add\n"
      "set case_edit_from 1\nset case_edit_to 3\npress case_edit_delete\n"
      "set var_edit_insert 7\nset var_edit_extras 1\npress var_edit_add\n"
      "set net_randomise_type Zero\npress net_randomise\n");
  std::ostringstream out, err;
  ScriptDriver driver(*program, presenter_, out, err);
  ASSERT_EQ(driver.Run(script), 0) << err.str();
  const auto dumped = [](const std::string& name, const std::string& value) {
    return std::string(30 - name.size(), ' ') + name + "  " + value + "\n";
  };
  // 7 input units (species one of 3), 1 output unit: 4 hidden units advised.
  EXPECT_EQ(out.str(), dumped("net_layer_units", "4") + dumped("net_layer_act_fn", "Linear") +
                           dumped("pattern_no_test", "10"));
  const Network& net = *program->state().network;
  EXPECT_EQ(net.layers[1].act_fn, ActivationFunction::kHyperbolic);
  EXPECT_EQ(net.coding.accept, 0.75);
  const DataSet& data = *program->state().data;
  EXPECT_EQ(data.variable_names.front(), "NNINDEX");
  EXPECT_EQ(data.no_cases, 149) << "2 added after the last, 3 deleted";
  EXPECT_EQ(data.variable_names.back(), "VAR7");
  for (int l = 1; l < net.no_layers(); ++l) {
    EXPECT_EQ(net.layers[l].connections[l - 1].weights,
              std::vector<double>(net.layers[l].connections[l - 1].weights.size(), 0.0));
  }

  // Names: a case renamed, moved to the end and found there by its name; the
  // species copied after the last variable, a value renamed and another
  // deleted; a variable chosen for the scatter plot by its name.
  std::istringstream names(
      "set case_edit_no 1\nset case_edit_name first\nset case_edit_to 1\n"
      "set case_edit_insert 150\npress case_edit_move\nset case_edit_from_name first\n"
      "dump case_edit_from\nset var_edit_from 6\nset var_edit_to 6\nset var_edit_insert 8\n"
      "press var_edit_copy\nset attribute_no 8\nset attribute_value 1\n"
      "set attribute_label Setosa\nset attribute_value 3\npress attribute_delete\n"
      "set cluster_xvar petal_width\ndump cluster_x\npress ignore_missing_variables\n"
      "set attribute_value 2\n"
      "set attribute_label Setosa\n");
  out.str("");
  EXPECT_EQ(driver.Run(names), 1);
  EXPECT_EQ(presenter_.boxes.back().text, "The variable already has a value named \"Setosa\"");
  EXPECT_EQ(out.str(), dumped("case_edit_from", "149") + dumped("cluster_x", "5"));
  EXPECT_EQ(data.case_names.back(), "first");
  EXPECT_EQ(data.variable_names.back(), "species");
  EXPECT_EQ(data.nominals.back(), (std::vector<std::string>{"Setosa", "versicolor"}));
  EXPECT_EQ(data.nominals[5].size(), 3u) << "the copy's values are its own";
  EXPECT_EQ(std::tuple(data.role(5), data.role(6)),
            std::tuple(data.role(7), VariableRole::kNeither))
      << "only the added variable, missing throughout, is left out";
}

// A text file whose name does not say its separator is read with the import
// choice's.
TEST_F(ProgramTest, TextDataFilesFollowTheImportChoices) {
  auto program = Start();
  ASSERT_TRUE(started_);
  const fs::path file = fs::temp_directory_path() / "tavrin-semicolons.txt";
  std::ofstream(file) << "height;grade\n1.5;?\n2;3\n";
  open_file_ = file.string();
  std::istringstream script("set import_wiz_delim Semicolon\npress file_open_pattern\n");
  std::ostringstream out, err;
  ASSERT_EQ(ScriptDriver(*program, presenter_, out, err).Run(script), 0) << err.str();
  ASSERT_NE(program->state().data, nullptr);
  EXPECT_EQ(program->state().data->variable_names, (std::vector<std::string>{"height", "grade"}));
  EXPECT_TRUE(IsMissing(program->state().data->at(0, 1)));
  fs::remove(file);
}

// An action that lacks its network or data set says so and changes nothing.
TEST_F(ProgramTest, ActionsRefuseWithoutTheirNetworkOrDataSet) {
  auto program = Start();
  ASSERT_TRUE(started_);
  std::istringstream script("press runall_run\npress newnet_commit\npress backprop_train\n");
  std::ostringstream out, err;
  EXPECT_EQ(ScriptDriver(*program, presenter_, out, err).Run(script), 1);
  ASSERT_EQ(presenter_.boxes.size(), 2u);
  EXPECT_EQ(presenter_.boxes[0].text, program->message_table().Text(1));
  EXPECT_EQ(presenter_.boxes[1].text, program->message_table().Text(2));
  EXPECT_EQ(Engine().training.history, "") << "nothing was trained";
}

// The displays a person looks at after a short training run, kept in the
// build tree as pictures: the training graph, the data set's spreadsheet and
// scatter plot, and the network.
TEST_F(ProgramTest, TheDisplaysShowTheProgramsDataAndCopyIt) {
  auto program = Start({TAVRIN_SOURCE_DIR "/resources/data/iris.csv"});
  ASSERT_TRUE(started_);
  program->frame()->resize(1100, 800);
  program->frame()->show();
  const std::string build = TAVRIN_BUILD_BIN "/../tavrin32-";
  const std::pair<std::string, const char*> shots[] = {
      {"&Statistics/&Training Graph...", "training-graph"},
      {"&Data/&Edit Data Set...", "data-set"},
      {"&Data/C&lusters...", "scatter"},
      {"&Edit/&Network...", "network"},
      {"&Statistics/&Weight Distribution...", "weights"},
      {"&Edit/&Weights...", "weights-matrix"},
      {"&Run/&One-off Case...", "one-off"},
      {"&Run/&Data Set...", "results"},
      {"&Edit/Pre- and Post-Pr&ocessing...", "factors"}};
  std::string text =
      "set var_edit_from 5\nset var_edit_to 5\npress var_edit_output\n"
      "set no_layers_matrix 0 5 0\npress newnet_commit\n"
      "set cluster_grouptype Nominal variable\nset cluster_groupby 5\n"
      "press backprop_train\nwait\nset net_layer 2\nset oneoff_inputs_matrix 5.1 3.5 1.4 0.2\n"
      "press oneoff_test\npress runall_run\n";
  for (const auto& [menu, name] : shots) {
    text += "open " + menu + "\nshot " + menu + " " + build + name + ".png\n";
  }
  std::istringstream script(text);
  std::ostringstream out, err;
  ScriptDriver driver(*program, presenter_, out, err);
  ASSERT_EQ(driver.Run(script), 0) << err.str();
  auto frame_of = [&](const char* name) {
    return dynamic_cast<gui::DisplayFrame*>(
        program->ControlOf(program->interface().ElementNamed(name)));
  };
  gui::DisplayFrame* graph = frame_of("training_graph");
  ASSERT_NE(graph, nullptr);
  graph->Copy();
  const QStringList rows = QApplication::clipboard()->text().split('\n');
  EXPECT_EQ(rows[0], "Training,X\tTraining,Y");
  EXPECT_EQ(rows.size() - 2, static_cast<int>(program->state().training_line.size()))
      << "one row a point after the header, and the last line's end";
  auto* matrix = dynamic_cast<gui::MatrixView*>(frame_of("pattern_matrix")->view());
  ASSERT_NE(matrix, nullptr);
  const QAbstractItemModel* cells = matrix->table()->model();
  EXPECT_EQ(cells->rowCount(), 150);
  EXPECT_EQ(cells->headerData(0, Qt::Horizontal).toString(), "sepal_length");
  EXPECT_EQ(cells->index(0, 4).data().toString(), "setosa") << "nominal values by name";
  EXPECT_EQ(cells->index(149, 4).data().toString(), "virginica");
  const auto* scatter =
      std::get<gui::SuDisplay>(program->parameters().Find("pattern_scatter")->value).data;
  ASSERT_NE(scatter, nullptr);
  EXPECT_EQ(static_cast<const gui::ScatterData*>(scatter)->size(), 3u) << "a set per species";
  for (const auto& [menu, name] : shots) {
    EXPECT_GT(QImage(QString::fromStdString(build + name + ".png")).width(), 200) << name;
  }
}

}  // namespace
}  // namespace tavrin::app

int main(int argc, char** argv) {
  // Listing the tests at build time needs no display either.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
