#include "network/forward_run.h"

#include <algorithm>
#include <vector>

#include "common/vector_kernels.h"
#include "network/coding.h"

namespace tavrin {
namespace {

// PSP values of every unit of a layer into `x`, the function resolved once.
void LayerPsp(const Layer& layer, const Connection& block, const double* sources, double* x) {
  const int n = block.no_from;
  const double* t = layer.thresholds.data();
  switch (layer.psp_fn) {
    case PspFunction::kLinear:
      LinearPsp(block.weights.data(), sources, t, layer.no_units, n, x);
      return;
    case PspFunction::kRadial:
      RadialPsp(block.weights.data(), sources, t, layer.no_units, n, x);
      return;
    case PspFunction::kDivision:
      for (int u = 0; u < layer.no_units; ++u) {
        x[u] = PspValue(layer.psp_fn, block.row(u), sources, n, t[u]);
      }
      return;
  }
}

// Layer 1's activations feed back into layer 0 where the block's PSP is above 0.
void Feedback(Network& net) {
  Layer& input = net.layers[0];
  const Connection& block = input.connections[1];
  const double* hidden = net.layers[1].activations.data();
  for (int u = 0; u < input.no_units && u < block.no_to; ++u) {
    const double x = PspValue(input.psp_fn, block.row(u), hidden, block.no_from, 0.0);
    if (x > 0.0) input.activations[u] = x;
  }
}

const Layer& LayerOne(const Network& net) {
  return net.layers[std::min(1, net.no_layers() - 1)];
}

std::vector<double>& Scratch() {
  static std::vector<double> scratch;
  return scratch;
}

}  // namespace

void PropagateForward(Network& net) {
  if (net.no_layers() > 1 && !net.layers[0].connections[1].empty()) Feedback(net);
  for (int l = 1; l < net.no_layers(); ++l) {
    Layer& layer = net.layers[l];
    double* y = layer.activations.data();
    LayerPsp(layer, layer.connections[l - 1], net.layers[l - 1].activations.data(), y);
    ActivateLayer(layer.act_fn, y, y, layer.no_units);
  }
}

void RunForward(Network& net, const double* raw, double* outputs) {
  const VariableCoding& c = net.coding;
  Layer& input = net.layers[0];
  const int coded = c.no_normed_inputs * c.steps;
  // A layer edited to fewer units than its variables code takes what fits.
  if (input.no_units >= coded) {
    CodeInputs(c, raw, input.activations.data());
  } else {
    std::vector<double>& scratch = Scratch();
    scratch.assign(coded, 0.0);
    CodeInputs(c, raw, scratch.data());
    std::copy_n(scratch.begin(), input.no_units, input.activations.begin());
  }

  PropagateForward(net);
  DecodeOutputLayer(net, outputs);
}

void DecodeOutputLayer(Network& net, double* outputs) {
  DecodeOutputLayer(net, outputs, Scratch());
}

void DecodeOutputLayer(Network& net, double* outputs, std::vector<double>& scratch) {
  const VariableCoding& c = net.coding;
  Layer& output = net.output_layer();
  if (output.no_units >= c.no_normed_outputs) {
    DecodeOutputs(c, output.activations.data(), LayerOne(net), outputs);
  } else {
    scratch.assign(c.no_normed_outputs, 0.0);
    std::copy(output.activations.begin(), output.activations.end(), scratch.begin());
    DecodeOutputs(c, scratch.data(), LayerOne(net), outputs);
    std::copy_n(scratch.begin(), output.no_units, output.activations.begin());
  }
}

int Layer1Winner(const Network& net) {
  const Layer& layer = LayerOne(net);
  int winner = 0;
  for (int u = 1; u < layer.no_units; ++u) {
    if (layer.activations[u] < layer.activations[winner]) winner = u;
  }
  return winner;
}

double Layer1Smallest(const Network& net) {
  const Layer& layer = LayerOne(net);
  return layer.no_units > 0 ? layer.activations[Layer1Winner(net)] : 0.0;
}

int OutputWinner(const Network& net) {
  const Layer& layer = net.output_layer();
  const bool largest = net.coding.classify_by != 0;
  int winner = 0;
  for (int u = 1; u < layer.no_units; ++u) {
    const double a = layer.activations[u];
    if (largest ? a > layer.activations[winner] : a < layer.activations[winner]) winner = u;
  }
  return winner;
}

int RunOutputSize(const Network& net, RunOutput type) {
  switch (type) {
    case RunOutput::kDecoded:
      return net.coding.no_outputs;
    case RunOutput::kOutputLayer:
      return net.output_layer().no_units;
    case RunOutput::kWinnerWeights:
      return net.no_layers() > 1 ? net.output_layer().connections[net.no_layers() - 2].no_from : 0;
    case RunOutput::kLayer1Winner:
    case RunOutput::kLayer1Smallest:
      return 1;
  }
  return 0;
}

void RunForwardAs(Network& net, const double* raw, RunOutput type, double* out) {
  if (type == RunOutput::kDecoded) {
    RunForward(net, raw, out);
    return;
  }
  std::vector<double> decoded(net.coding.no_outputs);
  RunForward(net, raw, decoded.data());
  switch (type) {
    case RunOutput::kDecoded:
      break;
    case RunOutput::kOutputLayer:
      std::copy(net.output_layer().activations.begin(), net.output_layer().activations.end(), out);
      break;
    case RunOutput::kWinnerWeights: {
      const int n = RunOutputSize(net, type);
      if (n > 0) {
        const Connection& block = net.output_layer().connections[net.no_layers() - 2];
        std::copy_n(block.row(OutputWinner(net)), n, out);
      }
      break;
    }
    case RunOutput::kLayer1Winner:
      out[0] = Layer1Winner(net) + 1.0;
      break;
    case RunOutput::kLayer1Smallest:
      out[0] = Layer1Smallest(net);
      break;
  }
}

}  // namespace tavrin
