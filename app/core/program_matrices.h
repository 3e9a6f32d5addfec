#pragma once

// The models behind the program's small spreadsheets: the new network's
// layer sizes and pre/post-processing, the network's weights, activations
// and scaling factors, one case's and the one-off case's inputs and outputs,
// and the results of a run over every case. Each reads the program's state
// when shown, so it follows what the actions change.

#include <functional>
#include <map>
#include <string>

#include "function_matrix.h"
#include "program_state.h"

namespace tavrin {
struct RunAllResults;
}

namespace tavrin::app {

class ProgramMatrices {
 public:
  // `network_changed` runs after a cell changed the network.
  ProgramMatrices(ProgramState& state, const RunAllResults& run_all,
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

  ProgramState& state_;
  const RunAllResults& run_all_;
  std::function<void()> network_changed_;
  std::map<std::string, gui::FunctionMatrix, std::less<>> matrices_;
};

}  // namespace tavrin::app
