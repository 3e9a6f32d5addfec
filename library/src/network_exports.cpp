// Whole networks: create, copy, free, append, and run on an input vector or
// on a data set's case.

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "checks.h"
#include "common/checked_size.h"
#include "entry_point.h"
#include "network/forward_run.h"
#include "network/network_builder.h"
#include "network/scale_factors.h"
#include "network/structure_edits.h"
#include "nrx32.h"

namespace nrx {
namespace {

using tavrin::DesignCode;
using tavrin::Network;

constexpr std::int32_t kLastLibraryDesign = static_cast<std::int32_t>(DesignCode::kRegression);
constexpr std::int32_t kLastOutputType =
    static_cast<std::int32_t>(tavrin::RunOutput::kLayer1Winner);
constexpr std::int32_t kLastCaseOutputType =
    static_cast<std::int32_t>(tavrin::RunOutput::kLayer1Smallest);

struct CreateArguments {
  std::int32_t design;
  std::int32_t no_inputs;
  std::int32_t no_outputs;
  std::int32_t no_layers;
  std::int32_t lookahead;
  std::int32_t steps;
  const std::int32_t* nominals;
  const std::int32_t* conversions;
  const std::int32_t* units;
  const std::int32_t* widths;

  std::int64_t no_variables() const { return std::int64_t{no_inputs} + no_outputs; }
};

// The counts come first so that no per-layer value is read from an array
// the caller has not promised.
bool CheckLayerArguments(const CreateArguments& a) {
  if (a.no_layers < 0 || a.no_layers > tavrin::kMaxDesignLayers) {
    return Refuse(kLayersOutOfBounds);
  }
  if (a.no_inputs < 0) return Refuse(kInputsOutOfBounds);
  if (a.no_outputs < 0) return Refuse(kOutputsOutOfBounds);
  if (a.no_layers > 0 && (a.units == nullptr || a.widths == nullptr)) {
    return Refuse(kNullLayerArrays);
  }
  for (int l = 0; l < a.no_layers; ++l) {
    if (a.units[l] < 0 || a.units[l] > tavrin::kMaxDesignUnits) return Refuse(kUnitsOutOfBounds);
    if (a.widths[l] < 0 || a.widths[l] > tavrin::kMaxDesignUnits) {
      return Refuse(kWidthOutOfBounds);
    }
  }
  return true;
}

// The smallest network the variables alone would give (every free layer of
// one unit); when even that is beyond the engine, nothing is attempted.
bool CheckVariablesFit(const CreateArguments& a) {
  const auto input_units = tavrin::CheckedMultiply(std::max(a.no_inputs, 1), a.steps);
  if (!input_units) return Refuse(tavrin::kNotEnoughMemory);
  std::vector<std::int64_t> sizes(a.no_layers, 1);
  sizes.front() = *input_units;
  if (a.design != static_cast<std::int32_t>(DesignCode::kKohonen)) {
    sizes.back() = std::max(a.no_outputs, 1);
  }
  if (!tavrin::NetworkValueCount(sizes)) return Refuse(tavrin::kNotEnoughMemory);
  // Each variable's coding holds at least as much as a unit does, whether or
  // not the variable occupies units (a Kohonen network's outputs do not).
  if (!tavrin::NetworkValueCount({a.no_variables()})) return Refuse(tavrin::kNotEnoughMemory);
  return true;
}

bool CheckDesignArguments(const CreateArguments& a) {
  if (a.design < 0 || a.design > kLastLibraryDesign) return Refuse(kDesignCodeOutOfRange);
  if (a.no_layers < 2) return Refuse(kTooFewLayers);
  if (a.steps < 1) return Refuse(kStepsOutOfBounds);
  if (a.lookahead < 0) return Refuse(kLookaheadOutOfBounds);
  if (!CheckVariablesFit(a)) return false;
  if (a.conversions != nullptr) {
    for (std::int64_t v = 0; v < a.no_variables(); ++v) {
      const bool output = v >= a.no_inputs;
      if (!tavrin::IsConversionCode(a.conversions[v], output)) {
        return Refuse(kConversionOutOfRange);
      }
    }
  }
  std::int64_t nominal_names = 0;
  if (a.nominals != nullptr) {
    for (std::int64_t v = 0; v < a.no_variables(); ++v) {
      nominal_names += std::max(a.nominals[v], 0);
      if (nominal_names > tavrin::kMaxDesignNominals) return Refuse(kNoMemoryForDesign);
    }
  }
  return true;
}

// Variables take their nominal names "v1" .. "vk", the given conversion, and
// the defaults the builders expect for the rest.
bool FillDesign(const CreateArguments& a, tavrin::NetworkDesign& design) {
  try {
    design.design_code = static_cast<DesignCode>(a.design);
    design.no_layers = a.no_layers;
    for (int l = 0; l < a.no_layers; ++l) {
      design.units[l] = a.units[l];
      design.width[l] = a.widths[l];
    }
    design.no_inputs = a.no_inputs;
    design.no_outputs = a.no_outputs;
    design.steps = a.steps;
    design.lookahead = a.lookahead;
    design.variables.resize(static_cast<std::size_t>(a.no_variables()));
    for (std::int64_t v = 0; v < a.no_variables(); ++v) {
      tavrin::DesignVariable& variable = design.variables[v];
      const std::int32_t k = a.nominals != nullptr ? a.nominals[v] : 0;
      variable.nominals.reserve(std::max(k, 0));
      for (std::int32_t i = 1; i <= k; ++i) variable.nominals.push_back("v" + std::to_string(i));
      variable.conversion = a.conversions != nullptr ? a.conversions[v] : 0;
      variable.missing_fn = static_cast<double>(tavrin::MissingFunction::kMean);
      variable.min_mean = 0.0;
      variable.max_sd = 1.0;
    }
    return true;
  } catch (const std::bad_alloc&) {
    return Refuse(kNoMemoryForDesign);
  } catch (const std::length_error&) {
    return Refuse(kNoMemoryForDesign);
  }
}

std::int32_t CreateNetwork(const CreateArguments& a) {
  const int index = FindFreeNetworkSlot();
  if (index < 0) {
    tavrin::RecordError(kTooManyNetworks);
    return kNoSlot;
  }
  if (!CheckLayerArguments(a) || !CheckDesignArguments(a)) return kNoSlot;

  std::unique_ptr<TrainingSettings> training;
  try {
    training = std::make_unique<TrainingSettings>();
  } catch (const std::bad_alloc&) {
    tavrin::RecordError(kNoMemoryForSlot);
    return kNoSlot;
  }

  tavrin::NetworkDesign design;
  if (!FillDesign(a, design)) return kNoSlot;
  tavrin::EngineState& engine = tavrin::Engine();
  engine.design = std::move(design);
  tavrin::DeriveLayerSizes(engine.design);
  std::unique_ptr<Network> network =
      tavrin::BuildNetwork(engine.design, engine.random, engine.reinitialisation);
  if (!network) return kNoSlot;

  NetworkSlot& slot = Networks()[index];
  slot.training = std::move(training);
  slot.network = std::move(network);
  engine.active_network = slot.network.get();
  return index;
}

// The joined network's layers, checked before anything is copied.
bool CheckAppendFits(const Network& first, const Network& second) {
  std::vector<std::int64_t> sizes;
  for (const tavrin::Layer& layer : first.layers) sizes.push_back(layer.no_units);
  for (int l = 1; l < second.no_layers(); ++l) sizes.push_back(second.layers[l].no_units);
  if (!tavrin::NetworkValueCount(sizes)) return Refuse(tavrin::kNotEnoughMemory);
  return true;
}

// A case the network can read its whole time-series window for.
bool CheckCaseToRun(const Network& network, const tavrin::DataSet& data, std::int32_t c) {
  if (c < 0 || c >= data.no_cases) return Refuse(kPatternOutOfRange);
  if (c < network.coding.history()) return Refuse(kPatternBeforeWindow);
  return true;
}

}  // namespace
}  // namespace nrx

