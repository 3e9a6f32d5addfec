#include "table_builder.h"

namespace tavrin::app {

// The best network kept by training, and the network set.
void AddNetworkSet(TableBuilder& b, NetworkSetValues& v) {
  using enum Availability;
  b.Switch("best_remember", v.best_remember).When(kNetwork);
  b.Switch("best_netbank", v.best_netbank);
  b.Real("best_training_error", v.best_training_error);
  b.Real("best_verification_error", v.best_verification_error);
  b.Real("best_unit_penalty", v.best_unit_penalty);
  b.Button("best_restore").Does(&ProgramActions::restore_best);
  b.Button("best_discard").Does(&ProgramActions::discard_best);
  b.Integer("netbank_maxnetworks", v.netbank_maxnetworks).When(kNetwork);
  b.Integer("netbank_nonetworks", v.netbank_nonetworks);
  b.Integer("netbank_currnetwork", v.netbank_currnetwork);
  b.Integer("netbank_replaceno", v.netbank_replaceno);
  b.Choice("netbank_whenfull", v.netbank_whenfull, kWhenFullPolicies);
  b.Switch("netbank_informwhenfull", v.netbank_informwhenfull);
  for (const char* name :
       {"netbank_addnet", "netbank_replacenet", "netbank_best", "netbank_options"}) {
    b.Button(name);
  }
  b.Display("netbank_matrix", gui::SuType::kMatrix).When(kNetwork);
  b.Choice("netbank_verbosity", v.netbank_verbosity, kNetworkSetVerbosity);
}

}  // namespace tavrin::app
