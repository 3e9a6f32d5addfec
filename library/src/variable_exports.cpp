// Variables and their coding: counts, names, nominal values, conversion,
// missing-value substitution, scaling (by hand or from a data set),
// normalisation, classification and the time-series settings.

#include <algorithm>
#include <string>
#include <utility>

#include "checks.h"
#include "common/nominal_names.h"
#include "entry_point.h"
#include "network/network_design.h"
#include "network/scale_factors.h"
#include "network/structure_edits.h"
#include "network/variable_coding.h"
#include "nrx32.h"

namespace nrx {
namespace {

using tavrin::Network;
using tavrin::VariableCoding;

// Edits that resize units go through the engine's active network.
constexpr NetworkCall kEdit{.make_active = true};
// The variable-level exports that have always said "No Network ...".
constexpr NetworkCall kCapital{.no_network = kNoNetworkCapital};
constexpr NetworkCall kCapitalEdit{.no_network = kNoNetworkCapital, .make_active = true};

// The engine checks the range; deleting nothing is refused here, with the
// engine's message, as the library always has.
bool DeleteVariables(Network& network, tavrin::VariableSide side, std::int32_t offset,
                     std::int32_t count) {
  if (count < 1) return Refuse(kOffsetOrCountOutOfRange);
  return tavrin::ResizeVariables(network, side, offset, -count).ok();
}

bool CheckNominal(const Network& network, std::int32_t variable, std::int32_t value) {
  if (!CheckVariable(network, variable)) return false;
  if (value < 0 || value >= network.coding.no_nominals(variable)) {
    return Refuse(kNominalOutOfRange);
  }
  return true;
}

// A stored function code (a double) as the caller sees it, or false with the
// internal error when it names no entry of its table.
bool DeliverCode(std::int32_t* out, double stored, bool known, std::string_view unknown) {
  if (!CheckOut(out)) return false;
  if (!known) return Refuse(unknown);
  return Deliver(out, TruncateToInt32(stored));
}

// Getters and setters of one double per variable.
template <typename Field>
std::int32_t GetVariableValue(std::int32_t net, std::int32_t variable, double* out, Field field,
                              std::string_view range_message = kVariableOutOfRange) {
  return OnNetwork(net, [&](Network& n) {
    return CheckVariable(n, variable, range_message) && Deliver(out, field(n.coding)[variable]);
  });
}

template <typename Field>
std::int32_t SetVariableValue(std::int32_t net, std::int32_t variable, double value, Field field) {
  return OnNetwork(net, [&](Network& n) {
    if (!CheckVariable(n, variable)) return false;
    field(n.coding)[variable] = value;
    return true;
  });
}

auto& Scale(VariableCoding& c) {
  return c.scale;
}
auto& Shift(VariableCoding& c) {
  return c.shift;
}
auto& MinMean(VariableCoding& c) {
  return c.min_mean;
}
auto& MaxSd(VariableCoding& c) {
  return c.max_sd;
}

}  // namespace
}  // namespace nrx

using nrx::CheckVariable;
using nrx::Deliver;
using nrx::Refuse;
using tavrin::Network;

NRX_API int32_t NRX_CALL NRXGetNetworkNoInputs(int32_t net, int32_t* no_inputs) {
  return nrx::OnNetwork(net, [&](Network& n) { return Deliver(no_inputs, n.coding.no_inputs); });
}

NRX_API int32_t NRX_CALL NRXGetNetworkNoOutputs(int32_t net, int32_t* no_outputs) {
  return nrx::OnNetwork(net, [&](Network& n) { return Deliver(no_outputs, n.coding.no_outputs); });
}

NRX_API int32_t NRX_CALL NRXAddNetworkInputVariables(int32_t net, int32_t offset, int32_t count) {
  return nrx::OnNetwork(net, nrx::kEdit, [&](Network& n) {
    const int inputs = n.coding.no_inputs;
    if (offset < -1 || offset > inputs) return Refuse(nrx::kOffsetOutOfRange);
    if (count < 1) return Refuse(nrx::kVariableCountOutOfRange);
    return tavrin::ResizeVariables(n, tavrin::VariableSide::kInputs, offset == -1 ? inputs : offset,
                                   count)
        .ok();
  });
}

NRX_API int32_t NRX_CALL NRXAddNetworkOutputVariables(int32_t net, int32_t offset, int32_t count) {
  return nrx::OnNetwork(net, nrx::kEdit, [&](Network& n) {
    const int outputs = n.coding.no_outputs;
    if (offset == 0) return Refuse(nrx::kOutputsAtZero);
    if (offset < -1 || offset > outputs) return Refuse(nrx::kOffsetOutOfRange);
    if (count < 1) return Refuse(nrx::kVariableCountOutOfRange);
    return tavrin::ResizeVariables(n, tavrin::VariableSide::kOutputs,
                                   offset == -1 ? outputs : offset, count)
        .ok();
  });
}

