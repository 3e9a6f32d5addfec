#include "training/trainer.h"

#include "training/back_propagation.h"
#include "training/batch_trainer.h"

namespace tavrin {

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
  }
  return nullptr;
}

}  // namespace tavrin
