#pragma once

// What the composite displays are given to show. The program owns the data
// (the engine or the action that filled them); a display only reads them
// while its window is open.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tavrin::gui {

// One line of a line graph. Arrays of unequal length give the points both
// have, so a line filled half-way is drawn and copied without reading past
// either array.
struct GraphLine {
  std::vector<double> x;
  std::vector<double> y;
  std::string legend;
  int pen = 0;  // which of the graph's pens (colour and dash) draws it

  std::size_t size() const { return std::min(x.size(), y.size()); }
};
using GraphData = std::vector<GraphLine>;

// One point set of a scatter plot; sizes as for a graph line.
struct ScatterSet {
  std::vector<double> x;
  std::vector<double> y;
  std::string legend;

  std::size_t size() const { return std::min(x.size(), y.size()); }
};
using ScatterData = std::vector<ScatterSet>;

// A bar chart: bar i (0 <= i < count) covers start + i × bar_width to
// start + (i + 1) × bar_width and is as high as height(i). Heights are asked
// for when drawn, so a chart follows data that change during training.
struct BarChartData {
  int count = 0;
  std::function<double(int)> height;
  double start = 0.0;
  double bar_width = 1.0;
};

// A list (multiple or single selection): its rows' texts and which are
// selected; the user's selection goes back through `select`, row by row.
struct ListData {
  std::function<int()> count;
  std::function<std::string(int row)> text;
  std::function<bool(int row)> selected;
  std::function<void(int row, bool on)> select;
};

// The numbers behind a drawing canvas, one row per drawn point: (x, y) for
// a curve, (x, y, z) for a surface.
using CanvasRows = std::vector<std::vector<double>>;

}  // namespace tavrin::gui
