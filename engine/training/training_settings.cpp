#include "training/training_settings.h"

#include <cmath>
#include <string>

namespace tavrin {
namespace {

bool IsNumberAtLeastZero(double value) {
  return std::isfinite(value) && value >= 0.0;
}

}  // namespace

Status SetStoppingConditions(TrainingSettings& settings, std::int32_t window, double target_error,
                             double target_verification_error, double error_improvement,
                             double verification_improvement) {
  // A NaN target or improvement never compares true, and a negative window
  // stops at once: either would leave the run doing something else than asked.
  if (window < 0) return Fail(kStoppingWindowNegative);
  for (double value :
       {target_error, target_verification_error, error_improvement, verification_improvement}) {
    if (std::isnan(value)) return Fail(kStoppingConditionNotANumber);
  }
  settings.window = window;
  settings.target_error = target_error;
  settings.target_verification_error = target_verification_error;
  settings.error_improvement = error_improvement;
  settings.verification_improvement = verification_improvement;
  return Status::Ok();
}

Status SetWeigend(TrainingSettings& settings, double lambda, double scale) {
  // The penalty divides by w^2 + scale: a scale of 0 or below would divide
  // by 0 and leave every later error NaN.
  if (!IsNumberAtLeastZero(lambda)) return Fail(kWeigendLambdaOutOfRange);
  if (!IsNumberAtLeastZero(scale) || scale == 0.0) return Fail(kWeigendScaleOutOfRange);
  settings.weigend_lambda = lambda;
  settings.weigend_scale = scale;
  return Status::Ok();
}

Status CheckTrainingValues(std::initializer_list<NamedValue> values) {
  for (const NamedValue& v : values) {
    if (!std::isfinite(v.value)) return Fail(std::string(v.name) + " is not a finite number");
  }
  return Status::Ok();
}

}  // namespace tavrin
