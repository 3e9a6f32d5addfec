#include "analysis/network_summary.h"

#include "analysis/run_all.h"
#include "engine_state.h"

namespace tavrin {

Status SummariseNetwork(EngineState& engine, Network& network, DataSet* data,
                        NetworkSummary& summary) {
  NetworkSummary s = StructureSummary(network);
  if (data != nullptr) {
    engine.active_network = &network;
    engine.active_data_set = data;
    if (!RunAll(engine, RunAllMode::kOutputs, 1).ok()) return Status::Failed();
    const RunAllResults& r = engine.run_all;
    s.training_error = r.subset_errors[0];
    s.verification_error = r.subset_errors[1];
    s.test_error = r.subset_errors[2];
    double* performances[kSubsetCount] = {&s.training_performance, &s.verification_performance,
                                          &s.test_performance};
    const bool classifies =
        network.coding.no_outputs > 0 && network.coding.is_nominal(network.coding.no_inputs);
    for (int subset = 0; subset < kSubsetCount && r.targets_available; ++subset) {
      if (classifies) {
        if (r.has_matrix[subset]) *performances[subset] = r.matrices[subset].Proportion();
      } else if (!r.regression.empty()) {
        *performances[subset] = r.regression[0][subset].sd_ratio;
      }
    }
  }
  summary = s;
  return Status::Ok();
}

}  // namespace tavrin
