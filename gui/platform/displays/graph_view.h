#pragma once

// The line graph: each line in its own pen, a legend, nice axes, and a
// window over the x range that zooms and scrolls.

#include "display_data.h"
#include "display_view.h"
#include "graph_scroll.h"

namespace tavrin::gui {

class GraphView : public DisplayView {
 public:
  using DisplayView::DisplayView;

  void SetData(void* data) override;
  std::optional<std::string> ExportText(ExportLabels labels) const override;
  void Scroll(int steps) override;
  void Zoom(int steps) override;
  void ShowFullRange() override;

  int scroll_position() const { return position_; }
  int zoom() const { return zoom_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool HasPoints() const;

  const GraphData* lines_ = nullptr;
  int position_ = kScrollAtStart;
  int zoom_ = 1;  // the window shows 1/zoom of the full range
};

}  // namespace tavrin::gui
