#pragma once

// What a drawing canvas's parameter points at: the program's drawing hook
// and the numbers behind the drawing.

#include <QPainter>
#include <QRect>
#include <functional>

#include "display_data.h"

namespace tavrin::gui {

struct CanvasSource {
  std::function<void(QPainter& painter, const QRect& area)> draw;
  // What copy and save write; null or no rows: nothing to export.
  std::function<CanvasRows()> rows;
};

}  // namespace tavrin::gui
