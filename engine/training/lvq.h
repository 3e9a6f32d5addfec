#pragma once

// Learned vector quantisation on the radial layer 1. A case's class q is the
// truncated value of the data set's first output variable; a unit's label is
// its class, and units labelled -1 take no part. For each case the scan finds
// f and s, the nearest and second-nearest units (the lower unit on equal
// distances, so the unit numbering decides nothing else), their squared
// distances d1 <= d2, dq the least distance of a unit labelled q, and dmax the
// largest. Moves, with eta the run's rate: towards c = (1 - eta) c + eta x,
// away c = (1 + eta) c - eta x, towards by beta with beta x eta for eta.
//   method 0: f towards when labelled q, else away;
//   method 1: when f or s is labelled q and d1 / d2 > (1 - epsilon)(1 + epsilon):
//             both towards by beta when their labels agree, else the one
//             labelled q towards and the other away;
//   method 2: when exactly one of f, s is labelled q, 1 - epsilon < d1 / d2 and
//             d2 / d1 < 1 + epsilon: that one towards, the other away.
// A case whose class is missing moves nothing. A case's error is dq, or dmax
// when no unit is labelled q. A coordinate whose scaled value leaves
// +-1.0e20 aborts the run with the LVQ divergence message.
// Working state: the data set's output variable, found at the start.

#include "training/trainer.h"

namespace tavrin {

class Lvq : public Trainer {
 public:
  Algorithm algorithm() const override { return Algorithm::kLvq; }
  std::string_view history_code() const override { return "LV"; }
  Status StateInit(EngineState& engine, const Network& network) override;
  double TrainCase(EngineState& engine, Network& network, const double* case_vector) override;
  double EvaluateCase(EngineState& engine, Network& network, const double* case_vector,
                      int input_size, int target_size) override;

 private:
  struct Scan {
    int f = -1;
    int s = -1;
    double d1 = 0.0;
    double d2 = 0.0;
    double dq = 0.0;
    bool seen_q = false;
    double dmax = 0.0;

    double error() const { return seen_q ? dq : dmax; }
  };

  // Sets *q to the current case's class; false when that is missing.
  bool CaseClass(const EngineState& engine, double* q) const;
  static Scan ScanUnits(const Network& network, const double* x, bool known, double q);

  int output_variable_ = -1;
};

}  // namespace tavrin
