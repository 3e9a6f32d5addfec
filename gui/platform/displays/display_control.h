#pragma once

// The control of a display element: the frame and view its kind calls for,
// pointed at the parameter's data on every refresh. What SuDisplay::data
// must point at, by kind: graph GraphData, scatter ScatterData, bar chart
// BarChartData, matrix MatrixModel, canvas CanvasSource, text viewer
// std::string; null shows an empty display. Lists keep a named frame.

#include <memory>

#include "bound_controls.h"
#include "control_layout.h"
#include "display_hooks.h"

namespace tavrin::gui {

std::unique_ptr<BoundControl> MakeDisplayControl(const SugParameter& element,
                                                 const ControlPlace& place, QWidget* parent,
                                                 const DisplayHooks& hooks);

}  // namespace tavrin::gui
