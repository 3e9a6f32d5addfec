#include "training/lvq.h"

#include <cmath>

#include "common/vector_kernels.h"
#include "engine_state.h"
#include "training/radial_layer.h"

namespace tavrin {
namespace {

constexpr double kDivergenceLimit = 1.0e20;

// c = a c + b x coordinate by coordinate; false, with the coordinates before
// it already changed, when a scaled coordinate leaves the divergence limit.
bool Step(double* c, const double* x, int n, double a, double b) {
  for (int i = 0; i < n; ++i) {
    const double scaled = a * c[i];
    if (scaled > kDivergenceLimit || scaled < -kDivergenceLimit) return false;
    c[i] = scaled + b * x[i];
  }
  return true;
}

}  // namespace

Status Lvq::StateInit(EngineState& engine, const Network& net) {
  if (!CheckRadialNetwork(&net)) return Status::Failed();
  output_variable_ = engine.active_data_set ? FirstOutputVariable(*engine.active_data_set) : -1;
  if (output_variable_ < 0) return Fail(kLvqNoDataOutput);
  return Status::Ok();
}

bool Lvq::CaseClass(const EngineState& engine, double* q) const {
  const DataSet& data = *engine.active_data_set;
  const int c = engine.training.current_case;
  if (c < 0 || c >= data.no_cases) return false;
  const double value = data.at(c, output_variable_);
  if (IsMissing(value)) return false;
  *q = std::trunc(value);
  return true;
}

Lvq::Scan Lvq::ScanUnits(const Network& net, const double* x, bool known, double q) {
  const Layer& layer = net.layers[1];
  const Connection& centres = layer.connections[0];
  Scan scan;
  for (int u = 0; u < layer.no_units; ++u) {
    if (layer.classes[u] == -1.0) continue;
    const double d = SquaredDistance(centres.row(u), x, centres.no_from);
    if (scan.f < 0 || d < scan.d1) {
      scan.s = scan.f;
      scan.d2 = scan.d1;
      scan.f = u;
      scan.d1 = d;
    } else if (scan.s < 0 || d < scan.d2) {
      scan.s = u;
      scan.d2 = d;
    }
    if (known && layer.classes[u] == q && (!scan.seen_q || d < scan.dq)) {
      scan.dq = d;
      scan.seen_q = true;
    }
    if (d > scan.dmax) scan.dmax = d;
  }
  if (scan.s < 0) {
    scan.s = scan.f;
    scan.d2 = scan.d1;
  }
  return scan;
}

double Lvq::TrainCase(EngineState& engine, Network& net, const double* x) {
  double q = 0.0;
  const bool known = CaseClass(engine, &q);
  const Scan scan = ScanUnits(net, x, known, q);
  if (!known || scan.f < 0) return scan.error();

  Layer& layer = net.layers[1];
  Connection& centres = layer.connections[0];
  const int n = centres.no_from;
  const double eta = engine.training.learning_rate.current;
  const AlgorithmSettings& settings = engine.algorithms;
  const double beta_eta = settings.lvq_beta * eta;
  const double epsilon = settings.lvq_epsilon;
  const bool f_is_q = layer.classes[scan.f] == q;
  const bool s_is_q = layer.classes[scan.s] == q;
  const auto towards = [&](int u) { return Step(centres.row(u), x, n, 1.0 - eta, eta); };
  const auto away = [&](int u) { return Step(centres.row(u), x, n, 1.0 + eta, -eta); };
  const auto pair = [&] {
    const int right = f_is_q ? scan.f : scan.s;
    const int wrong = f_is_q ? scan.s : scan.f;
    return towards(right) && away(wrong);
  };

  bool kept = true;
  const double ratio = scan.d1 / scan.d2;
  switch (settings.lvq_method) {
    case 0:
      kept = f_is_q ? towards(scan.f) : away(scan.f);
      break;
    case 1:
      if (scan.s == scan.f || !(f_is_q || s_is_q)) break;
      if (!(ratio > (1.0 - epsilon) * (1.0 + epsilon))) break;
      if (layer.classes[scan.f] == layer.classes[scan.s]) {
        kept = Step(centres.row(scan.f), x, n, 1.0 - beta_eta, beta_eta) &&
               Step(centres.row(scan.s), x, n, 1.0 - beta_eta, beta_eta);
      } else {
        kept = pair();
      }
      break;
    case 2:
      if (scan.s == scan.f || f_is_q == s_is_q) break;
      if (1.0 - epsilon < ratio && scan.d2 / scan.d1 < 1.0 + epsilon) kept = pair();
      break;
    default:
      break;
  }
  if (!kept) {
    engine.training.abort = true;
    RecordError(kLvqDivergence);
    return 0.0;
  }
  return scan.error();
}

double Lvq::EvaluateCase(EngineState& engine, Network& net, const double* x, int /*input_size*/,
                         int /*target_size*/) {
  double q = 0.0;
  const bool known = CaseClass(engine, &q);
  return ScanUnits(net, x, known, q).error();
}

}  // namespace tavrin
