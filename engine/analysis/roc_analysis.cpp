#include "analysis/roc_analysis.h"

#include <algorithm>
#include <new>

#include "common/messages.h"
#include "common/missing.h"
#include "engine_state.h"
#include "network/scale_factors.h"
#include "training/case_source.h"
#include "training/gradient.h"

namespace tavrin {
namespace {

double Midpoint(double a, double b) {
  return 0.5 * (a + b);
}

bool Selected(const RocSettings& s, std::int32_t subset) {
  switch (static_cast<Subset>(subset)) {
    case Subset::kTraining:
      return s.training;
    case Subset::kVerification:
      return s.verification;
    case Subset::kTest:
      return s.test;
    default:
      return false;
  }
}

}  // namespace

double RocThreshold(const std::vector<ScoredCase>& c, double loss) {
  double p = 0.0;
  double n = 0.0;
  for (const ScoredCase& x : c) {
    if (x.target == 2.0) p += 1.0;
    if (x.target == 1.0) n += 1.0;
  }
  if (p == 0.0 || n == 0.0) return p > 0.0 ? 1.0 : 0.0;
  // A counts first-class cases scanned, B all others; the primed counts
  // stand at the last change of score.
  double a = 0.0, b = 0.0, a1 = 0.0, b1 = 0.0;
  std::size_t s1 = 0;
  const std::size_t last = c.size() - 1;
  for (std::size_t s = 0; s < c.size(); ++s) {
    (c[s].target == 1.0 ? a : b) += 1.0;
    if (c[s].score != c[s1].score) {
      s1 = s;
      a1 = a;
      b1 = b;
    }
    if (!(p * loss * (n - a) < n * b)) continue;
    if (s < 2) return c[s].score;
    if (c[s - 1].score != c[s].score) return Midpoint(c[s - 1].score, c[s].score);
    // Inside a run of equal scores: take the whole run or none of it,
    // whichever costs less.
    double a2 = a, b2 = b;
    std::size_t r = s;
    for (; r < c.size() && c[r].score == c[s].score; ++r) (c[r].target == 1.0 ? a2 : b2) += 1.0;
    r = std::min(r, last);
    if (a2 * n - p * loss * b2 <= a1 * n - p * loss * b1) return Midpoint(c[r].score, c[s].score);
    return s1 > 0 ? Midpoint(c[s1 - 1].score, c[s].score) : c[s - 1].score;
  }
  return c[last].score;
}

Status AnalyseRoc(EngineState& engine, const RocSettings& settings, RocResult* result) {
  Network* net = engine.active_network;
  const DataSet* data = engine.active_data_set;
  if (!data) return Fail(kNoActiveDataSet);
  if (!net) return Fail(kNoActiveNetwork);
  if (!VariablesAgree(net->coding, *data, false)) return Fail(kInputMismatch);
  const VariableCoding& coding = net->coding;
  if (coding.no_outputs < 1 ||
      coding.conversion[coding.no_inputs] != static_cast<double>(ConversionFunction::kTwoState)) {
    return Fail(kRocNeedsTwoState);
  }
  int target_column = -1;
  for (int v = 0; v < data->no_variables && target_column < 0; ++v) {
    if (data->is_output[v]) target_column = v;
  }
  try {
    CaseSource source;
    if (!source.Prepare(*net, *data, false)) return Status::Failed();
    std::vector<ScoredCase> cases;
    RandomGenerator unused;
    for (int c = 0; c < data->no_cases; ++c) {
      if (!Selected(settings, data->subset[c])) continue;
      const double* v = source.Load(c);
      if (!v) continue;
      LoadCase(*net, v, source.input_size(), 0.0, unused);
      const double score = net->output_layer().activations[0];
      if (score != score) continue;  // no place in the ranking
      const double target = target_column < 0 ? MISSING : data->at(c, target_column);
      cases.push_back({score, target});
    }
    ClearActivations(*net);
    std::stable_sort(cases.begin(), cases.end(),
                     [](const ScoredCase& x, const ScoredCase& y) { return x.score > y.score; });
    result->area = RocArea(cases);
    result->threshold = RocThreshold(cases, settings.loss_ratio);
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  return Status::Ok();
}

}  // namespace tavrin
