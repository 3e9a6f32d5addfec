#pragma once

// The scatter plot: each point set in its own colour, with a legend.

#include "display_data.h"
#include "display_view.h"

namespace tavrin::gui {

class ScatterView : public DisplayView {
 public:
  using DisplayView::DisplayView;

  void SetData(void* data) override;
  std::optional<std::string> ExportText(ExportLabels labels) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const ScatterData* sets_ = nullptr;
};

}  // namespace tavrin::gui
