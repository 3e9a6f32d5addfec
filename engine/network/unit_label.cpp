#include "network/unit_label.h"

#include <cstdio>
#include <string>

namespace tavrin {
namespace {

std::string First3(const std::string& text) {
  return text.substr(0, 3);
}

// The label of unit `offset` among the units of variable v, `steps` per value.
std::string VariableUnitLabel(const VariableCoding& c, int v, int number, int offset, int steps) {
  const int n = c.UnitCount(v);
  const int step = offset / n;
  std::string lag;
  if (steps > 1) lag = "-" + std::to_string(steps - step);
  const std::string& name = c.variable_names[v];
  if (n == 1) return (name.empty() ? "a" + std::to_string(number) : name) + lag;
  const std::string& value = c.nominals[v][offset % n];
  if (name.empty()) return value + lag;
  return First3(name) + "=" + First3(value) + lag;
}

}  // namespace

std::string UnitLabel(const Network& net, int layer, int unit) {
  const Layer& l = net.layers[layer];
  if (!l.unit_names[unit].empty()) return l.unit_names[unit];
  const VariableCoding& c = net.coding;
  const int last = net.no_layers() - 1;
  if (layer > 0 && layer < last) {
    char text[32];
    std::snprintf(text, sizeof text, "h%d#%02d", layer, unit + 1);
    return text;
  }
  if (layer == last && layer > 0) {
    if (net.type == NetworkType::kKohonen) {
      return "o(" + std::to_string(unit % l.width + 1) + "," + std::to_string(unit / l.width + 1) +
             ")";
    }
    int position = 0;
    for (int i = 0; i < c.no_outputs; ++i) {
      const int v = c.no_inputs + i;
      const int n = c.UnitCount(v);
      if (unit < position + n) return VariableUnitLabel(c, v, i + 1, unit - position, 1);
      position += n;
    }
    return "o" + std::to_string(unit + 1);
  }
  int position = 0;
  for (int v = 0; v < c.no_inputs; ++v) {
    const int n = c.UnitCount(v) * c.steps;
    if (unit < position + n) return VariableUnitLabel(c, v, v + 1, unit - position, c.steps);
    position += n;
  }
  return "C" + std::to_string(unit - position + 1);
}

}  // namespace tavrin
