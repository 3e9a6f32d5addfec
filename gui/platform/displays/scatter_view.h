#pragma once

// The scatter plot: each point set in its own colour, with a legend.

#include "display_data.h"
#include "record_view.h"

namespace tavrin::gui {

class ScatterView : public RecordView<ScatterData> {
 public:
  using RecordView::RecordView;

  std::optional<std::string> ExportText(ExportLabels labels) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tavrin::gui
