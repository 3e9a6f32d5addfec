#include "training/radial_layer.h"

#include <new>

#include "common/messages.h"
#include "common/vector_kernels.h"
#include "training/case_source.h"

namespace tavrin {

bool HasRadialLayer(const Network& net) {
  if (net.no_layers() < 2 || net.layers[1].psp_fn != PspFunction::kRadial) return false;
  const Connection& centres = net.layers[1].connections[0];
  return centres.no_from == net.layers[0].no_units && centres.no_to == net.layers[1].no_units;
}

Status CheckRadialNetwork(const Network* net) {
  if (!net) return Fail(kNoActiveNetwork);
  if (!HasRadialLayer(*net)) return Fail(kRadialLayerNeeded);
  return Status::Ok();
}

int NearestCentre(const Network& net, const double* x, double* distance) {
  const Connection& centres = net.layers[1].connections[0];
  int nearest = 0;
  double least = 0.0;
  for (int u = 0; u < centres.no_to; ++u) {
    const double d = SquaredDistance(centres.row(u), x, centres.no_from);
    if (u == 0 || d < least) {
      least = d;
      nearest = u;
    }
  }
  *distance = least;
  return nearest;
}

void MoveCentre(double* c, const double* x, int n, double rate) {
  for (int i = 0; i < n; ++i) c[i] = (1.0 - rate) * c[i] + rate * x[i];
}

int FirstOutputVariable(const DataSet& data) {
  for (int v = 0; v < data.no_variables; ++v) {
    if (data.is_output[v]) return v;
  }
  return -1;
}

Status GatherTrainingInputs(const Network& net, const DataSet& data, TrainingInputs& inputs) {
  try {
    CaseSource source;
    if (!source.Prepare(net, data, false)) return Status::Failed();
    if (source.input_size() != net.layers[0].no_units) return Fail(kInconsistentNetwork);
    inputs.width = source.input_size();
    inputs.cases.clear();
    inputs.values.clear();
    for (int c = 0; c < data.no_cases; ++c) {
      if (data.subset[c] != static_cast<std::int32_t>(Subset::kTraining)) continue;
      const double* v = source.Load(c);
      if (!v) continue;
      inputs.cases.push_back(c);
      inputs.values.insert(inputs.values.end(), v, v + inputs.width);
    }
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  return Status::Ok();
}

}  // namespace tavrin
