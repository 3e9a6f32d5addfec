// The online back-propagation task run from the desktop program, offscreen:
// the back propagation window open, the training graph and the error
// read-outs updated after every epoch, the program's events processed between
// epochs, as a person's click on "Train" runs it. Compare with
// T1_OnlineBP/Reg16/Tavrin (NRXBackPropagation) from the same run.

#include <benchmark/benchmark.h>
#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "common/initial_weights.h"
#include "common/online_task.h"
#include "common/reg16.h"
#include "data/data_set.h"
#include "engine_networks.h"
#include "network/forward_run.h"
#include "online_report.h"
#include "preference_store.h"
#include "program.h"
#include "qt_presenter.h"

namespace tavrin::bench {
namespace {

void StartApplication() {
  static int argc = 1;
  static char name[] = "tavrin_bench";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
}

std::unique_ptr<DataSet> CreateReg16Data(const Reg16& table) {
  const int cases = static_cast<int>(table.targets.size());
  std::unique_ptr<DataSet> data = CreateDataSet(kReg16Inputs, 1);
  if (!data || !ResizeCases(*data, 1, cases - 1)) return nullptr;
  for (int c = 0; c < cases; ++c) {
    for (int v = 0; v < kReg16Inputs; ++v) data->at(c, v) = table.row(c)[v];
    data->at(c, kReg16Inputs) = table.targets[c];
  }
  return data;
}

void OnlineBpProgram(benchmark::State& state) {
  std::string error;
  const Reg16 table = GenerateCheckedReg16(error);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  StartApplication();
  gui::RecordingPresenter presenter;
  gui::MemoryPreferenceStore preferences;
  app::StartOptions options;
  options.executable_directory = TAVRIN_BENCH_PROGRAM_DIR;
  options.presenter = &presenter;
  options.preferences = &preferences;
  options.environment = [](std::string_view) { return std::nullopt; };
  // No dialog may wait for a person.
  options.choose_data_file = [] { return std::optional<std::string>(); };
  options.positions_file = std::filesystem::temp_directory_path() / "tavrin-bench-NRX.POS";
  app::Program program(std::move(options));
  if (!program.Start() || !program.interface().OpenWindow("&Train/&Back Propagation...")) {
    state.SkipWithError("the program did not start");
    return;
  }
  program.frame()->show();
  app::ProgramState& s = program.state();
  s.data = CreateReg16Data(table);
  s.values.gradient.epochs = kOnlineEpochs;
  s.values.gradient.start_eta = s.values.gradient.end_eta = kOnlineRate;
  s.values.gradient.start_momentum = s.values.gradient.end_momentum = kOnlineMomentum;
  s.values.network_set.best_remember = 0;
  s.values.display.training_graph_interval = 1;
  const int train = program.interface().ElementNamed("backprop_train");
  const InitialWeights weights = Reg16NetInitialWeights();

  s.network = CreateEngineMlp(Engine(), kReg16NetUnits, ActivationFunction::kLinear, weights);
  const std::unique_ptr<Network> initial = CopyNetwork(*s.network);
  for (auto _ : state) {
    state.PauseTiming();
    // The weights set afresh in place, as the library's benchmark sets them.
    for (int l = 1; l < 3; ++l) {
      s.network->layers[l].connections[l - 1].weights =
          initial->layers[l].connections[l - 1].weights;
      s.network->layers[l].thresholds = initial->layers[l].thresholds;
    }
    state.ResumeTiming();
    program.Activate(train);
  }
  if (!presenter.boxes.empty()) {
    state.SkipWithError(presenter.boxes.front().text.c_str());
    return;
  }
  const double rms = Reg16Rms(table, [&](const double* inputs, double& y) {
    RunForward(*s.network, inputs, &y);
    return true;
  });
  char label[96];
  std::snprintf(label, sizeof label, "rms=%.11f, %zu graph points", rms, s.training_line.size());
  ReportOnlineRun(state, rms, label);
  s.unsaved_network = s.unsaved_data = false;
}

BENCHMARK(OnlineBpProgram)->Name("T1_OnlineBP/Reg16/Program")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin::bench
