// Network structure: layers and their functions, units, weights, and the
// edits that add or remove units and layers.

#include <string>
#include <utility>

#include "checks.h"
#include "entry_point.h"
#include "network/structure_edits.h"
#include "nrx32.h"

namespace nrx {
namespace {

using tavrin::Network;

// Structure edits go through the engine's active network.
constexpr NetworkCall kEdit{.make_active = true};

bool CheckWeight(const Network& network, std::int32_t from_layer, std::int32_t from_unit,
                 std::int32_t to_layer, std::int32_t to_unit) {
  if (std::int64_t{to_layer} != std::int64_t{from_layer} + 1) return Refuse(kNotSuccessiveLayers);
  if (to_layer < 1 || to_layer >= network.no_layers()) return Refuse(kSpecifiedLayerOutOfRange);
  const tavrin::Layer& source = network.layers[from_layer];
  const tavrin::Layer& destination = network.layers[to_layer];
  if (from_unit < 0 || from_unit >= source.no_units || to_unit < 0 ||
      to_unit >= destination.no_units) {
    return Refuse(kSpecifiedUnitOutOfRange);
  }
  // Every network the engine makes joins successive layers; one that does
  // not has no weight to offer here.
  const tavrin::Connection& block = destination.connections[from_layer];
  if (block.no_from != source.no_units || block.no_to != destination.no_units) {
    return Refuse(kNotSuccessiveLayers);
  }
  return true;
}

double& WeightOf(Network& network, std::int32_t from_layer, std::int32_t from_unit,
                 std::int32_t to_layer, std::int32_t to_unit) {
  return network.layers[to_layer].connections[from_layer].at(to_unit, from_unit);
}

}  // namespace
}  // namespace nrx

using nrx::CheckLayer;
using nrx::CheckUnit;
using nrx::Deliver;
using nrx::Refuse;
using tavrin::Network;

NRX_API int32_t NRX_CALL NRXGetNetworkNoLayers(int32_t net, int32_t* no_layers) {
  return nrx::OnNetwork(net, [&](Network& n) { return Deliver(no_layers, n.no_layers()); });
}

