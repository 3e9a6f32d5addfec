#pragma once

// Pieces the training tests share: small supervised data sets and networks
// with chosen weights, built straight on the engine.

#include <memory>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "engine_state.h"
#include "network/network_builder.h"
#include "network_test_support.h"
#include "training/training_calls.h"
#include "training/training_settings.h"

namespace tavrin::testing {

// A data set with one row per case: inputs then outputs, all training.
inline std::unique_ptr<DataSet> MakeData(int inputs, int outputs,
                                         const std::vector<std::vector<double>>& rows) {
  auto data = CreateDataSet(inputs, outputs);
  EXPECT_TRUE(data);
  if (rows.size() > 1) {
    EXPECT_TRUE(ResizeCases(*data, 1, static_cast<int>(rows.size()) - 1));
  }
  for (std::size_t c = 0; c < rows.size(); ++c) {
    for (std::size_t v = 0; v < rows[c].size(); ++v) data->at(int(c), int(v)) = rows[c][v];
  }
  return data;
}

// A network of the kind and layer sizes whose variables pass through
// unchanged (conversion "None"), weights from the engine's generator, layer 1
// `width` units wide; with `classes` > 0 its one output variable is nominal,
// coded One-of-N (Kohonen in a Kohonen network).
inline std::unique_ptr<Network> MakeDesigned(DesignCode code, const std::vector<int>& units,
                                             int outputs, int classes = 0, int width = 1) {
  NetworkDesign d;
  d.design_code = code;
  d.no_layers = static_cast<int>(units.size());
  d.no_inputs = units.front();
  d.no_outputs = outputs;
  for (std::size_t l = 0; l < units.size(); ++l) d.units[l] = units[l];
  d.width[1] = width;
  d.variables.resize(d.no_inputs + d.no_outputs);
  for (DesignVariable& v : d.variables)
    v.conversion = static_cast<double>(ConversionFunction::kNone);
  if (classes > 0) {
    d.variables.back().conversion = static_cast<double>(
        code == DesignCode::kKohonen ? ConversionFunction::kKohonen : ConversionFunction::kOneOfN);
    for (int i = 0; i < classes; ++i)
      d.variables.back().nominals.push_back("c" + std::to_string(i));
  }
  DeriveLayerSizes(d);
  return BuildNetwork(d, Engine().random, Engine().reinitialisation);
}

inline std::unique_ptr<Network> MakeMlp(const std::vector<int>& units) {
  return MakeDesigned(DesignCode::kMlp, units, units.back());
}

inline void Begin(Network& net, DataSet& data, const TrainingSettings& settings = {}) {
  BeginTrainingCall(Engine(), &net, &data, settings);
}

inline IterativeSettings Epochs(int epochs, bool retain_best = false, bool verify = false) {
  IterativeSettings s;
  s.epochs = epochs;
  s.retain_best = retain_best;
  s.verify = verify;
  return s;
}

// The network whose steps can be worked by hand: one linear unit y = w x - t
// with w = t = 0, and one training case x = 1 -> 1.
class UnitNetworkTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    net_ = MakeMlp({1, 1});
    w() = 0.0;
    t() = 0.0;
    data_ = MakeData(1, 1, {{1.0, 1.0}});
  }
  double& w() { return net_->layers[1].connections[0].weights[0]; }
  double& t() { return net_->layers[1].thresholds[0]; }
  // Back propagation over the active pair at a constant rate, no momentum.
  bool Train(int epochs, double rate, bool retain_best = false, bool verify = false) {
    return static_cast<bool>(TrainBackPropagation(Engine(), Epochs(epochs, retain_best, verify),
                                                  false, rate, rate, 0, 0, 0));
  }

  std::unique_ptr<Network> net_;
  std::unique_ptr<DataSet> data_;
};

}  // namespace tavrin::testing