using nrx::Refuse;
using tavrin::Network;

NRX_API int32_t NRX_CALL NRXFreeNetwork(int32_t net) {
  return nrx::Guarded(nrx::kFailure, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    nrx::NetworkSlot* slot = nrx::CheckNetworkIndex(net, nrx::kNoNetwork);
    if (slot == nullptr) return nrx::kFailure;
    // No later export reads the active network before setting it, but a
    // dangling pointer is not worth keeping.
    tavrin::EngineState& engine = tavrin::Engine();
    if (engine.active_network == slot->network.get()) engine.active_network = nullptr;
    slot->Clear();
    return nrx::kSuccess;
  });
}

NRX_API int32_t NRX_CALL NRXCreateNetwork(int32_t design, int32_t no_inputs, int32_t no_outputs,
                                          int32_t no_layers, int32_t lookahead, int32_t steps,
                                          const int32_t* nominals, const int32_t* conversions,
                                          const int32_t* units, const int32_t* widths) {
  const nrx::CreateArguments arguments{design, no_inputs, no_outputs,  no_layers, lookahead,
                                       steps,  nominals,  conversions, units,     widths};
  return nrx::Guarded(nrx::kNoSlot, tavrin::kNotEnoughMemory,
                      [&] { return nrx::CreateNetwork(arguments); });
}

