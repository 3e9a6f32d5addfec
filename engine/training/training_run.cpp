#include "training/training_run.h"

namespace tavrin {

void TrainingRun::Apply(const TrainingSettings& s) {
  stop_error_threshold = s.target_error;
  stop_verification_threshold = s.target_verification_error;
  stop_error_delta = s.error_improvement;
  stop_verification_delta = s.verification_improvement;
  stop_error_window = s.window;
  epochs = s.epochs;
  retain_best = s.retain_best != 0;
  weigend_lambda = s.weigend_lambda;
  weigend_scale = s.weigend_scale;
}

}  // namespace tavrin
