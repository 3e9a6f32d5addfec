#pragma once

// The bar chart: bars from zero, with nice axes.

#include "display_data.h"
#include "display_view.h"

namespace tavrin::gui {

class BarChartView : public DisplayView {
 public:
  using DisplayView::DisplayView;

  void SetData(void* data) override;
  std::optional<std::string> ExportText(ExportLabels labels) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const BarChartData* chart_ = nullptr;
};

}  // namespace tavrin::gui
