#pragma once

// The part the gradient trainers share: the unit deltas and the layouts of
// their weight-shaped working arrays, made for a network of one shape and
// kept while the next call brings a network of the same shape.

#include <vector>

#include "training/gradient.h"
#include "training/trainer.h"

namespace tavrin {

class LayeredTrainer : public Trainer {
 public:
  Status StateInit(EngineState& engine, const Network& network) override;
  void StateRelease() override;

 protected:
  // Makes (zeroes) the trainer's own weight-shaped arrays of `values` doubles;
  // may throw std::bad_alloc.
  virtual void Allocate(EngineState& engine, std::size_t values) = 0;
  virtual void Release() = 0;

  WeightLayout weights_;
  UnitLayout units_;
  std::vector<double> deltas_;

 private:
  bool allocated_ = false;
};

}  // namespace tavrin