NRX_API int32_t NRX_CALL NRXCopyNetwork(int32_t net) {
  return nrx::Guarded(nrx::kNoSlot, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    const int index = nrx::FindFreeNetworkSlot();
    nrx::NetworkSlot* source = nrx::CheckNetworkIndex(net, nrx::kNoNetwork);
    if (source == nullptr) return nrx::kNoSlot;
    if (index < 0) {
      tavrin::RecordError(nrx::kTooManyNetworks);
      return nrx::kNoSlot;
    }
    auto training = std::make_unique<nrx::TrainingSettings>();
    std::unique_ptr<Network> copy = tavrin::CopyNetwork(*source->network);
    if (!copy) return nrx::kNoSlot;
    nrx::NetworkSlot& slot = nrx::Networks()[index];
    std::string history = source->history;
    slot.training = std::move(training);
    slot.network = std::move(copy);
    slot.history = std::move(history);
    return index;
  });
}

NRX_API int32_t NRX_CALL NRXAppendNetwork(int32_t net, int32_t second) {
  return nrx::OnNetwork(net, {.no_network = nrx::kNoNetworkCapital}, [&](Network& first) {
    nrx::NetworkSlot* other = nrx::CheckNetworkIndex(second, nrx::kNoNetworkCapital);
    if (other == nullptr) return false;
    tavrin::Engine().active_network = &first;
    // The copy keeps `second` whole even when it is `first` itself.
    std::unique_ptr<Network> copy = tavrin::CopyNetwork(*other->network);
    if (!copy) return false;
    if (first.output_layer().no_units == copy->layers[0].no_units &&
        !nrx::CheckAppendFits(first, *copy)) {
      return false;
    }
    return tavrin::AppendNetwork(first, *copy).ok();
  });
}

NRX_API int32_t NRX_CALL NRXRunNetwork(int32_t net, int32_t output_type, const double* inputs,
                                       double* outputs) {
  return nrx::OnNetwork(net, {.memory = nrx::kNoMemoryToRun}, [&](Network& network) {
    if (inputs == nullptr || outputs == nullptr) return Refuse(nrx::kNullRunArrays);
    if (output_type < 0 || output_type > nrx::kLastOutputType) {
      return Refuse(nrx::kOutputTypeOutOfRange);
    }
    const auto type = static_cast<tavrin::RunOutput>(output_type);
    // The caller's array is written only once the run is complete.
    std::vector<double> work(static_cast<std::size_t>(tavrin::RunOutputSize(network, type)));
    tavrin::RunForwardAs(network, inputs, type, work.data());
    std::copy(work.begin(), work.end(), outputs);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXRunNetworkFromDataSet(int32_t net, int32_t ds, int32_t c,
                                                  int32_t output_type, double* outputs) {
  return nrx::OnPair(
      net, ds, nrx::kNoMemoryToRunCase, [&](nrx::NetworkSlot& slot, tavrin::DataSet& data) {
        Network& network = *slot.network;
        if (!nrx::CheckCaseToRun(network, data, c)) return false;
        if (output_type < 0 || output_type > nrx::kLastCaseOutputType) {
          return Refuse(nrx::kOutputTypeOutOfRange);
        }
        if (outputs == nullptr) return Refuse(nrx::kNullOutputArray);
        const tavrin::VariableCoding& coding = network.coding;
        const auto type = static_cast<tavrin::RunOutput>(output_type);
        std::vector<double> raw(static_cast<std::size_t>(coding.no_inputs) *
                                static_cast<std::size_t>(coding.steps));
        std::vector<double> work(static_cast<std::size_t>(tavrin::RunOutputSize(network, type)));
        tavrin::ReadWindow(data, c, coding, raw.data());
        tavrin::RunForwardAs(network, raw.data(), type, work.data());
        std::copy(work.begin(), work.end(), outputs);
        return true;
      });
}
