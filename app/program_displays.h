#pragma once

// The records behind the program's displays, rebuilt from the program's
// state before each refresh: the training graph (training_graph), the data
// set's spreadsheet (pattern_matrix) and scatter plot (pattern_scatter), the
// network drawing (net_display), its weight histogram (weight_bar), the
// cases' errors (pattern_bar) and the program's small spreadsheets.

#include <functional>
#include <string>

#include "canvas_source.h"
#include "data_set_matrix.h"
#include "display_data.h"
#include "program_matrices.h"
#include "program_state.h"
#include "su_parameter.h"
#include "weight_histogram.h"

namespace tavrin::app {

class ProgramDisplays {
 public:
  // `legends` is message 4021's options: "Training|Verification|...".
  ProgramDisplays(ProgramState& state, gui::ParameterTable& parameters, std::string legends);

  // Rebuilds the records and points each display's parameter at its own,
  // or at nothing while the program has nothing to show there.
  void Update();

  const gui::GraphData& training_graph() const { return training_graph_; }
  const gui::ScatterData& pattern_scatter() const { return pattern_scatter_; }
  ProgramMatrices& matrices() { return matrices_; }

 private:
  void UpdateTrainingGraph();
  void UpdateScatter();
  void Point(const char* name, void* data);

  ProgramState& state_;
  gui::ParameterTable& parameters_;
  std::string subset_legends_;
  std::string training_legend_;
  std::string verification_legend_;
  gui::GraphData training_graph_;
  DataSetMatrix pattern_matrix_;
  gui::ScatterData pattern_scatter_;
  // What the scatter plot was built from.
  struct ScatterChoice {
    const DataSet* data = nullptr;
    int cases = 0, variables = 0, x = 0, y = 0, group = 0, group_type = 0;
    bool operator==(const ScatterChoice&) const = default;
  };
  bool scatter_stale_ = true;
  ScatterChoice scatter_choice_;
  gui::CanvasSource net_display_;
  gui::WeightHistogram weights_;
  gui::BarChartData weight_bar_;
  gui::BarChartData pattern_bar_;
  ProgramMatrices matrices_;
};

}  // namespace tavrin::app
