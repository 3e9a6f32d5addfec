#include "table_builder.h"

namespace tavrin::app {

// The problem-solver wizard.
void AddProblemSolver(TableBuilder& b, ProblemSolverValues& v) {
  using gui::SuType;
  for (const char* name : {"ips_back", "ips_next", "ips_finish", "ips_multiple_output"}) {
    b.Button(name);
  }
  b.Text("ips_banner", v.ips_banner);
  b.Choice("ips_version", v.ips_version, kSolverVersions);
  b.Choice("ips_ts", v.ips_ts, kNoYes);
  b.Choice("ips_verify", v.ips_verify, kSolverSubsets);
  b.Choice("ips_search_type", v.ips_search_type, kSolverSearches);
  b.Choice("ips_winners", v.ips_winners, kSolverWinners);
  b.Choice("ips_netbank_full", v.ips_netbank_full, kSolverSetPolicies);
  b.Choice("ips_twoclass", v.ips_twoclass, kTwoClassOutputs);
  b.Display("ips_input_selection", SuType::kMultiList);
  b.Display("ips_multiple_output_selection", SuType::kMultiList);
  b.Display("ips_output_selection", SuType::kList);
  b.Text("ips_input_selection_text", v.ips_input_selection_text);
  b.Text("ips_multiple_output_selection_text", v.ips_multiple_output_selection_text);
  b.Switch("ips_feature_select", v.ips_feature_select);
  b.Switch("ips_ignore_missing", v.ips_ignore_missing);
  b.Switch("ips_mlp3", v.ips_mlp3);
  b.Switch("ips_mlp4", v.ips_mlp4);
  b.Switch("ips_rbf", v.ips_rbf);
  b.Switch("ips_linear", v.ips_linear);
  b.Switch("ips_bayesian", v.ips_bayesian);
  b.Switch("ips_netsize", v.ips_netsize);
  b.Switch("ips_runall", v.ips_runall);
  b.Switch("ips_stats", v.ips_stats);
  b.Switch("ips_sensitivity", v.ips_sensitivity);
  b.Switch("ips_roc", v.ips_roc);
  b.Switch("ips_ts_proj", v.ips_ts_proj);
  b.Integer("ips_ts_steps", v.ips_ts_steps);
  b.Integer("ips_tpats", v.ips_tpats);
  b.Integer("ips_vpats", v.ips_vpats);
  b.Integer("ips_xpats", v.ips_xpats);
  b.Integer("ips_mlp3_hidden", v.ips_mlp3_hidden);
  b.Integer("ips_mlp4_hidden1", v.ips_mlp4_hidden1);
  b.Integer("ips_mlp4_hidden2", v.ips_mlp4_hidden2);
  b.Integer("ips_rbf_hidden", v.ips_rbf_hidden);
  b.Integer("ips_hours", v.ips_hours);
  b.Integer("ips_minutes", v.ips_minutes);
  b.Integer("ips_maximum_networks", v.ips_maximum_networks);
  b.Real("ips_accept_2", v.ips_accept_2);
  b.Real("ips_reject_2", v.ips_reject_2);
  b.Real("ips_accept_n", v.ips_accept_n);
  b.Real("ips_reject_n", v.ips_reject_n);
  b.Display("ips_messages", SuType::kTextViewer);
}

}  // namespace tavrin::app
