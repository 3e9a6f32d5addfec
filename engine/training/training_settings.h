#pragma once

#include <cstdint>

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

}  // namespace tavrin
