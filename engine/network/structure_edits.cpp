#include "network/structure_edits.h"
#include "common/messages.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

#include "common/nominal_names.h"
#include "common/status.h"
#include "network/network_design.h"

namespace tavrin {
namespace {

// Runs an edit on a copy and keeps it only when the whole edit succeeded, so a
// failure (including running out of memory) leaves the network as it was.
template <typename Edit>
Status EditCopy(Network& network, Edit&& edit, std::string_view memory_message = kNotEnoughMemory) {
  try {
    Network copy = network;
    if (!edit(copy)) return Status::Failed();
    network = std::move(copy);
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(memory_message);
  }
}

bool IsRadial(const Layer& layer) {
  return layer.psp_fn == PspFunction::kRadial;
}

// Whether the network could hold layer `layer` with `units` units (the other
// layers as they are); checked before an edit allocates anything.
Status CheckHoldable(const Network& net, int layer, std::int64_t units,
                     std::string_view memory_message = kNotEnoughMemory) {
  std::vector<std::int64_t> sizes;
  for (const Layer& l : net.layers) sizes.push_back(l.no_units);
  sizes[layer] = units;
  if (units > kMaxDesignUnits || !NetworkValueCount(sizes)) return Fail(memory_message);
  return Status::Ok();
}

// The same for one variable taking `units` units per value instead of its
// present count.
Status CheckVariableGrowth(const Network& net, int variable, std::int64_t units,
                           std::string_view memory_message = kNotEnoughMemory) {
  const std::int64_t delta = units - net.coding.UnitCount(variable);
  if (delta <= 0) return Status::Ok();
  const bool output = net.coding.is_output(variable);
  if (output && !(net.type != NetworkType::kKohonen && net.no_layers() > 1)) return Status::Ok();
  const int layer = output ? net.no_layers() - 1 : 0;
  const std::int64_t per_value = output ? 1 : net.coding.steps;
  return CheckHoldable(net, layer, net.layers[layer].no_units + delta * per_value, memory_message);
}

template <typename T>
std::vector<T> Pick(const std::vector<T>& old, const std::vector<int>& source, const T& fresh) {
  std::vector<T> result;
  result.reserve(source.size());
  for (int s : source) result.push_back(s >= 0 ? old[s] : fresh);
  return result;
}

// Remaps in place; the caller works on a copy.
void Remap(Network& net, int l, const std::vector<int>& source) {
  Layer& layer = net.layers[l];
  const int count = static_cast<int>(source.size());
  layer.thresholds = Pick(layer.thresholds, source, IsRadial(layer) ? 1.0 : 0.0);
  layer.classes = Pick(layer.classes, source, 0.0);
  layer.activations = Pick(layer.activations, source, 0.0);
  layer.unit_names = Pick(layer.unit_names, source, std::string());
  layer.no_units = count;
  // Rows of the blocks into this layer.
  for (Connection& block : layer.connections) {
    if (block.empty()) continue;
    Connection remapped;
    remapped.Allocate(block.no_from, count);
    remapped.fixed = block.fixed;
    for (int u = 0; u < count; ++u) {
      if (source[u] >= 0) std::copy_n(block.row(source[u]), block.no_from, remapped.row(u));
    }
    block = std::move(remapped);
  }
  // Columns of the blocks other layers hold from this one.
  for (Layer& other : net.layers) {
    Connection& block = other.connections[l];
    if (block.empty()) continue;
    Connection remapped;
    remapped.Allocate(count, block.no_to);
    remapped.fixed = block.fixed;
    for (int u = 0; u < block.no_to; ++u) {
      for (int s = 0; s < count; ++s) {
        if (source[s] >= 0) remapped.at(u, s) = block.at(u, source[s]);
      }
    }
    block = std::move(remapped);
  }
}

// Where each new unit of a side comes from after its variables changed:
// new_of_old[v'] is the old variable behind new variable v' (or -1); each
// variable's steps move so that the newest stay (steps are kept oldest first),
// and nominal units keep their places from the first.
std::vector<int> SideUnitSources(const VariableCoding& before, const VariableCoding& after,
                                 bool outputs, const std::vector<int>& new_of_old, int steps_before,
                                 int steps_after, int units_before) {
  std::vector<int> source;
  const int first_new = outputs ? after.no_inputs : 0;
  const int end_new = outputs ? after.no_variables() : after.no_inputs;
  const int first_old = outputs ? before.no_inputs : 0;
  int coded_before = 0;
  for (int v = first_old; v < (outputs ? before.no_variables() : before.no_inputs); ++v) {
    coded_before += before.UnitCount(v) * steps_before;
  }
  for (int v = first_new; v < end_new; ++v) {
    const int n = after.UnitCount(v);
    const int old_v = new_of_old[v];
    const int old_n = old_v >= 0 ? before.UnitCount(old_v) : 0;
    const int old_p = old_v >= 0 ? before.UnitPosition(old_v) * steps_before : 0;
    for (int s = 0; s < steps_after; ++s) {
      const int old_s = s - (steps_after - steps_before);
      for (int j = 0; j < n; ++j) {
        const bool kept = old_v >= 0 && old_s >= 0 && old_s < steps_before && j < old_n;
        const int old_unit = old_p + old_s * old_n + j;
        source.push_back(kept && old_unit < units_before ? old_unit : -1);
      }
    }
  }
  // Units beyond the coded ones (a simple recurrent network's context units).
  for (int u = coded_before; u < units_before; ++u) source.push_back(u);
  return source;
}

// Substitutes follow their units (one step).
std::vector<double> RemapSubstitutes(const VariableCoding& before, const VariableCoding& after,
                                     const std::vector<int>& new_of_old) {
  std::vector<double> result;
  result.reserve(static_cast<std::size_t>(after.no_normed_inputs) + after.no_normed_outputs);
  for (int v = 0; v < after.no_variables(); ++v) {
    const int old_v = new_of_old[v];
    const int old_base = old_v < 0 ? 0
                                   : (before.is_output(old_v) ? before.no_normed_inputs : 0) +
                                         before.UnitPosition(old_v);
    const int old_n = old_v < 0 ? 0 : before.UnitCount(old_v);
    for (int j = 0; j < after.UnitCount(v); ++j) {
      const std::size_t k = static_cast<std::size_t>(old_base) + j;
      result.push_back(j < old_n && k < before.substitutes.size() ? before.substitutes[k] : 0.0);
    }
  }
  return result;
}

bool OutputLayerFollowsCoding(const Network& net) {
  return net.type != NetworkType::kKohonen && net.no_layers() > 1;
}

// Replaces the network's coding by `after` (whose variables came from the old
// ones as new_of_old says) and re-lays the input and output layers to match.
void Recode(Network& net, VariableCoding after, const std::vector<int>& new_of_old) {
  const VariableCoding& before = net.coding;
  after.RecountUnits();
  after.substitutes = RemapSubstitutes(before, after, new_of_old);
  const std::vector<int> inputs = SideUnitSources(before, after, false, new_of_old, before.steps,
                                                  after.steps, net.layers[0].no_units);
  std::vector<int> outputs;
  if (OutputLayerFollowsCoding(net)) {
    outputs = SideUnitSources(before, after, true, new_of_old, 1, 1, net.output_layer().no_units);
  }
  Remap(net, 0, inputs);
  if (OutputLayerFollowsCoding(net)) Remap(net, net.no_layers() - 1, outputs);
  net.coding = std::move(after);
}

std::vector<int> Identity(int n) {
  std::vector<int> v(n);
  for (int i = 0; i < n; ++i) v[i] = i;
  return v;
}

// Erases `count` variables at index `at` (or inserts fresh ones for count < 0
// ... see InsertVariables) in every per-variable array of the coding.
template <typename T>
void EraseRange(std::vector<T>& v, int at, int count) {
  v.erase(v.begin() + at, v.begin() + at + count);
}

template <typename T>
void InsertRange(std::vector<T>& v, int at, int count, const T& value) {
  v.insert(v.begin() + at, count, value);
}

void InsertVariables(VariableCoding& c, int at, int count, double conversion) {
  InsertRange(c.scale, at, count, 1.0);
  InsertRange(c.shift, at, count, 0.0);
  InsertRange(c.conversion, at, count, conversion);
  InsertRange(c.missing_fn, at, count, static_cast<double>(MissingFunction::kMean));
  InsertRange(c.min_mean, at, count, 0.0);
  InsertRange(c.max_sd, at, count, 1.0);
  InsertRange(c.variable_names, at, count, std::string());
  InsertRange(c.nominals, at, count, std::vector<std::string>());
}

void EraseVariables(VariableCoding& c, int at, int count) {
  EraseRange(c.scale, at, count);
  EraseRange(c.shift, at, count);
  EraseRange(c.conversion, at, count);
  EraseRange(c.missing_fn, at, count);
  EraseRange(c.min_mean, at, count);
  EraseRange(c.max_sd, at, count);
  EraseRange(c.variable_names, at, count);
  EraseRange(c.nominals, at, count);
}

double NewVariableConversion(const Network& net, bool output) {
  const bool mean_sd =
      output && (net.type == NetworkType::kRbf || net.type == NetworkType::kRegression);
  return static_cast<double>(mean_sd ? ConversionFunction::kMeanSd : ConversionFunction::kMinimax);
}

// One numeric variable per unit of the layer on that side, keeping the other side.
void RebuildSide(Network& net, bool outputs) {
  VariableCoding after = net.coding;
  const int first = outputs ? after.no_inputs : 0;
  const int old_count = outputs ? after.no_outputs : after.no_inputs;
  const int new_count = outputs ? net.output_layer().no_units : net.layers[0].no_units;
  EraseVariables(after, first, old_count);
  InsertVariables(after, first, new_count, NewVariableConversion(net, outputs));
  (outputs ? after.no_outputs : after.no_inputs) = new_count;
  if (!outputs) {
    after.steps = 1;
    after.lookahead = 0;
  }
  std::vector<int> new_of_old(after.no_variables(), -1);
  for (int v = 0; v < after.no_variables(); ++v) {
    const bool rebuilt = outputs ? after.is_output(v) : !after.is_output(v);
    if (!rebuilt) new_of_old[v] = outputs ? v : v - new_count + old_count;
  }
  after.RecountUnits();
  after.substitutes = RemapSubstitutes(net.coding, after, new_of_old);
  net.coding = std::move(after);
}

}  // namespace

Status RemapLayerUnits(Network& network, int layer, const std::vector<int>& source) {
  if (!CheckLayerIndex(network, layer)) return Status::Failed();
  for (int s : source) {
    if (s < -1 || s >= network.layers[layer].no_units) return Fail(kUnitOutOfRange);
  }
  return EditCopy(network, [&](Network& net) {
    Remap(net, layer, source);
    return Status::Ok();
  });
}

Status ResizeLayer(Network& network, int layer, int position, int count) {
  if (!CheckLayerIndex(network, layer)) return Status::Failed();
  const int units = network.layers[layer].no_units;
  if (position < 0 || position > units || (count < 0 && position >= units)) {
    return Fail(kOffsetOutOfRange);
  }
  if (count < 0 && (std::int64_t{position} - count > units || -count >= units)) {
    return Fail(kUnitCountOutOfRange);
  }
  if (count > 0 && !CheckHoldable(network, layer, std::int64_t{units} + count)) {
    return Status::Failed();
  }
  std::vector<int> source;
  if (count >= 0) {
    source.reserve(static_cast<std::size_t>(units) + count);
    for (int u = 0; u < position; ++u) source.push_back(u);
    source.insert(source.end(), count, -1);
    for (int u = position; u < units; ++u) source.push_back(u);
  } else {
    for (int u = 0; u < units; ++u) {
      if (u < position || u >= position - count) source.push_back(u);
    }
  }
  return RemapLayerUnits(network, layer, source);
}

Status DeleteLayer(Network& network, int layer) {
  if (!CheckLayerIndex(network, layer)) return Status::Failed();
  if (network.no_layers() < 2) return Fail(kNoLayersLeft);
  return EditCopy(network, [&](Network& net) {
    const bool first = layer == 0;
    const bool last = layer == net.no_layers() - 1;
    net.layers.erase(net.layers.begin() + layer);
    for (Layer& other : net.layers) other.connections.erase(other.connections.begin() + layer);
    if (!first && !last) {
      Layer& next = net.layers[layer];
      next.connections[layer - 1].Allocate(net.layers[layer - 1].no_units, next.no_units);
    }
    if (first) RebuildSide(net, false);
    if (last) RebuildSide(net, true);
    ApplyPairingRule(net);
    return Status::Ok();
  });
}

Status ResizeVariables(Network& network, VariableSide side, int position, int count) {
  const bool outputs = side == VariableSide::kOutputs;
  const VariableCoding& c = network.coding;
  const int on_side = outputs ? c.no_outputs : c.no_inputs;
  if (count >= 0 && (position < 0 || position > on_side)) return Fail(kOffsetOutOfRange);
  if (count < 0 && (position < 0 || std::int64_t{position} - count > on_side)) {
    return Fail(kOffsetOrCountOutOfRange);
  }
  if (count == 0) return Status::Ok();
  if (count > 0) {
    if (std::int64_t{on_side} + count > kMaxVariables) return Fail(kNotEnoughMemory);
    const bool follows =
        !outputs || (network.type != NetworkType::kKohonen && network.no_layers() > 1);
    const int layer = outputs ? network.no_layers() - 1 : 0;
    const std::int64_t added = std::int64_t{count} * (outputs ? 1 : c.steps);
    if (follows && !CheckHoldable(network, layer, network.layers[layer].no_units + added)) {
      return Status::Failed();
    }
  }
  if (count < 0 && !outputs && c.no_inputs + count < 1) {
    return Fail(kNoInputsLeft);
  }
  if (count < 0 && outputs && c.no_outputs + count < 1) {
    return Fail(kNoOutputsLeft);
  }
  if (count > 0 && outputs &&
      (network.type == NetworkType::kKohonen || network.type == NetworkType::kProbabilistic)) {
    return Fail(kSingleOutputKind);
  }
  return EditCopy(network, [&](Network& net) {
    VariableCoding after = net.coding;
    const int at = (outputs ? after.no_inputs : 0) + position;
    std::vector<int> new_of_old = Identity(after.no_variables());
    if (count > 0) {
      InsertVariables(after, at, count, NewVariableConversion(net, outputs));
      new_of_old.insert(new_of_old.begin() + at, count, -1);
    } else {
      EraseVariables(after, at, -count);
      new_of_old.erase(new_of_old.begin() + at, new_of_old.begin() + at - count);
    }
    (outputs ? after.no_outputs : after.no_inputs) += count;
    Recode(net, std::move(after), new_of_old);
    return Status::Ok();
  });
}

Status SetNoNominals(Network& network, int variable, int count) {
  if (!CheckVariableIndex(network, variable)) return Status::Failed();
  if (count < 0) return Fail(kNominalCountOutOfRange);
  if (count > kMaxDesignNominals) return Fail(kNoMemoryForNominals);
  if (!CheckVariableGrowth(network, variable,
                           UnitsPerValue(network.coding.conversion[variable], count),
                           kNoMemoryForNominals)) {
    return Status::Failed();
  }
  return EditCopy(
      network,
      [&](Network& net) {
        VariableCoding after = net.coding;
        ResizeNominalNames(after.nominals[variable], count);
        Recode(net, std::move(after), Identity(net.coding.no_variables()));
        return Status::Ok();
      },
      kNoMemoryForNominals);
}

Status SetConversion(Network& network, int variable, double code) {
  if (!CheckVariableIndex(network, variable)) return Status::Failed();
  if (!IsConversionCode(code, network.coding.is_output(variable))) {
    return Fail(kConversionOutOfRange);
  }
  if (!CheckVariableGrowth(network, variable,
                           UnitsPerValue(code, network.coding.no_nominals(variable)))) {
    return Status::Failed();
  }
  return EditCopy(network, [&](Network& net) {
    VariableCoding after = net.coding;
    after.conversion[variable] = code;
    Recode(net, std::move(after), Identity(net.coding.no_variables()));
    return Status::Ok();
  });
}

Status SetSteps(Network& network, int steps) {
  if (steps < 1) return Fail(kStepsOutOfBounds);
  const VariableCoding& c = network.coding;
  const std::int64_t context =
      network.layers[0].no_units - std::int64_t{c.no_normed_inputs} * c.steps;
  if (!CheckHoldable(
          network, 0,
          std::int64_t{c.no_normed_inputs} * steps + std::max<std::int64_t>(context, 0))) {
    return Status::Failed();
  }
  return EditCopy(network, [&](Network& net) {
    VariableCoding after = net.coding;
    after.steps = steps;
    Recode(net, std::move(after), Identity(net.coding.no_variables()));
    return Status::Ok();
  });
}

Status AppendNetwork(Network& first, const Network& second) {
  if (first.output_layer().no_units != second.layers[0].no_units) {
    return Fail(kAppendMismatch);
  }
  std::vector<std::int64_t> sizes;
  for (const Layer& l : first.layers) sizes.push_back(l.no_units);
  for (int l = 1; l < second.no_layers(); ++l) sizes.push_back(second.layers[l].no_units);
  if (sizes.size() > kMaxDesignLayers) return Fail(kLayersOutOfBounds);
  if (!NetworkValueCount(sizes)) return Fail(kNotEnoughMemory);
  return EditCopy(first, [&](Network& net) {
    const int n1 = net.no_layers();
    const int total = n1 + second.no_layers() - 1;
    for (Layer& layer : net.layers) layer.connections.resize(total);
    for (int l = 1; l < second.no_layers(); ++l) {
      Layer layer = second.layers[l];
      std::vector<Connection> blocks(total);
      for (int j = 0; j < second.no_layers(); ++j)
        blocks[j + n1 - 1] = std::move(layer.connections[j]);
      layer.connections = std::move(blocks);
      net.layers.push_back(std::move(layer));
    }

    // Inputs stay; the outputs and their coding come from the second network.
    const VariableCoding& a = net.coding;
    const VariableCoding& b = second.coding;
    VariableCoding joined = b;
    EraseVariables(joined, 0, b.no_inputs);
    InsertVariables(joined, 0, a.no_inputs, 0.0);
    for (int v = 0; v < a.no_inputs; ++v) {
      joined.scale[v] = a.scale[v];
      joined.shift[v] = a.shift[v];
      joined.conversion[v] = a.conversion[v];
      joined.missing_fn[v] = a.missing_fn[v];
      joined.min_mean[v] = a.min_mean[v];
      joined.max_sd[v] = a.max_sd[v];
      joined.variable_names[v] = a.variable_names[v];
      joined.nominals[v] = a.nominals[v];
    }
    joined.no_inputs = a.no_inputs;
    joined.no_normed_inputs = a.no_normed_inputs;
    joined.input_normalisation = a.input_normalisation;
    joined.steps = a.steps;
    joined.lookahead = a.lookahead;
    joined.substitutes.assign(a.substitutes.begin(), a.substitutes.begin() + a.no_normed_inputs);
    joined.substitutes.insert(joined.substitutes.end(), b.substitutes.begin() + b.no_normed_inputs,
                              b.substitutes.end());
    net.coding = std::move(joined);
    net.error_fn = second.error_fn;
    ApplyPairingRule(net);
    return Status::Ok();
  });
}

}  // namespace tavrin
