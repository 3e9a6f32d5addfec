#include "network/network_builder.h"
#include "common/messages.h"

#include <cmath>
#include <new>

#include "common/status.h"
#include "network/weight_initialiser.h"

namespace tavrin {
namespace {

NetworkType TypeOf(DesignCode code) {
  switch (code) {
    case DesignCode::kMlp:
      return NetworkType::kMlp;
    case DesignCode::kKohonen:
      return NetworkType::kKohonen;
    case DesignCode::kRbf:
      return NetworkType::kRbf;
    case DesignCode::kLinear:
      return NetworkType::kLinear;
    case DesignCode::kProbabilistic:
      return NetworkType::kProbabilistic;
    case DesignCode::kRegression:
      return NetworkType::kRegression;
    case DesignCode::kSimpleRecurrent:
      return NetworkType::kSimpleRecurrent;
  }
  return NetworkType::kMlp;
}

// Units one value of a design variable occupies.
std::int64_t DesignUnits(const DesignVariable& v) {
  return UnitsPerValue(v.conversion, static_cast<std::int64_t>(v.nominals.size()));
}

// The layer count a kind requires, with the message when a design has another.
Status CheckLayerCount(DesignCode code, int no_layers) {
  switch (code) {
    case DesignCode::kKohonen:
      if (no_layers != 2) return Fail(kKohonenLayers);
      break;
    case DesignCode::kRbf:
      if (no_layers != 3) return Fail(kRbfLayers);
      break;
    case DesignCode::kLinear:
      if (no_layers != 2) return Fail(kLinearLayers);
      break;
    case DesignCode::kProbabilistic:
      if (no_layers != 3 && no_layers != 4) {
        return Fail(kProbabilisticLayers);
      }
      break;
    case DesignCode::kRegression:
      if (no_layers != 4) return Fail(kRegressionLayers);
      break;
    case DesignCode::kMlp:
    case DesignCode::kSimpleRecurrent:
      break;
  }
  if (no_layers < 2) return Fail(kTooFewLayers);
  return Status::Ok();
}

VariableCoding CodingFromDesign(const NetworkDesign& d) {
  VariableCoding coding = MakeDefaultCoding(d.no_inputs, d.no_outputs);
  for (int v = 0; v < coding.no_variables(); ++v) {
    if (v < static_cast<int>(d.variables.size())) {
      const DesignVariable& dv = d.variables[v];
      coding.nominals[v] = dv.nominals;
      coding.conversion[v] = dv.conversion;
      coding.missing_fn[v] = dv.missing_fn;
      coding.min_mean[v] = dv.min_mean;
      coding.max_sd[v] = dv.max_sd;
    } else {
      coding.conversion[v] = 1.0;
      coding.missing_fn[v] = 1.0;
    }
  }
  coding.RecountUnits();
  coding.substitutes.assign(
      static_cast<std::size_t>(coding.no_normed_inputs) + coding.no_normed_outputs, 0.0);
  coding.steps = d.steps;
  coding.lookahead = d.lookahead;
  return coding;
}

void SetLayerFunctions(Layer& layer, ActivationFunction act, PspFunction psp) {
  layer.act_fn = act;
  layer.psp_fn = psp;
  if (psp == PspFunction::kRadial) layer.thresholds.assign(layer.no_units, 1.0);
}

bool IsNominalConversion(double code) {
  return code == static_cast<double>(ConversionFunction::kOneOfN) ||
         code == static_cast<double>(ConversionFunction::kTwoState);
}

ActivationFunction MlpOutputActivation(const VariableCoding& c) {
  if (c.no_outputs < 2) {
    return (c.no_outputs == 1 && IsNominalConversion(c.conversion[c.no_inputs]))
               ? ActivationFunction::kLogistic
               : ActivationFunction::kLinear;
  }
  for (int v = c.no_inputs; v < c.no_variables(); ++v) {
    if (c.is_nominal(v)) return ActivationFunction::kLogistic;
  }
  return ActivationFunction::kLinear;
}

void SetClassification(VariableCoding& c, bool by_confidence, double accept, double reject) {
  c.classify_by = by_confidence ? 1 : 0;
  c.accept = accept;
  c.reject = reject;
}

void LayOutKind(Network& net, DesignCode code) {
  const int last = net.no_layers() - 1;
  SetLayerFunctions(net.layers[0], ActivationFunction::kLinear, PspFunction::kLinear);
  net.error_fn = ErrorFunction::kSumSquared;
  SetClassification(net.coding, true, 0.95, 0.05);
  switch (code) {
    case DesignCode::kMlp:
    case DesignCode::kSimpleRecurrent:
      for (int l = 1; l < last; ++l) {
        SetLayerFunctions(net.layers[l], ActivationFunction::kLogistic, PspFunction::kLinear);
      }
      SetLayerFunctions(net.layers[last], MlpOutputActivation(net.coding), PspFunction::kLinear);
      break;
    case DesignCode::kKohonen:
      SetLayerFunctions(net.layers[1], ActivationFunction::kSquareRoot, PspFunction::kRadial);
      net.error_fn = ErrorFunction::kKohonen;
      SetClassification(net.coding, false, 0.05, 0.0);
      break;
    case DesignCode::kRbf:
      SetLayerFunctions(net.layers[1], ActivationFunction::kNegExponential, PspFunction::kRadial);
      SetLayerFunctions(net.layers[2], ActivationFunction::kLinear, PspFunction::kLinear);
      break;
    case DesignCode::kLinear:
      SetLayerFunctions(net.layers[1], ActivationFunction::kLinear, PspFunction::kLinear);
      break;
    case DesignCode::kProbabilistic:
      SetLayerFunctions(net.layers[1], ActivationFunction::kNegExponential, PspFunction::kRadial);
      for (int l = 2; l <= last; ++l) {
        SetLayerFunctions(net.layers[l], ActivationFunction::kUnitsum, PspFunction::kLinear);
      }
      if (last == 3) {
        SetClassification(net.coding, false, 0.05, 0.95);
        // The loss matrix: no loss for the right class, 1 for any other.
        Connection& loss = net.layers[3].connections[2];
        for (int u = 0; u < loss.no_to; ++u) {
          for (int s = 0; s < loss.no_from; ++s) loss.at(u, s) = u == s ? 0.0 : 1.0;
        }
      }
      break;
    case DesignCode::kRegression: {
      SetLayerFunctions(net.layers[1], ActivationFunction::kNegExponential, PspFunction::kRadial);
      SetLayerFunctions(net.layers[2], ActivationFunction::kLinear, PspFunction::kLinear);
      SetLayerFunctions(net.layers[3], ActivationFunction::kLinear, PspFunction::kDivision);
      // Output i = summation unit i / the last summation unit.
      Connection& division = net.layers[3].connections[2];
      const int m = division.no_to;
      for (int u = 0; u < m; ++u) {
        division.at(u, u) = 1.0;
        division.at(u, m) = -1.0;
      }
      break;
    }
  }
}

// Context unit j (the j-th of layer 0's last units) takes unit j of layer 1.
void AddFeedback(Network& net) {
  Layer& input = net.layers[0];
  const int hidden = net.layers[1].no_units;
  Connection& feedback = input.connections[1];
  feedback.Allocate(hidden, input.no_units);
  feedback.fixed = 1;
  const int first_context = input.no_units - hidden;
  for (int j = 0; j < hidden; ++j) feedback.at(first_context + j, j) = 1.0;
}

}  // namespace

void DeriveLayerSizes(NetworkDesign& d) {
  const int n = d.no_layers;
  if (n >= 1) {
    std::int64_t inputs = 0;
    std::int64_t outputs = 0;
    for (int v = 0; v < d.no_inputs + d.no_outputs && v < static_cast<int>(d.variables.size());
         ++v) {
      (v < d.no_inputs ? inputs : outputs) += DesignUnits(d.variables[v]);
    }
    double input_units = static_cast<double>(inputs) * d.steps;
    if (d.design_code == DesignCode::kSimpleRecurrent && n >= 2) input_units += d.units[1];
    d.units[0] = input_units;
    if (d.design_code != DesignCode::kKohonen) d.units[n - 1] = static_cast<double>(outputs);
  }
  for (int l = 0; l < kMaxDesignLayers; ++l) {
    if (!(d.units[l] >= 1.0)) d.units[l] = 1.0;
    if (!(d.width[l] >= 1.0)) d.width[l] = 1.0;
  }
  if (d.design_code == DesignCode::kProbabilistic && n == 4) d.units[2] = d.units[3];
  if (d.design_code == DesignCode::kRegression && n >= 4) d.units[2] = d.units[3] + 1.0;
}

std::unique_ptr<Network> BuildNetwork(const NetworkDesign& d, RandomGenerator& random,
                                      ReinitialisationRange& range) {
  const auto code = static_cast<std::int32_t>(d.design_code);
  if (code < 0 || code > static_cast<std::int32_t>(DesignCode::kSimpleRecurrent)) {
    RecordError(kDesignCodeOutOfRange);
    return nullptr;
  }
  if (!CheckLayerCount(d.design_code, d.no_layers)) return nullptr;
  const int n = d.no_layers;
  if (d.design_code == DesignCode::kProbabilistic && n == 4 && d.units[2] != d.units[3]) {
    RecordError(kLossMatrixUnits);
    return nullptr;
  }
  if (d.design_code == DesignCode::kRegression && d.units[2] != d.units[3] + 1.0) {
    RecordError(kRegressionUnits);
    return nullptr;
  }

  std::vector<std::int64_t> units(n);
  for (int l = 0; l < n; ++l) {
    if (!(d.units[l] <= kMaxDesignUnits) || !(d.width[l] <= kMaxDesignUnits)) {
      RecordError(kNotEnoughMemory);
      return nullptr;
    }
    units[l] = static_cast<std::int64_t>(d.units[l]);
  }
  if (!NetworkValueCount(units)) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  }

  try {
    auto net = std::make_unique<Network>();
    net->type = TypeOf(d.design_code);
    net->coding = CodingFromDesign(d);
    net->layers.resize(n);
    for (int l = 0; l < n; ++l) {
      Layer& layer = net->layers[l];
      layer.Allocate(static_cast<int>(units[l]), n);
      layer.width = static_cast<std::int32_t>(d.width[l]);
      if (l > 0) layer.connections[l - 1].Allocate(net->layers[l - 1].no_units, layer.no_units);
    }
    LayOutKind(*net, d.design_code);
    if (d.design_code == DesignCode::kSimpleRecurrent) AddFeedback(*net);
    ApplyPairingRule(*net);
    if (net->type != NetworkType::kProbabilistic && net->type != NetworkType::kRegression) {
      InitialiseWeights(*net, range, random);
    }
    return net;
  } catch (const std::bad_alloc&) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  }
}

}  // namespace tavrin
