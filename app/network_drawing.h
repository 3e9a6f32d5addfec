#pragma once

// The network display (net_display): layers as columns of units from input
// on the left to output on the right, each connected layer's weights as
// lines, units filled by their activations when color_units is on.

#include <QPainter>
#include <QRect>

#include "display_data.h"
#include "network/network.h"

namespace tavrin::app {

void DrawNetwork(QPainter& painter, const QRect& area, const Network& network, bool color_units);

// What the display copies: one row per unit, (layer, unit, activation),
// layers and units counted from 1.
gui::CanvasRows NetworkRows(const Network& network);

}  // namespace tavrin::app