NRX_API int32_t NRX_CALL NRXDeleteNetworkInputVariables(int32_t net, int32_t offset,
                                                        int32_t count) {
  return nrx::OnNetwork(net, nrx::kEdit, [&](Network& n) {
    return nrx::DeleteVariables(n, tavrin::VariableSide::kInputs, offset, count);
  });
}

NRX_API int32_t NRX_CALL NRXDeleteNetworkOutputVariables(int32_t net, int32_t offset,
                                                         int32_t count) {
  return nrx::OnNetwork(net, nrx::kEdit, [&](Network& n) {
    return nrx::DeleteVariables(n, tavrin::VariableSide::kOutputs, offset, count);
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkVariableName(int32_t net, int32_t variable, char* buffer) {
  return nrx::OnNetwork(net, nrx::kCapital, [&](Network& n) {
    if (!CheckVariable(n, variable)) return false;
    if (buffer == nullptr) return Refuse(nrx::kNullVariableName);
    nrx::CopyName(n.coding.variable_names[variable], buffer);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkVariableName(int32_t net, int32_t variable,
                                                   const char* name) {
  nrx::NetworkCall call = nrx::kCapital;
  call.memory = nrx::kNoMemoryForName;
  return nrx::OnNetwork(net, call, [&](Network& n) {
    std::string text;
    if (!CheckVariable(n, variable) || !nrx::TakeName(name, text)) return false;
    n.coding.variable_names[variable] = std::move(text);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkNoNominals(int32_t net, int32_t variable,
                                                 int32_t* no_nominals) {
  return nrx::OnNetwork(net, nrx::kCapital, [&](Network& n) {
    return CheckVariable(n, variable) && Deliver(no_nominals, n.coding.no_nominals(variable));
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkNoNominals(int32_t net, int32_t variable,
                                                 int32_t no_nominals) {
  nrx::NetworkCall call = nrx::kCapitalEdit;
  call.memory = nrx::kNoMemoryForNominals;
  return nrx::OnNetwork(net, call, [&](Network& n) {
    return CheckVariable(n, variable) && tavrin::SetNoNominals(n, variable, no_nominals).ok();
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkNominal(int32_t net, int32_t variable, int32_t value,
                                              char* buffer) {
  return nrx::OnNetwork(net, nrx::kCapital, [&](Network& n) {
    if (!nrx::CheckNominal(n, variable, value)) return false;
    if (buffer == nullptr) return Refuse(nrx::kNullNominalName);
    nrx::CopyName(n.coding.nominals[variable][value], buffer);
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkNominal(int32_t net, int32_t variable, int32_t value,
                                              const char* name) {
  nrx::NetworkCall call = nrx::kCapital;
  call.memory = nrx::kNoMemoryForNominalName;
  return nrx::OnNetwork(net, call, [&](Network& n) {
    if (!nrx::CheckNominal(n, variable, value)) return false;
    if (name == nullptr) return Refuse(tavrin::kBlankNominal);
    std::string text;
    if (!nrx::TakeName(name, text)) return false;
    return tavrin::SetNominalName(n.coding.nominals[variable], value, std::move(text)).ok();
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkConvertFunction(int32_t net, int32_t variable,
                                                      int32_t* code) {
  return nrx::OnNetwork(net, nrx::kCapital, [&](Network& n) {
    if (!CheckVariable(n, variable)) return false;
    const double stored = n.coding.conversion[variable];
    return nrx::DeliverCode(code, stored,
                            tavrin::IsConversionCode(stored, n.coding.is_output(variable)),
                            nrx::kUnknownConversion);
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkConvertFunction(int32_t net, int32_t variable, int32_t code) {
  return nrx::OnNetwork(net, nrx::kCapitalEdit, [&](Network& n) {
    if (!CheckVariable(n, variable)) return false;
    // Only outputs have a "Kohonen" conversion.
    if (!tavrin::IsConversionCode(code, n.coding.is_output(variable))) {
      return Refuse(nrx::kConversionOutOfRange);
    }
    return tavrin::SetConversion(n, variable, code).ok();
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkMissingFunction(int32_t net, int32_t variable,
                                                      int32_t* code) {
  return nrx::OnNetwork(net, nrx::kCapital, [&](Network& n) {
    if (!CheckVariable(n, variable)) return false;
    const double stored = n.coding.missing_fn[variable];
    return nrx::DeliverCode(code, stored, tavrin::IsMissingFunctionCode(stored),
                            nrx::kUnknownMissingFunction);
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkMissingFunction(int32_t net, int32_t variable, int32_t code) {
  return nrx::OnNetwork(net, nrx::kCapital, [&](Network& n) {
    if (!CheckVariable(n, variable)) return false;
    if (!tavrin::IsMissingFunctionCode(code)) return Refuse(nrx::kMissingFunctionOutOfRange);
    n.coding.missing_fn[variable] = code;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkScaleFactor(int32_t net, int32_t variable, double* scale) {
  return nrx::GetVariableValue(net, variable, scale, nrx::Scale, nrx::kAttributeOutOfRange);
}

NRX_API int32_t NRX_CALL NRXSetNetworkScaleFactor(int32_t net, int32_t variable, double scale) {
  return nrx::SetVariableValue(net, variable, scale, nrx::Scale);
}

NRX_API int32_t NRX_CALL NRXGetNetworkShiftFactor(int32_t net, int32_t variable, double* shift) {
  return nrx::GetVariableValue(net, variable, shift, nrx::Shift);
}

NRX_API int32_t NRX_CALL NRXSetNetworkShiftFactor(int32_t net, int32_t variable, double shift) {
  return nrx::SetVariableValue(net, variable, shift, nrx::Shift);
}

NRX_API int32_t NRX_CALL NRXGetNetworkMinMean(int32_t net, int32_t variable, double* min_mean) {
  return nrx::GetVariableValue(net, variable, min_mean, nrx::MinMean);
}

NRX_API int32_t NRX_CALL NRXSetNetworkMinMean(int32_t net, int32_t variable, double min_mean) {
  return nrx::SetVariableValue(net, variable, min_mean, nrx::MinMean);
}

NRX_API int32_t NRX_CALL NRXGetNetworkMaxSD(int32_t net, int32_t variable, double* max_sd) {
  return nrx::GetVariableValue(net, variable, max_sd, nrx::MaxSd);
}

NRX_API int32_t NRX_CALL NRXSetNetworkMaxSD(int32_t net, int32_t variable, double max_sd) {
  return nrx::SetVariableValue(net, variable, max_sd, nrx::MaxSd);
}

NRX_API int32_t NRX_CALL NRXGetNetworkInputNormFunction(int32_t net, int32_t* code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    const std::int32_t stored = n.coding.input_normalisation;
    return nrx::DeliverCode(code, stored, tavrin::IsNormalisationCode(stored, false),
                            nrx::kUnknownNormalisation);
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkInputNormFunction(int32_t net, int32_t code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!tavrin::IsNormalisationCode(code, false)) return Refuse(nrx::kNormalisationOutOfRange);
    n.coding.input_normalisation = code;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkOutputNormFunction(int32_t net, int32_t* code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    const std::int32_t stored = n.coding.output_normalisation;
    return nrx::DeliverCode(code, stored, tavrin::IsNormalisationCode(stored, true),
                            nrx::kUnknownNormalisation);
  });
}

NRX_API int32_t NRX_CALL NRXSetNetworkOutputNormFunction(int32_t net, int32_t code) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (!tavrin::IsNormalisationCode(code, true)) return Refuse(nrx::kNormalisationOutOfRange);
    n.coding.output_normalisation = code;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkClassifyDir(int32_t net, int32_t* by_confidence) {
  return nrx::OnNetwork(net,
                        [&](Network& n) { return Deliver(by_confidence, n.coding.classify_by); });
}

NRX_API int32_t NRX_CALL NRXSetNetworkClassifyDir(int32_t net, int32_t by_confidence) {
  return nrx::OnNetwork(net, [&](Network& n) {
    n.coding.classify_by = by_confidence;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkAccept(int32_t net, double* accept) {
  return nrx::OnNetwork(net, [&](Network& n) { return Deliver(accept, n.coding.accept); });
}

NRX_API int32_t NRX_CALL NRXSetNetworkAccept(int32_t net, double accept) {
  return nrx::OnNetwork(net, [&](Network& n) {
    n.coding.accept = accept;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkReject(int32_t net, double* reject) {
  return nrx::OnNetwork(net, [&](Network& n) { return Deliver(reject, n.coding.reject); });
}

NRX_API int32_t NRX_CALL NRXSetNetworkReject(int32_t net, double reject) {
  return nrx::OnNetwork(net, [&](Network& n) {
    n.coding.reject = reject;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetNetworkSteps(int32_t net, int32_t* steps) {
  return nrx::OnNetwork(net, [&](Network& n) { return Deliver(steps, n.coding.steps); });
}

NRX_API int32_t NRX_CALL NRXSetNetworkSteps(int32_t net, int32_t steps) {
  return nrx::OnNetwork(net, nrx::kEdit,
                        [&](Network& n) { return tavrin::SetSteps(n, steps).ok(); });
}

NRX_API int32_t NRX_CALL NRXGetNetworkLookahead(int32_t net, int32_t* lookahead) {
  return nrx::OnNetwork(net, [&](Network& n) { return Deliver(lookahead, n.coding.lookahead); });
}

NRX_API int32_t NRX_CALL NRXSetNetworkLookahead(int32_t net, int32_t lookahead) {
  return nrx::OnNetwork(net, [&](Network& n) {
    if (lookahead < 0) return Refuse(nrx::kLookaheadOutOfBounds);
    n.coding.lookahead = lookahead;
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXCalculateScaleFactors(int32_t net, int32_t ds) {
  return nrx::OnPair(net, ds, tavrin::kNotEnoughMemory,
                     [&](nrx::NetworkSlot& slot, tavrin::DataSet& data) {
                       tavrin::CalculateScaleFactors(slot.network->coding, data);
                       return true;
                     });
}
