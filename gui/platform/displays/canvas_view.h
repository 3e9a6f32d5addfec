#pragma once

// The drawing canvas: white, painted by the program's hook.

#include "canvas_source.h"
#include "display_view.h"

namespace tavrin::gui {

class CanvasView : public DisplayView {
 public:
  using DisplayView::DisplayView;

  void SetData(void* data) override;
  std::optional<std::string> ExportText(ExportLabels labels) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const CanvasSource* source_ = nullptr;
};

}  // namespace tavrin::gui
