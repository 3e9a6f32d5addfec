#pragma once

// The line graph: each line in its own pen, a legend, nice axes, and a
// window over the x range that zooms and scrolls.

#include "display_data.h"
#include "graph_scroll.h"
#include "record_view.h"

namespace tavrin::gui {

class GraphView : public RecordView<GraphData> {
 public:
  using RecordView::RecordView;

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

  int position_ = kScrollAtStart;
  int zoom_ = 1;  // the window shows 1/zoom of the full range
};

}  // namespace tavrin::gui
