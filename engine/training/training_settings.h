#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "common/messages.h"
#include "common/status.h"

namespace tavrin {

// Stopping conditions and the Weigend terms kept per network slot, copied
// into the run at the start of every library training call.
struct TrainingSettings {
  double target_error = 0.0;
  double target_verification_error = 0.0;
  double error_improvement = 0.0;
  double verification_improvement = 0.0;
  std::int32_t window = 0;
  std::int32_t epochs = 100;
  std::int32_t retain_best = 1;
  double weigend_lambda = 0.0;
  double weigend_scale = 1.0;
};

// Store the values, or refuse them (changing nothing) with the messages above.
[[nodiscard]] Status SetStoppingConditions(TrainingSettings& settings, std::int32_t window,
                                           double target_error, double target_verification_error,
                                           double error_improvement,
                                           double verification_improvement);
[[nodiscard]] Status SetWeigend(TrainingSettings& settings, double lambda, double scale);

// A trainer's real setting with the name its refusal gives it.
struct NamedValue {
  std::string_view name;
  double value;
};

// Refuses the first value that is NaN or infinite with "<name> is not a
// finite number": such a rate or noise would ruin the weights in one step.
[[nodiscard]] Status CheckTrainingValues(std::initializer_list<NamedValue> values);

}  // namespace tavrin
