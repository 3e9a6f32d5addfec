#pragma once

// Which part of its x range a line graph shows. The plot shows a window as
// wide as its width in pixels less 10, times the x step per pixel; the
// horizontal scroll position slides that window over the data, from the
// start at kScrollAtStart to the end at kScrollAtEnd.

namespace tavrin::gui {

inline constexpr int kScrollAtStart = 10000;
inline constexpr int kScrollAtEnd = 0;
inline constexpr int kScrollStep = 100;  // one arrow key

// The x extent of a graph and how it is drawn.
struct GraphXRange {
  double x_min = 0.0;
  double x_max = 0.0;
  double x_step = 1.0;    // x per pixel
  int plot_width = 0;     // pixels
  bool anchored = false;  // at the origin: the x axis starts at 0
};

// (plot_width − 10) × x_step; 0 for a plot too narrow to show anything.
double VisibleWidth(const GraphXRange& range);

// The x value at the left edge of the plot for scroll position p (clamped
// to 0..10000): offset + 0.0001 × (10000 − p) × (full range − window width).
// The offset is x_min − 5 × x_step, or 0 when anchored. The full range runs
// from the offset to x_max + 5 × x_step, so the end of the data keeps the
// same five-pixel margin as its start. When the data fit in the window, the
// window stays at the offset whatever the position. Non-finite ranges or a
// step that is not positive give the offset (0 when that is not finite).
double LeftEdge(const GraphXRange& range, int position);

// The position after the given number of arrow steps (negative: towards
// the end), kept within 0..10000.
int ScrolledPosition(int position, int steps);

}  // namespace tavrin::gui
