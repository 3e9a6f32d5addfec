#include "fann_network.h"

#include <vector>

namespace tavrin::bench {

// FANN numbers neurons across the whole network, each layer's bias neuron
// last in its layer, and lists each neuron's incoming connections in source
// order with the bias last: the draw order.
bool SetFannWeights(fann* ann, const InitialWeights& weights, std::string& error) {
  const unsigned total = fann_get_total_connections(ann);
  if (total != weights.ValueCount()) {
    error = "FANN network has " + std::to_string(total) + " connections, expected " +
            std::to_string(weights.ValueCount());
    return false;
  }
  std::vector<fann_connection> connections(total);
  fann_get_connection_array(ann, connections.data());
  std::size_t next = 0;
  unsigned first_from = 0;  // first neuron of the source layer
  for (const LayerWeights& block : weights.layers) {
    const unsigned first_to = first_from + static_cast<unsigned>(block.no_from) + 1;
    for (int to = 0; to < block.no_to; ++to) {
      for (int from = 0; from <= block.no_from; ++from) {
        fann_connection& c = connections[next++];
        if (c.from_neuron != first_from + static_cast<unsigned>(from) ||
            c.to_neuron != first_to + static_cast<unsigned>(to)) {
          error = "FANN connection layout differs from the expected one";
          return false;
        }
        c.weight = from < block.no_from ? block.weight(to, from) : block.bias(to);
      }
    }
    first_from = first_to;
  }
  fann_set_weight_array(ann, connections.data(), total);
  return true;
}

FannPtr CreateFannNetwork(const int (&units)[3], fann_activationfunc_enum output_function,
                          double output_steepness, const InitialWeights& weights,
                          std::string& error) {
  FannPtr ann(fann_create_standard(3, units[0], units[1], units[2]));
  if (!ann) {
    error = "fann_create_standard failed";
    return nullptr;
  }
  fann_set_activation_function_hidden(ann.get(), FANN_SIGMOID);
  fann_set_activation_steepness_hidden(ann.get(), 0.5);
  fann_set_activation_function_output(ann.get(), output_function);
  fann_set_activation_steepness_output(ann.get(), output_steepness);
  if (!SetFannWeights(ann.get(), weights, error)) return nullptr;
  return ann;
}

}  // namespace tavrin::bench
