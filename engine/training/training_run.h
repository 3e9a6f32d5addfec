#pragma once

// The engine-wide state of the one training run at a time: schedules, flags,
// stopping conditions, errors, the best network kept, the per-case errors,
// the shuffle order, the retained trainer and the training history.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "network/network.h"
#include "training/trainer.h"
#include "training/training_settings.h"

namespace tavrin {

// A value that moves linearly from its start to its end value over a run.
struct Schedule {
  double current = 0.0;
  double end = 0.0;
  double step = 0.0;

  void Start(double start_value, double end_value) {
    current = start_value;
    end = end_value;
    step = 0.0;
  }
};

struct BestCopy {
  std::unique_ptr<Network> network;
  double training_error = 0.0;
  double verification_error = 0.0;
  double normalised_training_error = 0.0;
  double normalised_verification_error = 0.0;
  std::int32_t epoch = 0;
};

// Settings of the individual algorithms that are engine values rather than
// arguments of every call.
struct AlgorithmSettings {
  double quickprop_accel = 2.0;
  double quickprop_nudge = 0.0;
  double dbd_increment = 0.1;
  double dbd_decay = 0.8;
  double dbd_smoothing = 0.5;
  double levenberg_ratio = 10.0;    // Levenberg-Marquardt's damping factor
  double newton_tolerance = 0.001;  // kept for the desktop program; no trainer reads it
  // The radial layer's settings: the width factor D of the deviations, LVQ's
  // method (0-2), window epsilon and factor beta.
  double deviation = 1.0;
  int lvq_method = 0;
  double lvq_epsilon = 0.35;
  double lvq_beta = 0.25;
  // Sigma of the probabilistic and regression networks, kept for later
  // training (input selection takes it).
  double smoothing = 0.1;
};

struct TrainingRun {
  std::int32_t epoch = 0;
  std::int32_t final_epoch = 0;
  std::int32_t start_epoch = 0;  // the counter when the run started

  Schedule learning_rate{0.1, 0.1, 0.0};
  Schedule momentum{0.3, 0.3, 0.0};
  Schedule neighbourhood{1.0, 1.0, 0.0};

  double noise = 0.0;
  bool verify = false;
  bool shuffle = false;
  bool retain_best = true;
  // With retain_best: the call ends on the best network; false keeps the
  // copy in `best` for the caller to restore or discard.
  bool restore_best = true;
  std::int32_t epochs = 100;

  double stop_error_threshold = 0.0;
  double stop_verification_threshold = 0.0;
  double stop_error_delta = 0.0;
  double stop_verification_delta = 0.0;
  std::int32_t stop_error_window = 0;
  double weigend_lambda = 0.0;
  double weigend_scale = 1.0;

  bool abort = false;
  bool stopped_by_condition = false;
  bool stopped_by_request = false;  // the callback or a stop request ended it
  bool converged = false;

  // Called after every epoch with the run as it stands (errors, epoch
  // counter): progress for a display, and false to end the run there.
  std::function<bool(const TrainingRun&)> epoch_callback;

  // Called by the long searches built on training (input selection, the
  // problem solver) after each step with the steps done and the steps
  // expected (0 when unknown); false ends the search as a stop request does.
  std::function<bool(std::int64_t done, std::int64_t total)> search_callback;

  // While an epoch update runs: the epoch's summed case errors with the
  // penalty term, and the same sum measured afresh over every training case
  // at the network's values as they are (no noise).
  double epoch_error_sum = 0.0;
  std::function<double()> training_error_sum;

  double training_error = 0.0;
  double verification_error = 0.0;
  double normalised_training_error = 0.0;
  double normalised_verification_error = 0.0;

  double lowest_training_error = 1.0e20;
  std::int32_t lowest_training_epoch = -1;
  double lowest_verification_error = 1.0e20;
  std::int32_t lowest_verification_epoch = -1;

  BestCopy best;
  std::vector<double> case_errors;  // square-rooted, one per case of the data set
  std::vector<int> shuffle_order;
  // The data set row of the case a trainer's hook is given.
  std::int32_t current_case = -1;

  // The trainer whose working arrays are still allocated.
  std::unique_ptr<Trainer> retained;

  std::string history;
  std::size_t history_start = 0;

  // Copies a slot's settings (stopping conditions, epochs, retain best, Weigend).
  void Apply(const TrainingSettings& settings);
};

}  // namespace tavrin
