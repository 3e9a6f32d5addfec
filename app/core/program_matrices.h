#pragma once

// The models behind the program's small spreadsheets: the new network's
// layer sizes and pre/post-processing, the network's weights, activations
// and scaling factors, one case's and the one-off case's inputs and outputs,
// the results of a run over every case, and the inputs input selection
// chose. Each reads the program's state
// when shown, so it follows what the actions change.

#include <functional>
#include <map>
#include <string>

#include "function_matrix.h"
#include "program_state.h"

namespace tavrin {
struct EngineState;
}

namespace tavrin::app {

class ProgramMatrices {
 public:
  // `network_changed` runs after a cell changed the network.
  ProgramMatrices(ProgramState& state, const EngineState& engine,
                  std::function<void()> network_changed);
  ProgramMatrices(const ProgramMatrices&) = delete;
  ProgramMatrices& operator=(const ProgramMatrices&) = delete;

  // Each matrix element's model by name, or null while the program has
  // nothing for it to show (no network for the network's matrices).
  gui::MatrixModel* Shown(const std::string& name);
  // Every matrix element's name.
  std::vector<std::string> Names() const;

 private:
  void AddDesignMatrices();
  void AddNetworkMatrices();
  void AddCaseMatrices();
  void AddInputMaskMatrix();
  void AddSensitivityMatrix();

  ProgramState& state_;
  const EngineState& engine_;
  std::function<void()> network_changed_;
  std::map<std::string, gui::FunctionMatrix, std::less<>> matrices_;
};

}  // namespace tavrin::app
