#include "table_builder.h"

namespace tavrin::app {

void AddNetworkDesign(TableBuilder& b, NetworkDesignValues& v) {
  b.Integer("newnet_inputs", v.newnet_inputs);
  b.Integer("newnet_outputs", v.newnet_outputs);
  b.Integer("newnet_steps", v.newnet_steps);
  b.Integer("newnet_lookahead", v.newnet_lookahead);
  b.Integer("newnet_no_layers", v.newnet_no_layers);
  b.Choice("newnet_type", v.newnet_type, kDesignKinds);
  b.Display("newnet_prepost_matrix", gui::SuType::kMatrix);
  b.Display("no_layers_matrix", gui::SuType::kMatrix);
  b.Button("newnet_advise").Does(&ProgramActions::advise_design);
  b.Button("newnet_commit").Does(&ProgramActions::create_network);
}

}  // namespace tavrin::app
