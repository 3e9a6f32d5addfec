#include "online_plain_loop.h"

#include <array>
#include <cmath>
#include <vector>

#include "online_task.h"

namespace tavrin::bench {
namespace {

constexpr int kIn = kReg16NetUnits[0];
constexpr int kHidden = kReg16NetUnits[1];

double Logistic(double x) {
  return 1.0 / (1.0 + std::exp(-x));
}

void Hidden(const LayerWeights& w1, const double* x, std::array<double, kHidden>& h) {
  for (int j = 0; j < kHidden; ++j) {
    double s = w1.bias(j);
    for (int i = 0; i < kIn; ++i) s += w1.weight(j, i) * x[i];
    h[j] = Logistic(s);
  }
}

double Output(const LayerWeights& w2, const std::array<double, kHidden>& h) {
  double y = w2.bias(0);
  for (int j = 0; j < kHidden; ++j) y += w2.weight(0, j) * h[j];
  return y;
}

}  // namespace

double PlainNetwork::Predict(const double* x) const {
  std::array<double, kHidden> h;
  Hidden(weights.layers[0], x, h);
  return Output(weights.layers[1], h);
}

void TrainOnlinePlain(PlainNetwork& net, const Reg16& table, HiddenDeltaRule rule) {
  std::vector<double>& w1 = net.weights.layers[0].values;  // 32 rows of 16 weights and a bias
  std::vector<double>& w2 = net.weights.layers[1].values;  // 32 weights and a bias
  std::vector<double> change1(w1.size(), 0.0);
  std::vector<double> change2(w2.size(), 0.0);
  std::array<double, kHidden> h;
  std::array<double, kHidden> old_w2;
  constexpr int kRow = kIn + 1;
  for (int epoch = 0; epoch < kOnlineEpochs; ++epoch) {
    for (std::size_t c = 0; c < kReg16Cases; ++c) {
      const double* x = table.row(c);
      Hidden(net.weights.layers[0], x, h);
      const double delta = table.targets[c] - Output(net.weights.layers[1], h);
      for (int j = 0; j < kHidden; ++j) {
        old_w2[j] = w2[j];
        change2[j] = kOnlineMomentum * change2[j] + kOnlineRate * delta * h[j];
        w2[j] += change2[j];
      }
      change2[kHidden] = kOnlineMomentum * change2[kHidden] + kOnlineRate * delta;
      w2[kHidden] += change2[kHidden];
      const double* above = rule == HiddenDeltaRule::kChangedWeights ? w2.data() : old_w2.data();
      for (int j = 0; j < kHidden; ++j) {
        const double hidden_delta = h[j] * (1.0 - h[j]) * delta * above[j];
        double* row = w1.data() + j * kRow;
        double* row_change = change1.data() + j * kRow;
        for (int i = 0; i < kIn; ++i) {
          row_change[i] = kOnlineMomentum * row_change[i] + kOnlineRate * hidden_delta * x[i];
          row[i] += row_change[i];
        }
        row_change[kIn] = kOnlineMomentum * row_change[kIn] + kOnlineRate * hidden_delta;
        row[kIn] += row_change[kIn];
      }
    }
  }
}

}  // namespace tavrin::bench
