#include "table_builder.h"

namespace tavrin::app {

void AddGradientTraining(TableBuilder& b, GradientTrainingValues& v) {
  using enum Availability;
  b.Real("start_eta", v.start_eta);
  b.Real("end_eta", v.end_eta);
  b.Long("epochs", v.epochs);
  b.Real("start_momentum", v.start_momentum);
  b.Real("end_momentum", v.end_momentum);
  b.Real("training_noise", v.training_noise);
  b.Switch("shuffle", v.shuffle);
  b.Real("quickprop_nudge", v.quickprop_nudge);
  b.Real("quickprop_accel", v.quickprop_accel).When(kGradient);
  b.Real("dbd_increment", v.dbd_increment).When(kGradient);
  b.Real("dbd_decay", v.dbd_decay);
  b.Real("dbd_smoothing", v.dbd_smoothing);
  b.Real("newton_tolerance", v.newton_tolerance);
  b.Real("levenberg_ratio", v.levenberg_ratio);
  b.Real("weigend_lambda", v.weigend_lambda).When(kGradient);
  b.Real("weigend_scale", v.weigend_scale);
  b.Real("weigend_fanout", v.weigend_fanout);
  b.Real("stop_error_threshold", v.stop_error_threshold).When(kNetwork);
  b.Real("stop_verification_threshold", v.stop_verification_threshold);
  b.Real("stop_error_delta", v.stop_error_delta);
  b.Real("stop_verification_delta", v.stop_verification_delta);
  b.Integer("stop_error_window", v.stop_error_window);
  using A = ProgramActions;
  b.Button("backprop_train").When(kGradient).Does(&A::train_back_propagation);
  b.Button("quickprop_train").Does(&A::train_quick_propagation);
  b.Button("modeltrust_train").When(kGradient).Does(&A::train_model_trust);
  b.Button("dbd_train").Does(&A::train_delta_bar_delta);
  b.Button("conjugate_train").When(kGradient).Does(&A::train_conjugate_gradients);
  b.Button("newton_train").When(kGradient).Does(&A::train_quasi_newton);
  b.Button("levenberg_train").When(kGradient).Does(&A::train_levenberg_marquardt);
  for (const char* name : {"backprop_jog", "quickprop_jog", "dbd_jog"})
    b.Button(name).Does(&A::jog);
  for (const char* name : {"backprop_reinit", "quickprop_reinit", "dbd_reinit"}) {
    b.Button(name).Does(&A::reinitialise);
  }
  for (const char* name : {"weigend_prune_hidden", "weigend_prune_input"}) {
    b.Button(name).Does(&A::prune);
  }
  b.Button("stop").Does(&ProgramActions::stop);
}

}  // namespace tavrin::app
