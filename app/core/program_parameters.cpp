#include "program_parameters.h"

#include <optional>

#include "availability.h"

namespace tavrin::app {
namespace {

using gui::SuParameter;
using gui::SuType;

struct Tool {
  const char* name;
  std::optional<Availability> available;
};

// The tool bar's buttons, in the table's order.
const Tool kTools[] = {{"tool_loadnet", {}},
                       {"tool_loadpat", {}},
                       {"tool_savenet", Availability::kNetwork},
                       {"tool_savepat", Availability::kData},
                       {"tool_commitnet", Availability::kNetwork},
                       {"tool_graph", Availability::kNetwork},
                       {"tool_bar", Availability::kNetwork},
                       {"tool_bp", Availability::kGradient},
                       {"tool_pat", Availability::kData},
                       {"tool_net", Availability::kNetwork},
                       {"tool_netbank", Availability::kNetwork},
                       {"tool_runone", Availability::kNetwork},
                       {"tool_class", Availability::kNominalOutput},
                       {"tool_regress", Availability::kNumericOutput},
                       {"tool_topo", Availability::kRadial},
                       {"tool_koho", Availability::kRadial},
                       {"tool_win", Availability::kRadial},
                       {"tool_runall", Availability::kNetwork},
                       {"tool_module", Availability::kHostPackage},
                       {"tool_wizard", Availability::kData},
                       {"tool_norm", Availability::kNetwork},
                       {"tool_stop", Availability::kNetwork},
                       {"tool_best", Availability::kNetwork},
                       {"tool_oneoff", Availability::kNetwork},
                       {"tool_rbf", Availability::kRadial},
                       {"tool_cgd", Availability::kGradient},
                       {"tool_qn", Availability::kGradient},
                       {"tool_act", {}},
                       {"tool_dbd", {}},
                       {"tool_newnet", {}},
                       {"tool_newpat", {}},
                       {"tool_prob", {}},
                       {"tool_qp", {}},
                       {"tool_reg", {}},
                       {"tool_savestat", {}},
                       {"tool_ua", {}},
                       {"tool_wdist", {}},
                       {"tool_weight", {}},
                       {"tool_ga", {}},
                       {"tool_pca", {}},
                       {"tool_weig", {}},
                       {"tool_lm", {}}};

}  // namespace

std::vector<SuParameter> ProgramParameters(const ProgramState& state, ShellValues& values,
                                           const ShellActions& actions) {
  std::vector<SuParameter> table;
  auto add = [&](std::string name, gui::SuValue value, gui::ChangeCallback change, SuType type,
                 std::optional<Availability> available = {}) {
    table.push_back({std::move(name), std::move(value), std::move(change), type,
                     available ? AvailableWhen(state, *available) : gui::AvailabilityCallback()});
  };
  for (const Tool& tool : kTools) {
    // Committing a network and starting the host package are actions of
    // their own, built with the network set and the host link.
    const bool own_action = std::string_view(tool.name) == "tool_commitnet" ||
                            std::string_view(tool.name) == "tool_module";
    add(tool.name, {}, own_action ? actions.not_available_yet : actions.open_window_named_by_prompt,
        SuType::kToolButton, tool.available);
  }
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    add(std::string("tool_") + letter, {}, actions.open_window_named_by_prompt,
        SuType::kToolButton);
  }
  add("tool_help", {}, nullptr, SuType::kWhatIf);

  add("file_exit", {}, actions.exit, SuType::kMenuItem);
  add("close", {}, actions.close_window, SuType::kButton);
  add("zzz_about", gui::SuDisplay{}, nullptr, SuType::kCanvas);
  add("webpage_clipboard", {}, actions.not_available_yet, SuType::kButton);
  add("webpage_address", &values.web_address, nullptr, SuType::kString);
  add("webpage_descrip", gui::SuDisplay{}, nullptr, SuType::kCanvas);
  for (const char* name : {"longvar_ok", "longvar_cancel", "longvar_options"}) {
    add(name, {}, actions.close_window, SuType::kButton);
  }
  add("longvar_suppress", &values.long_var_suppress, nullptr, SuType::kSwitch);
  add("longvar_message", gui::SuDisplay{}, nullptr, SuType::kCanvas);
  return table;
}

}  // namespace tavrin::app
