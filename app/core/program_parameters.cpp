#include "program_parameters.h"

#include "parameters/table_builder.h"

namespace tavrin::app {

ProgramTable ProgramParameters(ProgramState& state, const ProgramActions& actions) {
  ProgramValues& v = state.values;
  TableBuilder b(state, actions);
  AddToolBar(b);
  AddMenuCommands(b);
  AddNetworkDesign(b, v.design);
  AddGradientTraining(b, v.gradient);
  AddRadialTraining(b, v.radial, v.gradient);
  AddTrainingDisplay(b, v.display);
  AddNetworkSet(b, v.network_set);
  AddNetworkEditing(b, v.editing);
  AddRunningNetworks(b, v.running);
  AddDataEditing(b, v.data);
  AddInputSelection(b, v.input_selection);
  AddProblemSolver(b, v.solver);
  AddShell(b, v.shell);
  return b.Take();
}

}  // namespace tavrin::app
