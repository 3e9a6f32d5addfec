#include "training/radial_class_labels.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/vector_kernels.h"
#include "engine_state.h"
#include "network/scale_factors.h"
#include "training/radial_layer.h"

namespace tavrin {
namespace {

// The checks both share; then the training cases' inputs and the class
// (1 .. classes, or 0 when missing or out of range) of each.
Status Prepare(EngineState& e, TrainingInputs& inputs, std::vector<int>& classes,
               int* class_count) {
  const Network* net = e.active_network;
  const DataSet* data = e.active_data_set;
  if (!net) return Fail(kNoActiveNetwork);
  if (!data) return Fail(kNoActiveDataSet);
  if (!HasRadialLayer(*net)) return Fail(kRadialLayerNeeded);
  const int output = FirstOutputVariable(*data);
  if (output < 0 || data->nominals[output].empty()) return Fail(kLabelsNeedNominalOutput);
  if (!VariablesAgree(net->coding, *data, false)) return Fail(kInputMismatch);
  if (!GatherTrainingInputs(*net, *data, inputs)) return Status::Failed();
  if (inputs.count() == 0) return Fail(kNoTrainingCases);
  *class_count = static_cast<int>(data->nominals[output].size());
  classes.resize(inputs.count());
  for (int i = 0; i < inputs.count(); ++i) {
    const double value = data->at(inputs.cases[i], output);
    const bool known = !IsMissing(value) && value >= 1.0 && value < *class_count + 1.0;
    classes[i] = known ? static_cast<int>(value) : 0;
  }
  return Status::Ok();
}

// The class with the most votes (votes[1 ..]; the lower on ties) and its count.
int MostVoted(const std::vector<int>& votes, int* count) {
  int best = 1;
  for (int c = 2; c < static_cast<int>(votes.size()); ++c) {
    if (votes[c] > votes[best]) best = c;
  }
  *count = votes[best];
  return best;
}

// The k-nearest vote over votes[1 ..] (votes[0], the missing classes, left
// out): classes are counted from 1 up while the votes not yet counted could
// still beat the best; a class with more votes than the best becomes the
// best, one with as many marks a tie. Missing on a tie, with no votes or
// with fewer than `least` for the best.
double Vote(const std::vector<int>& votes, int least) {
  int voters = 0;
  for (std::size_t c = 1; c < votes.size(); ++c) voters += votes[c];
  int best = 1;
  int best_count = votes[1];
  int counted = best_count;
  bool tie = false;
  for (int c = 2; c < static_cast<int>(votes.size()) && counted + best_count < voters; ++c) {
    counted += votes[c];
    if (votes[c] > best_count) {
      best = c;
      best_count = votes[c];
      tie = false;
    } else if (votes[c] == best_count) {
      tie = true;
    }
  }
  return tie || best_count == 0 || best_count < least ? MISSING : best;
}

}  // namespace

Status LabelByWinFrequency(EngineState& e, double proportion) {
  TrainingInputs inputs;
  std::vector<int> classes;
  int class_count = 0;
  if (!Prepare(e, inputs, classes, &class_count)) return Status::Failed();
  Layer& layer = e.active_network->layers[1];
  const int units = layer.no_units;
  // votes[u * (classes + 1) + c]; c = 0 holds the cases of missing class.
  const int stride = class_count + 1;
  std::vector<int> votes(static_cast<std::size_t>(units) * stride, 0);
  std::vector<int> won(units, 0);
  for (int i = 0; i < inputs.count(); ++i) {
    double distance = 0.0;
    const int u = NearestCentre(*e.active_network, inputs.row(i), &distance);
    ++won[u];
    ++votes[static_cast<std::size_t>(u) * stride + classes[i]];
  }
  std::vector<int> unit_votes(stride);
  for (int u = 0; u < units; ++u) {
    std::copy_n(votes.begin() + static_cast<std::ptrdiff_t>(u) * stride, stride,
                unit_votes.begin());
    int count = 0;
    const int best = MostVoted(unit_votes, &count);
    layer.classes[u] = count > 0 && count >= proportion * won[u] ? best : 0.0;
  }
  return Status::Ok();
}

Status LabelByKNearestCases(EngineState& e, int k, int l) {
  TrainingInputs inputs;
  std::vector<int> classes;
  int class_count = 0;
  if (!Prepare(e, inputs, classes, &class_count)) return Status::Failed();
  if (k < 1) return Fail(kNeighboursNotPositive);
  k = std::min(k, inputs.count());
  l = std::min(l, k);
  const Network& net = *e.active_network;
  const Connection& centres = net.layers[1].connections[0];
  std::vector<double> labels(centres.no_to);
  std::vector<int> listed(k);
  std::vector<double> listed_distance(k);
  std::vector<int> votes(class_count + 1);
  for (int u = 0; u < centres.no_to; ++u) {
    for (int i = 0; i < inputs.count(); ++i) {
      const double d = SquaredDistance(centres.row(u), inputs.row(i), centres.no_from);
      if (i < k) {
        listed[i] = i;
        listed_distance[i] = d;
        continue;
      }
      const auto farthest = std::max_element(listed_distance.begin(), listed_distance.end());
      if (d < *farthest) {
        *farthest = d;
        listed[farthest - listed_distance.begin()] = i;
      }
    }
    std::fill(votes.begin(), votes.end(), 0);
    for (int i : listed) ++votes[classes[i]];
    labels[u] = Vote(votes, l);
  }
  std::copy(labels.begin(), labels.end(), e.active_network->layers[1].classes.begin());
  return Status::Ok();
}

}  // namespace tavrin
