#pragma once

// The engine's process-wide state: the active network and data set, the
// design the builders read, the random generator and the reinitialisation
// range, and where failures are reported. One instance serves the library and
// the desktop program; tests start from a fresh one with ResetEngineState().

#include <vector>

#include "analysis/input_selection.h"
#include "analysis/roc_analysis.h"
#include "analysis/run_all.h"
#include "analysis/sensitivity.h"
#include "common/error_sink.h"
#include "common/random_generator.h"
#include "data/data_set.h"
#include "network/network.h"
#include "network/network_design.h"
#include "network/weight_initialiser.h"
#include "training/training_run.h"

namespace tavrin {

struct EngineState {
  Network* active_network = nullptr;   // not owned
  DataSet* active_data_set = nullptr;  // not owned
  NetworkDesign design;
  RandomGenerator random;
  ReinitialisationRange reinitialisation;
  TrainingRun training;
  AlgorithmSettings algorithms;
  // The last principal components run's eigenvalues, one per input unit,
  // largest first; kept until the next run.
  std::vector<double> pca_eigenvalues;
  // The last run over a data set; replaced by the next.
  RunAllResults run_all;
  // The last sensitivity analysis, and the ROC analysis's choices and
  // figures, which the program shows and acts on.
  SensitivityResults sensitivity;
  RocSettings roc_settings;
  RocResult roc;
  // Input selection's settings and the mask its last search found.
  InputSelectionState input_selection;
  ErrorSink* error_sink = nullptr;  // null: the built-in LastMessageSink
};

EngineState& Engine();

// Puts the engine back in its state at load (the error sink is kept).
void ResetEngineState();

// The sink used when none is installed.
LastMessageSink& DefaultErrorSink();

}  // namespace tavrin
