#include "training/trainer.h"

#include "training/back_propagation.h"
#include "training/batch_trainer.h"
#include "training/conjugate_gradients.h"
#include "training/gradient.h"
#include "training/kohonen.h"
#include "training/levenberg_marquardt.h"
#include "training/lvq.h"
#include "training/quasi_newton.h"

namespace tavrin {

double Trainer::EvaluateCase(EngineState& /*engine*/, Network& net, const double* v, int input_size,
                             int target_size) {
  return tavrin::EvaluateCase(net, v, input_size, target_size);
}

std::unique_ptr<Trainer> MakeTrainer(Algorithm algorithm) {
  switch (algorithm) {
    case Algorithm::kBackPropagation:
      return std::make_unique<BackPropagation>();
    case Algorithm::kQuickPropagation:
      return std::make_unique<QuickPropagation>();
    case Algorithm::kDeltaBarDelta:
      return std::make_unique<DeltaBarDelta>();
    case Algorithm::kModelTrust:
      return std::make_unique<ModelTrust>();
    case Algorithm::kConjugateGradients:
      return std::make_unique<ConjugateGradients>();
    case Algorithm::kQuasiNewton:
      return std::make_unique<QuasiNewton>();
    case Algorithm::kLevenbergMarquardt:
      return std::make_unique<LevenbergMarquardt>();
    case Algorithm::kKohonen:
      return std::make_unique<Kohonen>();
    case Algorithm::kLvq:
      return std::make_unique<Lvq>();
  }
  return nullptr;
}

}  // namespace tavrin
