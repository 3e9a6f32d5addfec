#include "training/training_calls.h"
#include "common/messages.h"

#include <string>
#include <utility>

#include "engine_state.h"
#include "training/radial_layer.h"
#include "training/training_driver.h"
#include "training/training_settings.h"

namespace tavrin {
namespace {

void StoreRun(EngineState& e, const IterativeSettings& s, bool shuffle, double noise) {
  TrainingRun& run = e.training;
  run.epochs = s.epochs;
  run.verify = s.verify;
  run.retain_best = s.retain_best;
  run.restore_best = s.restore_best;
  run.shuffle = shuffle;
  run.noise = noise;
}

Status Train(EngineState& e, Algorithm algorithm, bool outputs_trained = true) {
  if (!RunTrainingDriver(e, algorithm, outputs_trained)) return Status::Failed();
  return FinishTrainingCall(e);
}

}  // namespace

Status TrainBackPropagation(EngineState& e, const IterativeSettings& s, bool shuffle,
                            double start_rate, double end_rate, double start_momentum,
                            double end_momentum, double noise) {
  if (!CheckTrainingValues({{"Learning rate", start_rate},
                            {"Learning rate", end_rate},
                            {"Momentum", start_momentum},
                            {"Momentum", end_momentum},
                            {"Noise", noise}})) {
    return Status::Failed();
  }
  if (e.active_network && e.active_network->no_layers() < 2) {
    return Fail(kTrainingNeedsTwoLayers);
  }
  StoreRun(e, s, shuffle, noise);
  e.training.learning_rate.Start(start_rate, end_rate);
  e.training.momentum.Start(start_momentum, end_momentum);
  return Train(e, Algorithm::kBackPropagation);
}

Status TrainQuickPropagation(EngineState& e, const IterativeSettings& s, double rate,
                             double acceleration, double noise) {
  if (!CheckTrainingValues(
          {{"Learning rate", rate}, {"Acceleration", acceleration}, {"Noise", noise}})) {
    return Status::Failed();
  }
  StoreRun(e, s, false, noise);
  e.training.learning_rate.Start(rate, rate);
  e.algorithms.quickprop_accel = acceleration;
  return Train(e, Algorithm::kQuickPropagation);
}

Status TrainDeltaBarDelta(EngineState& e, const IterativeSettings& s, double initial_rate,
                          double increment, double decay, double smoothing, double noise) {
  if (!CheckTrainingValues({{"Learning rate", initial_rate},
                            {"Increment", increment},
                            {"Decay", decay},
                            {"Smoothing", smoothing},
                            {"Noise", noise}})) {
    return Status::Failed();
  }
  StoreRun(e, s, false, noise);
  e.training.learning_rate.Start(initial_rate, initial_rate);
  e.algorithms.dbd_increment = increment;
  e.algorithms.dbd_decay = decay;
  e.algorithms.dbd_smoothing = smoothing;
  return Train(e, Algorithm::kDeltaBarDelta);
}

Status TrainModelTrust(EngineState& e, const IterativeSettings& s, double rate, double noise) {
  if (!CheckTrainingValues({{"Learning rate", rate}, {"Noise", noise}})) return Status::Failed();
  StoreRun(e, s, false, noise);
  e.training.learning_rate.Start(rate, rate);
  return Train(e, Algorithm::kModelTrust);
}

Status TrainConjugateGradients(EngineState& e, const IterativeSettings& s) {
  if (e.active_network && e.active_network->no_layers() < 2) {
    return Fail(kTrainingNeedsTwoLayers);
  }
  StoreRun(e, s, false, 0.0);
  return Train(e, Algorithm::kConjugateGradients);
}

Status TrainQuasiNewton(EngineState& e, const IterativeSettings& s) {
  StoreRun(e, s, false, 0.0);
  return Train(e, Algorithm::kQuasiNewton);
}

Status TrainLevenbergMarquardt(EngineState& e, const IterativeSettings& s) {
  if (const Network* net = e.active_network) {
    if (net->no_layers() < 2) return Fail(kTrainingNeedsTwoLayers);
    if (net->output_layer().no_units > 1) return Fail(kLevenbergMultipleOutputs);
  }
  StoreRun(e, s, false, 0.0);
  return Train(e, Algorithm::kLevenbergMarquardt);
}

Status TrainKohonen(EngineState& e, const IterativeSettings& s, bool shuffle, double start_rate,
                    double end_rate, double start_neighbourhood, double end_neighbourhood) {
  if (!CheckTrainingValues({{"Learning rate", start_rate},
                            {"Learning rate", end_rate},
                            {"Neighbourhood", start_neighbourhood},
                            {"Neighbourhood", end_neighbourhood}})) {
    return Status::Failed();
  }
  StoreRun(e, s, shuffle, 0.0);
  e.training.learning_rate.Start(start_rate, end_rate);
  e.training.neighbourhood.Start(start_neighbourhood, end_neighbourhood);
  std::string history = std::move(e.training.history);
  e.training.history.clear();
  if (!RunTrainingDriver(e, Algorithm::kKohonen, false)) {
    e.training.history = std::move(history);
    return Status::Failed();
  }
  return FinishTrainingCall(e);
}

Status TrainLvq(EngineState& e, const IterativeSettings& s, bool shuffle, int method,
                double start_rate, double end_rate, double epsilon, double beta) {
  if (method < 0 || method > 2) return Fail(kMethodOutOfRange);
  if (!CheckTrainingValues({{"Learning rate", start_rate},
                            {"Learning rate", end_rate},
                            {"Epsilon", epsilon},
                            {"Beta", beta}})) {
    return Status::Failed();
  }
  if (const Network* net = e.active_network) {
    if (net->no_layers() < 2) return Fail(kTrainingNeedsTwoLayers);
    if (!HasRadialLayer(*net)) return Fail(kRadialLayerNeeded);
    const VariableCoding& c = net->coding;
    if (c.no_outputs < 1 || c.no_nominals(c.no_inputs) == 0) return Fail(kLvqNominalOutput);
  }
  StoreRun(e, s, shuffle, 0.0);
  e.training.learning_rate.Start(start_rate, end_rate);
  e.algorithms.lvq_method = method;
  e.algorithms.lvq_epsilon = epsilon;
  e.algorithms.lvq_beta = beta;
  return Train(e, Algorithm::kLvq, false);
}

}  // namespace tavrin

namespace tavrin {

void BeginTrainingCall(EngineState& e, Network* network, DataSet* data,
                       const TrainingSettings& settings) {
  e.active_network = network;
  e.active_data_set = data;
  e.training.training_error = 0.0;
  e.training.verification_error = 0.0;
  e.training.epoch = 0;
  e.training.Apply(settings);
}

}  // namespace tavrin
