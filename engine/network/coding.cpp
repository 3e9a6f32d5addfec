#include "network/coding.h"

#include <cmath>
#include <set>

#include "common/missing.h"

namespace tavrin {
namespace {

constexpr double kOneOfN = static_cast<double>(ConversionFunction::kOneOfN);
constexpr double kTwoState = static_cast<double>(ConversionFunction::kTwoState);
constexpr double kKohonenCode = static_cast<double>(ConversionFunction::kKohonen);

// The 0-based unit a value number selects among n units, or -1 when the value
// is missing or not a value number 1 .. min(k, n).
int NominalIndex(double x, int k, int n) {
  if (IsMissing(x) || !(x >= 1.0) || x > k || x > n) return -1;
  if (x != std::floor(x)) return -1;
  return static_cast<int>(x) - 1;
}

// Whether a raw value can be coded as it is: not missing, a number, and for a
// nominal variable one of its value numbers; anything else counts as missing.
bool Usable(const VariableCoding& c, int v, double x) {
  if (IsMissing(x) || std::isnan(x)) return false;
  const int k = c.no_nominals(v);
  return k == 0 || NominalIndex(x, k, k) >= 0;
}

int Winner(const double* y, int n, bool largest) {
  int winner = 0;
  for (int i = 1; i < n; ++i) {
    if (largest ? y[i] > y[winner] : y[i] < y[winner]) winner = i;
  }
  return winner;
}

double ClassifyOneOfN(const VariableCoding& c, const double* y, int n) {
  const bool confidence = c.classify_by != 0;
  const int w = Winner(y, n, confidence);
  if (confidence ? !(y[w] >= c.accept) : !(y[w] <= c.accept)) return MISSING;
  for (int i = 0; i < n; ++i) {
    if (i == w) continue;
    if (confidence ? !(y[i] <= c.reject) : !(y[i] >= c.reject)) return MISSING;
  }
  return w + 1.0;
}

double ClassifyTwoState(const VariableCoding& c, double y) {
  if (c.classify_by != 0) {
    if (y >= c.accept) return 2.0;
    if (y < c.reject) return 1.0;
    return MISSING;
  }
  if (y <= c.accept) return 2.0;
  if (y <= c.reject) return MISSING;
  return 1.0;
}

// A nominal value number carried through the linear map, accepted only when it
// rounds within `accept` of one value number 1 .. k.
double DecodeNominalLinear(const VariableCoding& c, int v, double y) {
  const double u = (y - c.shift[v]) / c.scale[v];
  const double h = (c.accept < 0.0 || c.accept > 0.5) ? 0.5 : c.accept;
  const int k = c.no_nominals(v);
  if (!(1.0 - h <= u && u <= k + h)) return MISSING;
  const double value = std::trunc(u + h);
  if (std::trunc(u - h) + 1.0 != value) return MISSING;
  // With h = 0.5 the upper edge k + 0.5 would round to k + 1.
  if (value < 1.0 || value > k) return MISSING;
  return value;
}

// The class the listed units of layer 1 vote for; see KohonenClass.
double KNearestVote(const Layer& layer1, int k, int m) {
  std::vector<int> listed;
  listed.reserve(k);
  for (int u = 0; u < layer1.no_units; ++u) {
    if (static_cast<int>(listed.size()) < k) {
      listed.push_back(u);
      continue;
    }
    std::size_t largest = 0;
    for (std::size_t i = 1; i < listed.size(); ++i) {
      if (layer1.activations[listed[i]] > layer1.activations[listed[largest]]) largest = i;
    }
    if (layer1.activations[u] < layer1.activations[listed[largest]]) listed[largest] = u;
  }

  // Classes 0, 1 and MISSING vote for class 1; classes of 2 and more for
  // themselves; anything else (a negative class) is never counted.
  int class1_votes = 0;
  std::multiset<double> others;
  for (int u : listed) {
    const double cls = layer1.classes[u];
    if (cls == 0.0 || cls == 1.0 || IsMissing(cls)) {
      ++class1_votes;
    } else if (std::trunc(cls) >= 2.0) {
      others.insert(std::trunc(cls));
    }
  }

  double best = 1.0;
  int best_count = class1_votes;
  int total = class1_votes;
  bool tie = false;
  double c = 2.0;
  // Classes are taken in increasing order while k > total + best count.
  // Classes no listed unit has count 0: they only ever set the tie mark (when
  // the best count is still 0), so the walk jumps over them and ends when no
  // countable class is left.
  while (k > total + best_count) {
    const auto next = others.lower_bound(c);
    if (next == others.end() || *next > c) {
      if (best_count == 0) tie = true;
      if (next == others.end()) break;
      c = *next;
    }
    const int count = static_cast<int>(others.count(c));
    total += count;
    if (count > best_count) {
      best = c;
      best_count = count;
      tie = false;
    } else if (count == best_count) {
      tie = true;
    }
    c += 1.0;
  }
  return (!tie && best_count >= m) ? best : MISSING;
}

double KohonenClass(const VariableCoding& c, int v, const Layer& layer1) {
  if (layer1.no_units < 1) return MISSING;
  if (c.shift[v] == 0.0 && c.scale[v] == 1.0) {
    const int w = Winner(layer1.activations.data(), layer1.no_units, false);
    if (layer1.activations[w] > c.accept) return MISSING;
    const double cls = std::trunc(layer1.classes[w]);
    return cls == 0.0 ? MISSING : cls;
  }
  double k = std::trunc(c.scale[v]);
  if (!(k >= 1.0)) return MISSING;
  if (k > layer1.no_units) k = layer1.no_units;
  double m = std::trunc(c.shift[v]);
  if (m > k) m = k;
  if (!(m >= -1.0)) m = -1.0;  // a count below 0 asks nothing; keeps the cast defined
  return KNearestVote(layer1, static_cast<int>(k), static_cast<int>(m));
}

}  // namespace

void Normalise(Normalisation function, double* units, int count) {
  switch (function) {
    case Normalisation::kNone:
      return;
    case Normalisation::kUnitLength: {
      double ss = 0.0;
      for (int i = 0; i < count; ++i) ss += units[i] * units[i];
      if (ss > 0.0) {
        const double f = 1.0 / std::sqrt(ss);
        for (int i = 0; i < count; ++i) units[i] *= f;
      }
      return;
    }
    case Normalisation::kUnitSum: {
      double s = 0.0;
      for (int i = 0; i < count; ++i) s += units[i];
      if (s >= 1e-35 || s <= -1e-35) {
        const double f = 1.0 / s;
        for (int i = 0; i < count; ++i) units[i] *= f;
      }
      return;
    }
    case Normalisation::kMaximum:
    case Normalisation::kMinimum: {
      if (count < 1) return;
      const int w = Winner(units, count, function == Normalisation::kMaximum);
      for (int i = 0; i < count; ++i) units[i] = i == w ? 1.0 : 0.0;
      return;
    }
    case Normalisation::kStep:
      for (int i = 0; i < count; ++i) units[i] = units[i] < 0.0 ? 0.0 : 1.0;
      return;
  }
}

namespace {

// Codes one raw value of variable v into its n units at `out`; missing values
// take the substitutes from index `sub` on.
void CodeValue(const VariableCoding& c, int v, int n, double x, const double* sub, double* out) {
  const double conversion = c.conversion[v];
  const double lo = c.min_mean[v];
  const double hi = c.max_sd[v];
  if (conversion == kOneOfN) {
    const int hot = NominalIndex(x, c.no_nominals(v), n);
    for (int j = 0; j < n; ++j) out[j] = hot < 0 ? (hi - lo) * sub[j] + lo : (j == hot ? hi : lo);
  } else if (conversion == kTwoState) {
    out[0] = x == 1.0 ? lo : (x == 2.0 ? hi : (hi - lo) * sub[0] + lo);
  } else {
    out[0] = (Usable(c, v, x) ? x : sub[0]) * c.scale[v] + c.shift[v];
  }
}

}  // namespace

void CodeInputs(const VariableCoding& c, const double* raw, double* units) {
  const int steps = c.steps;
  int p = 0;  // the variable's first unit, one step
  for (int v = 0; v < c.no_inputs; ++v) {
    const double conversion = c.conversion[v];
    if (conversion != kOneOfN && conversion != kTwoState && !c.is_nominal(v)) {
      // The common case, kept tight: one unit per step through the linear map.
      const double scale = c.scale[v];
      const double shift = c.shift[v];
      const double substitute = c.substitutes[p];
      const double* x = raw + static_cast<std::size_t>(v) * steps;
      double* out = units + static_cast<std::size_t>(p) * steps;
      for (int s = 0; s < steps; ++s) {
        const bool missing = IsMissing(x[s]) || x[s] != x[s];  // NaN counts as missing
        out[s] = (missing ? substitute : x[s]) * scale + shift;
      }
      ++p;
      continue;
    }
    const int n = c.UnitCount(v);
    for (int s = 0; s < steps; ++s) {
      CodeValue(c, v, n, raw[static_cast<std::size_t>(v) * steps + s], c.substitutes.data() + p,
                units + static_cast<std::size_t>(p) * steps + static_cast<std::size_t>(s) * n);
    }
    p += n;
  }
  if (IsNormalisationCode(c.input_normalisation, true)) {
    Normalise(static_cast<Normalisation>(c.input_normalisation), units, c.no_normed_inputs * steps);
  }
}

void CodeOutputs(const VariableCoding& c, const double* raw, double* units) {
  int p = 0;
  for (int i = 0; i < c.no_outputs; ++i) {
    const int v = c.no_inputs + i;
    const int n = c.UnitCount(v);
    CodeValue(c, v, n, raw[i], c.substitutes.data() + c.no_normed_inputs + p, units + p);
    p += n;
  }
}

bool DecodesLinearly(const VariableCoding& c) {
  if (c.output_normalisation != static_cast<std::int32_t>(Normalisation::kNone) &&
      IsNormalisationCode(c.output_normalisation, true)) {
    return false;
  }
  for (int v = c.no_inputs; v < c.no_inputs + c.no_outputs; ++v) {
    const double conversion = c.conversion[v];
    if (conversion == kOneOfN || conversion == kTwoState || conversion == kKohonenCode ||
        c.is_nominal(v)) {
      return false;
    }
  }
  return true;
}

void DecodeOutputs(const VariableCoding& c, double* y, const Layer& layer1, double* values) {
  if (IsNormalisationCode(c.output_normalisation, true)) {
    Normalise(static_cast<Normalisation>(c.output_normalisation), y, c.no_normed_outputs);
  }
  int p = 0;
  for (int i = 0; i < c.no_outputs; ++i) {
    const int v = c.no_inputs + i;
    const int n = c.UnitCount(v);
    const double conversion = c.conversion[v];
    if (conversion == kOneOfN) {
      values[i] = ClassifyOneOfN(c, y + p, n);
    } else if (conversion == kTwoState) {
      values[i] = ClassifyTwoState(c, y[p]);
    } else if (conversion == kKohonenCode) {
      values[i] = KohonenClass(c, v, layer1);
    } else if (c.is_nominal(v)) {
      values[i] = DecodeNominalLinear(c, v, y[p]);
    } else {
      values[i] = (y[p] - c.shift[v]) / c.scale[v];
    }
    p += n;
  }
}

}  // namespace tavrin
