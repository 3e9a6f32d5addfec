#include "availability.h"

namespace tavrin::app {
namespace {

bool AnyOutput(const Network& net, bool nominal) {
  const VariableCoding& c = net.coding;
  for (int v = c.no_inputs; v < c.no_variables(); ++v) {
    if (c.is_nominal(v) == nominal) return true;
  }
  return false;
}

PspFunction LayerOnePsp(const Network& net) {
  return net.layers[net.no_layers() > 1 ? 1 : 0].psp_fn;
}

}  // namespace

bool IsAvailable(const ProgramState& state, Availability rule) {
  if (rule == Availability::kData) return state.data != nullptr;
  if (rule == Availability::kHostPackage) return !state.host_directory.empty();
  const Network* net = state.network.get();
  if (net == nullptr || net->no_layers() < 1) return false;
  switch (rule) {
    case Availability::kNetwork:
      return true;
    case Availability::kGradient:
      return net->output_layer().psp_fn == PspFunction::kLinear;
    case Availability::kRadial:
      return LayerOnePsp(*net) == PspFunction::kRadial;
    case Availability::kProbabilistic:
      return net->type == NetworkType::kProbabilistic;
    case Availability::kRegression:
      return net->type == NetworkType::kRegression;
    case Availability::kDotFirst:
      return LayerOnePsp(*net) == PspFunction::kLinear;
    case Availability::kNominalOutput:
      return AnyOutput(*net, true);
    case Availability::kNumericOutput:
      return AnyOutput(*net, false);
    case Availability::kTimeSeries:
      return net->coding.steps >= 2 && net->coding.lookahead == 1;
    case Availability::kTwoStateOutput:
      return net->coding.no_outputs == 1 && net->coding.no_nominals(net->coding.no_inputs) == 2;
    case Availability::kLinear:
      return net->output_layer().psp_fn == PspFunction::kLinear &&
             net->output_layer().act_fn == ActivationFunction::kLinear;
    case Availability::kData:
    case Availability::kHostPackage:
      break;
  }
  return false;
}

std::function<int()> AvailableWhen(const ProgramState& state, Availability rule) {
  return [&state, rule] { return IsAvailable(state, rule) ? 1 : 0; };
}

}  // namespace tavrin::app