NRX_API int32_t NRX_CALL NRXGetNetworkLayerNoUnits(int32_t net, int32_t layer, int32_t* no_units) {
  return nrx::OnNetwork(net, [&](Network& n) {
    return CheckLayer(n, layer) && Deliver(no_units, n.layers[layer].no_units);
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkLayerWidth(int32_t net, int32_t layer, int32_t* width) {
  return nrx::OnNetwork(net, [&](Network& n) {
    return CheckLayer(n, layer) && Deliver(width, n.layers[layer].width);
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkLayerAct(int32_t net, int32_t layer, int32_t* code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!CheckLayer(n, layer) || !nrx::CheckOut(code)) return false;
    const auto stored = static_cast<std::int32_t>(n.layers[layer].act_fn);
    if (!tavrin::ActivationFromCode(stored)) return Refuse(nrx::kUnknownActivation);
    return Deliver(code, stored);
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkLayerAct(int32_t net, int32_t layer, int32_t code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!CheckLayer(n, layer)) return false;
    const auto function = tavrin::ActivationFromCode(code);
    if (!function) return Refuse(nrx::kActivationOutOfRange);
    n.layers[layer].act_fn = *function;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkLayerPSP(int32_t net, int32_t layer, int32_t* code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!CheckLayer(n, layer) || !nrx::CheckOut(code)) return false;
    const auto stored = static_cast<std::int32_t>(n.layers[layer].psp_fn);
    if (!tavrin::PspFromCode(stored)) return Refuse(nrx::kUnknownPsp);
    return Deliver(code, stored);
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkLayerPSP(int32_t net, int32_t layer, int32_t code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!CheckLayer(n, layer)) return false;
    const auto function = tavrin::PspFromCode(code);
    if (!function) return Refuse(nrx::kPspOutOfRange);
    n.layers[layer].psp_fn = *function;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkErrorFunction(int32_t net, int32_t* code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    // A caller who ignores the result still reads no stale code.
    if (!Deliver(code, 0)) return false;
    const auto stored = static_cast<std::int32_t>(n.error_fn);
    if (!tavrin::ErrorFromCode(stored)) return Refuse(nrx::kUnknownErrorFunction);
    return Deliver(code, stored);
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkErrorFunction(int32_t net, int32_t code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    const auto function = tavrin::ErrorFromCode(code);
    if (!function) return Refuse(nrx::kErrorFunctionOutOfRange);
    n.error_fn = *function;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkUnitName(int32_t net, int32_t layer, int32_t unit,
                                               char* buffer) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!CheckUnit(n, layer, unit)) return false;
    if (buffer == nullptr) return Refuse(nrx::kNullUnitName);
    nrx::CopyName(n.layers[layer].unit_names[unit], buffer);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkUnitName(int32_t net, int32_t layer, int32_t unit,
                                               const char* name) {
  return nrx::OnNetwork(net, {.memory = nrx::kNoMemoryForUnitName}, [&](Network& n) {
    std::string text;
    if (!CheckUnit(n, layer, unit) || !nrx::TakeName(name, text)) return false;
    n.layers[layer].unit_names[unit] = std::move(text);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkUnitThreshold(int32_t net, int32_t layer, int32_t unit,
                                                    double* threshold) {
  return nrx::OnNetwork(net, [&](Network& n) {
    return CheckUnit(n, layer, unit) && Deliver(threshold, n.layers[layer].thresholds[unit]);
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkUnitThreshold(int32_t net, int32_t layer, int32_t unit,
                                                    double threshold) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!CheckUnit(n, layer, unit)) return false;
    n.layers[layer].thresholds[unit] = threshold;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkUnitClass(int32_t net, int32_t layer, int32_t unit,
                                                int32_t* unit_class) {
  return nrx::OnNetwork(net, [&](Network& n) {
    return CheckUnit(n, layer, unit) &&
           Deliver(unit_class, nrx::TruncateToInt32(n.layers[layer].classes[unit]));
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkUnitClass(int32_t net, int32_t layer, int32_t unit,
                                                int32_t unit_class) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!CheckUnit(n, layer, unit)) return false;
    n.layers[layer].classes[unit] = unit_class;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkUnitActivation(int32_t net, int32_t layer, int32_t unit,
                                                     double* activation) {
  return nrx::OnNetwork(net, [&](Network& n) {
    return CheckUnit(n, layer, unit) && Deliver(activation, n.layers[layer].activations[unit]);
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkWeight(int32_t net, int32_t from_layer, int32_t from_unit,
                                             int32_t to_layer, int32_t to_unit, double* weight) {
  return nrx::OnNetwork(net, [&](Network& n) {
    return nrx::CheckWeight(n, from_layer, from_unit, to_layer, to_unit) &&
           Deliver(weight, nrx::WeightOf(n, from_layer, from_unit, to_layer, to_unit));
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkWeight(int32_t net, int32_t from_layer, int32_t from_unit,
                                             int32_t to_layer, int32_t to_unit, double weight) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!nrx::CheckWeight(n, from_layer, from_unit, to_layer, to_unit)) return false;
    nrx::WeightOf(n, from_layer, from_unit, to_layer, to_unit) = weight;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXAddNetworkUnits(int32_t net, int32_t layer, int32_t offset,
                                            int32_t count) {
  return nrx::OnNetwork(net, nrx::kEdit, [&](Network& n) {
    if (!CheckLayer(n, layer)) return false;
    const int units = n.layers[layer].no_units;
    if (offset < -1 || offset >= units) return Refuse(nrx::kOffsetOutOfRange);
    if (count < 1) return Refuse(nrx::kUnitCountOutOfRange);
    return tavrin::ResizeLayer(n, layer, offset == -1 ? units : offset, count).ok();
  });
}

NRX_API int32_t NRX_CALL NRXDeleteNetworkUnits(int32_t net, int32_t layer, int32_t offset,
                                               int32_t count) {
  return nrx::OnNetwork(net, nrx::kEdit, [&](Network& n) {
    if (!CheckLayer(n, layer)) return false;
    const int units = n.layers[layer].no_units;
    if (offset < 0 || offset >= units - 1) return Refuse(nrx::kOffsetOutOfRange);
    if (count < 1 || std::int64_t{offset} + count >= units) {
      return Refuse(nrx::kUnitCountOutOfRange);
    }
    return tavrin::ResizeLayer(n, layer, offset, -count).ok();
  });
}

NRX_API int32_t NRX_CALL NRXDeleteNetworkLayer(int32_t net, int32_t layer) {
  return nrx::OnNetwork(net, nrx::kEdit, [&](Network& n) {
    return CheckLayer(n, layer) && tavrin::DeleteLayer(n, layer).ok();
  });
}
