#include "network_drawing.h"

#include <algorithm>
#include <cmath>

#include "unit_palette.h"

namespace tavrin::app {
namespace {

// Units beyond this many in a layer are drawn as a count, not one by one.
constexpr int kMostUnitsDrawn = 40;

int UnitsDrawn(const Layer& layer) {
  return std::min(layer.no_units, kMostUnitsDrawn);
}

struct Placement {
  QRectF area;
  int layers = 0;
  double radius = 0.0;

  QPointF Unit(int layer, int unit, int units) const {
    const double x = area.left() + area.width() * (layer + 0.5) / std::max(layers, 1);
    const double y = area.top() + area.height() * (unit + 0.5) / std::max(units, 1);
    return {x, y};
  }
};

QColor Fill(double activation, bool color_units) {
  const int entry = gui::UnitPaletteEntry(activation, color_units);
  if (entry < 0) return Qt::white;
  const gui::PaletteColour c = gui::NetworkPalette()[static_cast<std::size_t>(entry)];
  return {c.red, c.green, c.blue};
}

void DrawConnections(QPainter& painter, const Network& network, const Placement& place) {
  double strongest = 0.0;
  for (const Layer& layer : network.layers) {
    for (const Connection& c : layer.connections) {
      for (double w : c.weights) {
        if (std::isfinite(w)) strongest = std::max(strongest, std::abs(w));
      }
    }
  }
  for (int to = 0; to < network.no_layers(); ++to) {
    const Layer& layer = network.layers[static_cast<std::size_t>(to)];
    for (int from = 0; from < static_cast<int>(layer.connections.size()) && from < to; ++from) {
      const Connection& c = layer.connections[static_cast<std::size_t>(from)];
      if (c.empty()) continue;
      const int from_units = UnitsDrawn(network.layers[static_cast<std::size_t>(from)]);
      for (int j = 0; j < std::min(c.no_to, UnitsDrawn(layer)); ++j) {
        for (int i = 0; i < std::min(c.no_from, from_units); ++i) {
          const double w = c.row(j)[i];
          // Strong weights stand out; the rest fade so a dense layer stays readable.
          const double share = strongest > 0 && std::isfinite(w) ? std::abs(w) / strongest : 0.0;
          QColor colour = w >= 0 ? QColor(40, 120, 40) : QColor(190, 40, 40);
          colour.setAlphaF(static_cast<float>(0.12 + 0.6 * share));
          painter.setPen(QPen(colour, 0.5 + 1.5 * share));
          painter.drawLine(place.Unit(from, i, from_units), place.Unit(to, j, UnitsDrawn(layer)));
        }
      }
    }
  }
}

}  // namespace

void DrawNetwork(QPainter& painter, const QRect& area, const Network& network, bool color_units) {
  painter.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics metrics = painter.fontMetrics();
  Placement place;
  place.layers = network.no_layers();
  // A line at the bottom for the layers' sizes.
  place.area = QRectF(area).adjusted(4, 4, -4, -4 - metrics.height());
  int most = 1;
  for (const Layer& layer : network.layers) most = std::max(most, UnitsDrawn(layer));
  place.radius = std::clamp(
      std::min(place.area.height() / most, place.area.width() / std::max(place.layers, 1) / 3) *
          0.35,
      1.5, 9.0);
  DrawConnections(painter, network, place);
  for (int l = 0; l < place.layers; ++l) {
    const Layer& layer = network.layers[static_cast<std::size_t>(l)];
    const int units = UnitsDrawn(layer);
    for (int u = 0; u < units; ++u) {
      const double a = u < static_cast<int>(layer.activations.size()) ? layer.activations[u] : 0.0;
      painter.setPen(QPen(Qt::black, 1));
      painter.setBrush(Fill(a, color_units));
      painter.drawEllipse(place.Unit(l, u, units), place.radius, place.radius);
    }
    const QString size = layer.no_units > units
                             ? QString("%1 (%2 shown)").arg(layer.no_units).arg(units)
                             : QString::number(layer.no_units);
    const QPointF bottom = place.Unit(l, 0, 1);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(bottom.x() - metrics.horizontalAdvance(size) / 2.0,
                             area.bottom() - metrics.descent() - 2),
                     size);
  }
  painter.setBrush(Qt::NoBrush);
}

gui::CanvasRows NetworkRows(const Network& network) {
  gui::CanvasRows rows;
  for (int l = 0; l < network.no_layers(); ++l) {
    const Layer& layer = network.layers[static_cast<std::size_t>(l)];
    for (int u = 0; u < layer.no_units && u < static_cast<int>(layer.activations.size()); ++u) {
      rows.push_back({l + 1.0, u + 1.0, layer.activations[static_cast<std::size_t>(u)]});
    }
  }
  return rows;
}

}  // namespace tavrin::app
