#include "network/network_image.h"
#include "common/messages.h"

#include <array>
#include <initializer_list>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "common/binary_reader.h"
#include "common/binary_writer.h"
#include "network/stored_network.h"

namespace tavrin {
namespace {

constexpr int kBlockWords = 32;
constexpr std::int32_t kUnusedWord = -1;
constexpr std::int64_t kBlockBytes = kBlockWords * 4;

// Bytes the items sized by V and U take: six arrays of doubles, the name
// lengths and the nominal counts per variable, one double per unit.
constexpr std::int64_t kBytesPerVariable = 6 * 8 + 4 + 4;
constexpr std::int64_t kBytesPerUnitOfCoding = 8;
// Per unit of a layer: threshold, class and the length of its name.
constexpr std::int64_t kBytesPerLayerUnit = 8 + 8 + 4;

constexpr std::int32_t kNoConnection = 0;
constexpr std::int32_t kFixedConnection = 1;
constexpr std::int32_t kTrainableConnection = 2;

using Block = std::array<std::int32_t, kBlockWords>;

// ---- writing ----

void WriteBlock(BinaryWriter& out, std::initializer_list<std::int32_t> words) {
  int written = 0;
  for (std::int32_t w : words) {
    out.WriteInt32(w);
    ++written;
  }
  for (; written < kBlockWords; ++written) out.WriteInt32(kUnusedWord);
}

void WriteTextArray(BinaryWriter& out, const std::vector<std::string>& texts) {
  for (const std::string& t : texts) out.WriteInt32(static_cast<std::int32_t>(t.size()));
  for (const std::string& t : texts) out.WriteBytes(t);
}

bool TextsFit(const std::vector<std::string>& texts) {
  for (const std::string& t : texts) {
    if (t.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return false;
  }
  return true;
}

Status CheckImageable(const Network& network) {
  if (!CheckWritable(network)) return Status::Failed();
  const VariableCoding& c = network.coding;
  if (!IsNormalisationCode(c.input_normalisation, false) ||
      !IsNormalisationCode(c.output_normalisation, true)) {
    return Fail(kUnknownNormalisation);
  }
  bool fits = TextsFit(c.variable_names);
  for (const auto& names : c.nominals) fits = fits && TextsFit(names);
  for (const Layer& layer : network.layers) fits = fits && TextsFit(layer.unit_names);
  if (!fits) return Fail(kInconsistentNetwork);
  return Status::Ok();
}

std::int32_t MapEntry(const Connection& block) {
  if (block.empty()) return kNoConnection;
  return block.fixed != 0 ? kFixedConnection : kTrainableConnection;
}

void WriteImage(const Network& network, BinaryWriter& out) {
  const VariableCoding& c = network.coding;
  WriteBlock(
      out, {static_cast<std::int32_t>(network.type), static_cast<std::int32_t>(network.error_fn)});
  WriteBlock(out,
             {c.no_inputs, c.no_outputs, c.no_normed_inputs, c.no_normed_outputs, c.classify_by,
              c.steps, c.lookahead, c.input_normalisation, c.output_normalisation});
  out.WriteDouble(c.accept);
  out.WriteDouble(c.reject);
  for (const std::vector<double>* values :
       {&c.conversion, &c.missing_fn, &c.min_mean, &c.max_sd, &c.shift, &c.scale}) {
    out.WriteDoubles(values->data(), static_cast<std::int64_t>(values->size()));
  }
  out.WriteDoubles(c.substitutes.data(), static_cast<std::int64_t>(c.substitutes.size()));
  WriteTextArray(out, c.variable_names);
  for (const auto& names : c.nominals) out.WriteInt32(static_cast<std::int32_t>(names.size()));
  for (const auto& names : c.nominals) {
    if (!names.empty()) WriteTextArray(out, names);
  }

  const int n = network.no_layers();
  WriteBlock(out, {n});
  for (const Layer& layer : network.layers) {
    WriteBlock(out, {layer.no_units, layer.width, static_cast<std::int32_t>(layer.act_fn),
                     static_cast<std::int32_t>(layer.psp_fn)});
    out.WriteDoubles(layer.thresholds.data(), layer.no_units);
    out.WriteDoubles(layer.classes.data(), layer.no_units);
    WriteTextArray(out, layer.unit_names);
  }
  for (const Layer& layer : network.layers) {
    for (const Connection& block : layer.connections) out.WriteInt32(MapEntry(block));
  }
  for (const Layer& layer : network.layers) {
    for (const Connection& block : layer.connections) {
      if (!block.empty()) {
        out.WriteDoubles(block.weights.data(), static_cast<std::int64_t>(block.weights.size()));
      }
    }
  }
}

// ---- reading ----

// Reads one image; each refusal is recorded where it is found.
class ImageReader {
 public:
  explicit ImageReader(std::istream& in) : in_(in) {}

  std::unique_ptr<Network> Read(std::int64_t offset);

 private:
  bool Short() {
    RecordError(kShortNetworkRead);
    return false;
  }

  bool ReadBlock(Block& block);
  bool ReadTextArray(std::int64_t count, std::vector<std::string>& texts);
  bool ReadHead(Network& net);
  bool ReadCoding(VariableCoding& c);
  bool ReadLayers(Network& net);
  bool ReadConnections(Network& net);

  BinaryReader in_;
};

bool ImageReader::ReadBlock(Block& block) {
  for (std::int32_t& word : block) {
    if (!in_.ReadInt32(word)) return Short();
  }
  return true;
}

bool ImageReader::ReadTextArray(std::int64_t count, std::vector<std::string>& texts) {
  std::vector<std::int32_t> lengths;
  if (!in_.ReadInt32s(lengths, count)) return Short();
  for (std::int32_t length : lengths) {
    if (length < 0) return Refuse(kNegativeLength);
  }
  texts.assign(static_cast<std::size_t>(count), std::string());
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    if (!in_.ReadBytes(texts[i], lengths[i])) return Short();
  }
  return true;
}

bool ImageReader::ReadHead(Network& net) {
  Block block;
  if (!ReadBlock(block)) return false;
  if (block[0] < 0 || block[0] >= kNetworkTypeCount) return Refuse(kUnknownType);
  net.type = static_cast<NetworkType>(block[0]);
  const auto error_fn = ErrorFromCode(block[1]);
  if (!error_fn) return Refuse(kUnknownErrorFunctionInFile);
  net.error_fn = *error_fn;
  return true;
}

bool ImageReader::ReadCoding(VariableCoding& c) {
  Block block;
  if (!ReadBlock(block)) return false;
  c.no_inputs = block[0];
  c.no_outputs = block[1];
  c.no_normed_inputs = block[2];
  c.no_normed_outputs = block[3];
  c.classify_by = block[4];
  c.steps = block[5];
  c.lookahead = block[6];
  c.input_normalisation = block[7];
  c.output_normalisation = block[8];
  if (c.no_inputs < 0 || c.no_outputs < 0 || c.no_normed_inputs < 0 || c.no_normed_outputs < 0) {
    return Refuse(kVariableCountsOutOfRange);
  }
  const std::int64_t v = std::int64_t{c.no_inputs} + c.no_outputs;
  const std::int64_t u = std::int64_t{c.no_normed_inputs} + c.no_normed_outputs;
  if (!in_.Holds(1, 2 * 8 + v * kBytesPerVariable + u * kBytesPerUnitOfCoding)) return Short();
  if (v > std::numeric_limits<std::int32_t>::max() ||
      u > std::numeric_limits<std::int32_t>::max()) {
    return Refuse(kVariableCountsOutOfRange);
  }

  if (!in_.ReadDouble(c.accept) || !in_.ReadDouble(c.reject)) return Short();
  for (std::vector<double>* values :
       {&c.conversion, &c.missing_fn, &c.min_mean, &c.max_sd, &c.shift, &c.scale}) {
    if (!in_.ReadDoubles(*values, v)) return Short();
  }
  if (!in_.ReadDoubles(c.substitutes, u)) return Short();
  if (!ReadTextArray(v, c.variable_names)) return false;

  std::vector<std::int32_t> counts;
  if (!in_.ReadInt32s(counts, v)) return Short();
  c.nominals.assign(static_cast<std::size_t>(v), {});
  for (std::size_t i = 0; i < counts.size(); ++i) {
    if (counts[i] < 0) return Refuse(kNegativeLength);
    if (counts[i] > 0 && !ReadTextArray(counts[i], c.nominals[i])) return false;
  }
  return static_cast<bool>(CheckReadCoding(c));
}

bool ImageReader::ReadLayers(Network& net) {
  Block block;
  if (!ReadBlock(block)) return false;
  const std::int32_t n = block[0];
  if (n <= 0) return Refuse(kNoLayersNotFound);
  if (!in_.Holds(n, kBlockBytes)) return Short();
  if (n > kMaxStoredLayers) return Refuse(kNotEnoughMemory);
  net.layers.resize(static_cast<std::size_t>(n));
  for (int l = 0; l < n; ++l) {
    Layer& layer = net.layers[l];
    if (!ReadBlock(block)) return false;
    const std::int32_t units = block[0];
    if (units <= 0) return Refuse(NoUnitsNotPositive(l + 1));
    if (block[1] <= 0) return Refuse(WidthNotPositive(l + 1));
    const auto act = ActivationFromCode(block[2]);
    if (!act) return Refuse(UnknownActivationIn(l + 1));
    const auto psp = PspFromCode(block[3]);
    if (!psp) return Refuse(UnknownPspIn(l + 1));
    if (!in_.Holds(units, kBytesPerLayerUnit)) return Short();
    layer.no_units = units;
    layer.width = block[1];
    layer.act_fn = *act;
    layer.psp_fn = *psp;
    layer.activations.assign(static_cast<std::size_t>(units), 0.0);
    if (!in_.ReadDoubles(layer.thresholds, units) || !in_.ReadDoubles(layer.classes, units)) {
      return Short();
    }
    if (!ReadTextArray(units, layer.unit_names)) return false;
  }
  return true;
}

bool ImageReader::ReadConnections(Network& net) {
  const std::int64_t n = net.no_layers();
  std::vector<std::int32_t> map;
  if (!in_.ReadInt32s(map, n * n)) return Short();

  // Every weight the map asks for must be in the image before any is
  // allocated.
  std::int64_t weights = 0;
  for (std::int64_t to = 0; to < n; ++to) {
    for (std::int64_t from = 0; from < n; ++from) {
      if (map[to * n + from] == kNoConnection) continue;
      weights += std::int64_t{net.layers[from].no_units} * net.layers[to].no_units;
      if (!in_.Holds(weights, 8)) return Short();
    }
  }

  for (std::int64_t to = 0; to < n; ++to) {
    Layer& layer = net.layers[to];
    layer.connections.assign(static_cast<std::size_t>(n), Connection());
    for (std::int64_t from = 0; from < n; ++from) {
      const std::int32_t entry = map[to * n + from];
      if (entry == kNoConnection) continue;
      Connection& block = layer.connections[from];
      block.Allocate(net.layers[from].no_units, layer.no_units);
      block.fixed = entry == kFixedConnection ? 1 : 0;
    }
  }
  for (Layer& layer : net.layers) {
    for (Connection& block : layer.connections) {
      if (block.empty()) continue;
      if (!in_.ReadDoubles(block.weights.data(), static_cast<std::int64_t>(block.weights.size()))) {
        return Short();
      }
    }
  }
  return true;
}

std::unique_ptr<Network> ImageReader::Read(std::int64_t offset) {
  if (!in_.Seek(offset)) {
    Short();
    return nullptr;
  }
  auto net = std::make_unique<Network>();
  if (!ReadHead(*net) || !ReadCoding(net->coding) || !ReadLayers(*net) || !ReadConnections(*net)) {
    return nullptr;
  }
  ApplyPairingRule(*net);
  return net;
}

}  // namespace

Status WriteNetworkImage(const Network& network, std::ostream& out) {
  if (!CheckImageable(network)) return Status::Failed();
  try {
    BinaryWriter writer(out);
    WriteImage(network, writer);
    if (!writer.ok()) return Fail(kNetworkWriteFailed);
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  } catch (const std::ios_base::failure&) {
    return Fail(kNetworkWriteFailed);
  }
}

std::unique_ptr<Network> ReadNetworkImage(std::istream& in, std::int64_t offset) {
  try {
    return ImageReader(in).Read(offset);
  } catch (const std::bad_alloc&) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  } catch (const std::ios_base::failure&) {
    RecordError(kShortNetworkRead);
    return nullptr;
  } catch (const std::length_error&) {
    RecordError(kNotEnoughMemory);
    return nullptr;
  }
}

}  // namespace tavrin
