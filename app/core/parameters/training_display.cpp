#include <algorithm>

#include "table_builder.h"

namespace tavrin::app {

void AddTrainingDisplay(TableBuilder& b, TrainingDisplayValues& v) {
  using enum Availability;
  using gui::SuType;
  b.Display("training_graph", SuType::kGraph).When(kNetwork);
  b.Button("clear_training_graph").Does(&ProgramActions::clear_training_graph);
  b.Text("training_graph_label", v.training_graph_label);
  b.Integer("training_graph_interval", v.training_graph_interval)
      .OnChange([&interval = v.training_graph_interval](gui::SuParameter&) {
        interval = std::max(interval, 1);
        return 1;
      });
  b.Real("training_error", v.training_error);
  b.Real("verification_error", v.verification_error);
  b.Real("test_error", v.test_error);
  b.Display("pattern_bar", SuType::kBarChart).When(kNetwork);
  b.Button("pattern_error_update");
  b.Switch("pattern_error_real_time", v.pattern_error_real_time);
  b.Display("weight_bar", SuType::kBarChart).When(kNetwork);
  b.Button("weight_bar_update");
  b.Switch("weight_bar_real_time", v.weight_bar_real_time);
  b.Display("net_activations_bar", SuType::kBarChart);
  b.Real("net_activations_barmax", v.net_activations_barmax);
}

}  // namespace tavrin::app
