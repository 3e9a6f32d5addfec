#include "table_builder.h"

namespace tavrin::app {

void AddRadialTraining(TableBuilder& b, RadialTrainingValues& v, GradientTrainingValues& gradient) {
  using enum Availability;
  using gui::SuType;
  b.Real("start_neighbourhood", v.start_neighbourhood);
  b.Real("end_neighbourhood", v.end_neighbourhood);
  // The Kohonen window's shuffle: no lookup finds this second entry, so a
  // definition of either binds the first; both hold the one engine flag.
  b.Switch("shuffle", gradient.shuffle);
  b.Real("lvq_epsilon", v.lvq_epsilon);
  b.Real("lvq_beta", v.lvq_beta);
  b.Choice("lvq_type", v.lvq_type, kLvqMethods);
  b.Real("deviation", v.deviation);
  b.Integer("knearest_neighbours", v.knearest_neighbours);
  b.Real("probabilistic_smoothing", v.probabilistic_smoothing);
  b.Display("probabilistic_priors_matrix", SuType::kMatrix).When(kProbabilistic);
  b.Display("probabilistic_loss_matrix", SuType::kMatrix);
  b.Display("pca_matrix", SuType::kMatrix).When(kDotFirst);
  b.Button("kohonen_train").When(kRadial);
  b.Button("kohonen_reinit");
  b.Button("lvq_train").When(kRadial);
  b.Button("sample_center").When(kRadial);
  for (const char* name : {"kmeans_center", "explicit_deviation", "isotropic_deviation",
                           "knearest_deviation", "rbf_train", "probabilistic_train"}) {
    b.Button(name);
  }
  b.Button("regression_train").When(kRegression);
  b.Button("pca_train");
  b.Integer("topo_pattern_no", v.topo_pattern_no);
  b.Integer("topo_unit_no", v.topo_unit_no);
  b.Text("topo_pattern_name", v.topo_pattern_name);
  b.Text("topo_unit_name", v.topo_unit_name);
  b.Real("topo_activation", v.topo_activation);
  b.Button("topo_run");
  b.Display("topo_map", SuType::kCanvas).When(kRadial);
  b.Display("win_frequency_matrix", SuType::kMatrix).When(kRadial);
  b.Choice("win_frequency_contents", v.win_frequency_contents, kWinFrequencyLayers);
  b.Button("run_win_frequency");
  b.Switch("att_unit_match", v.att_unit_match);
  b.Button("att_to_unit");
  b.Button("unit_to_att");
}

}  // namespace tavrin::app
