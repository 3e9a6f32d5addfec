#include "training/layered_trainer.h"

#include <new>

namespace tavrin {

Status LayeredTrainer::StateInit(EngineState& engine, const Network& net) {
  try {
    WeightLayout weights = MakeWeightLayout(net);
    UnitLayout units = MakeUnitLayout(net);
    if (allocated_ && weights.layer_offset == weights_.layer_offset &&
        weights.stride == weights_.stride && units.total == units_.total) {
      return Status::Ok();
    }
    deltas_.assign(units.total, 0.0);
    Allocate(engine, weights.total);
    weights_ = std::move(weights);
    units_ = std::move(units);
  } catch (const std::bad_alloc&) {
    StateRelease();
    return Fail(kNotEnoughMemory);
  }
  allocated_ = true;
  return Status::Ok();
}

void LayeredTrainer::StateRelease() {
  deltas_ = std::vector<double>();
  weights_ = WeightLayout();
  units_ = UnitLayout();
  allocated_ = false;
  Release();
}

}  // namespace tavrin
