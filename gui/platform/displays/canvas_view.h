#pragma once

// The drawing canvas: white, painted by the program's hook.

#include "canvas_source.h"
#include "record_view.h"

namespace tavrin::gui {

class CanvasView : public RecordView<CanvasSource> {
 public:
  using RecordView::RecordView;

  std::optional<std::string> ExportText(ExportLabels labels) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tavrin::gui
