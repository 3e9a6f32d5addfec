#pragma once

// The bar chart: bars from zero, with nice axes.

#include "display_data.h"
#include "record_view.h"

namespace tavrin::gui {

class BarChartView : public RecordView<BarChartData> {
 public:
  using RecordView::RecordView;

  std::optional<std::string> ExportText(ExportLabels labels) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tavrin::gui
