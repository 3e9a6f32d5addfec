#pragma once

// The library slots of the training tasks: the 64-32-10 digits network with
// its data set (batch training) and the 16-32-1 reg16 network with its data
// set (online and Levenberg-Marquardt training), every variable passing
// unchanged.

#include <optional>
#include <string>
#include <utility>

#include "common/batch_task.h"
#include "common/initial_weights.h"
#include "common/online_task.h"
#include "nrx_data_set.h"
#include "nrx_handles.h"

namespace tavrin::bench {

inline constexpr int kActivationLinear = 0;
inline constexpr int kActivationLogistic = 1;

// Ten numeric outputs, not one nominal one: the targets are the 0/1 units
// themselves, with identity pre-processing like the inputs.
inline NetworkSlot CreateDigitsTrainingNetwork(std::string& error) {
  return CreateTaskMlp(kDigitsNetUnits[0], kDigitsNetUnits[1], kBatchOutputs, kActivationLogistic,
                       error);
}

inline DataSetSlot CreateDigitsTrainingDataSet(const Digits& digits, std::string& error) {
  constexpr int inputs = kDigitsNetUnits[0];
  return BuildDataSet(
      inputs, kBatchOutputs, digits.rows,
      [&](std::size_t r, double* row) {
        for (int i = 0; i < inputs; ++i) row[i] = digits.row(r)[i];
        for (int k = 0; k < kBatchOutputs; ++k) row[inputs + k] = DigitTarget(digits.classes[r], k);
      },
      error);
}

inline double DigitsNetworkRms(int net, const Digits& digits) {
  return DigitsRms(digits, [&](const double* x, double* y) {
    return NRXRunNetwork(net, NRX_OUTPUT_DECODED, x, y) == 1;
  });
}

// The batch task ready to time: its network at the task's initial weights,
// its data set and the error it starts from; nullopt, with `error`, on failure.
struct DigitsTraining {
  Digits digits;
  NetworkSlot net;
  DataSetSlot data;
  InitialWeights weights;
  double initial_rms = 0.0;
};

inline std::optional<DigitsTraining> PrepareDigitsTraining(std::string& error) {
  std::optional<Digits> digits = LoadBenchDigits(error);
  if (!digits) return std::nullopt;
  NetworkSlot net = CreateDigitsTrainingNetwork(error);
  DataSetSlot data = net.valid() ? CreateDigitsTrainingDataSet(*digits, error) : DataSetSlot();
  InitialWeights weights = DigitsNetInitialWeights();
  if (!data.valid() || !SetLayeredWeights(net.index(), weights, error)) return std::nullopt;
  const double initial_rms = DigitsNetworkRms(net.index(), *digits);
  return DigitsTraining{std::move(*digits), std::move(net), std::move(data), std::move(weights),
                        initial_rms};
}

// Logistic hidden and linear output units, the sum-squared error.
inline NetworkSlot CreateReg16Network(std::string& error) {
  return CreateTaskMlp(kReg16NetUnits[0], kReg16NetUnits[1], 1, kActivationLinear, error);
}

inline DataSetSlot CreateReg16DataSet(const Reg16& table, std::string& error) {
  constexpr int inputs = kReg16NetUnits[0];
  return BuildDataSet(
      inputs, 1, kReg16Cases,
      [&](std::size_t c, double* row) {
        for (int i = 0; i < inputs; ++i) row[i] = table.row(c)[i];
        row[inputs] = table.targets[c];
      },
      error);
}

inline double Reg16NetworkRms(int net, const Reg16& table) {
  return Reg16Rms(table, [&](const double* x, double& y) {
    return NRXRunNetwork(net, NRX_OUTPUT_DECODED, x, &y) == 1;
  });
}

}  // namespace tavrin::bench
