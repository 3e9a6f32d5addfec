#include <string>

#include "table_builder.h"

namespace tavrin::app {

void AddToolBar(TableBuilder& b) {
  using enum Availability;
  b.ToolButton("tool_loadnet");
  b.ToolButton("tool_loadpat");
  b.ToolButton("tool_savenet").When(kNetwork);
  b.ToolButton("tool_savepat").When(kData);
  // Committing a network and starting the host package are actions of their
  // own, built with the network set and the host link.
  b.ToolButton("tool_commitnet").When(kNetwork).Does(&ProgramActions::not_available_yet);
  b.ToolButton("tool_graph").When(kNetwork);
  b.ToolButton("tool_bar").When(kNetwork);
  b.ToolButton("tool_bp").When(kGradient);
  b.ToolButton("tool_pat").When(kData);
  b.ToolButton("tool_net").When(kNetwork);
  b.ToolButton("tool_netbank").When(kNetwork);
  b.ToolButton("tool_runone").When(kNetwork);
  b.ToolButton("tool_class").When(kNominalOutput);
  b.ToolButton("tool_regress").When(kNumericOutput);
  b.WhatIf("tool_help");
  b.ToolButton("tool_topo").When(kRadial);
  b.ToolButton("tool_koho").When(kRadial);
  b.ToolButton("tool_win").When(kRadial);
  b.ToolButton("tool_runall").When(kNetwork);
  b.ToolButton("tool_module").When(kHostPackage).Does(&ProgramActions::not_available_yet);
  b.ToolButton("tool_wizard").When(kData);
  b.ToolButton("tool_norm").When(kNetwork);
  b.ToolButton("tool_stop").When(kNetwork);
  b.ToolButton("tool_best").When(kNetwork);
  b.ToolButton("tool_oneoff").When(kNetwork);
  b.ToolButton("tool_rbf").When(kRadial);
  b.ToolButton("tool_cgd").When(kGradient);
  b.ToolButton("tool_qn").When(kGradient);
  for (const char* name :
       {"tool_act", "tool_dbd", "tool_newnet", "tool_newpat", "tool_prob", "tool_qp", "tool_reg",
        "tool_savestat", "tool_ua", "tool_wdist", "tool_weight"}) {
    b.ToolButton(name);
  }
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    b.ToolButton((std::string("tool_") + letter).c_str());
  }
  for (const char* name : {"tool_ga", "tool_pca", "tool_weig", "tool_lm"}) b.ToolButton(name);
}

}  // namespace tavrin::app
