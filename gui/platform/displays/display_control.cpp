#include "display_control.h"

#include <QLabel>

#include "bar_chart_view.h"
#include "canvas_view.h"
#include "display_frame.h"
#include "graph_view.h"
#include "list_control.h"
#include "matrix_view.h"
#include "message_numbers.h"
#include "scatter_view.h"
#include "text_view.h"

namespace tavrin::gui {
namespace {

class FramedDisplay : public BoundControl {
 public:
  FramedDisplay(DisplayView* view, const DisplayHooks& hooks, int no_data, const Rect& place,
                QWidget* parent) {
    frame_ = new DisplayFrame(view, hooks, no_data, parent);
    frame_->setGeometry(place.x, place.y, place.width, place.height);
    main_ = frame_;
  }
  void Write(const SuParameter& p) override {
    if (const auto* display = std::get_if<SuDisplay>(&p.value))
      frame_->view()->SetData(display->data);
  }
  bool is_display() const override { return true; }

 private:
  DisplayFrame* frame_;
};

// A display kind this program does not draw keeps a named frame.
class PlaceholderDisplay : public BoundControl {
 public:
  PlaceholderDisplay(const SugParameter& e, const Rect& place, QWidget* parent) {
    auto* frame = new QLabel(QString::fromStdString(e.parameter->name), parent);
    frame->setAlignment(Qt::AlignCenter);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setGeometry(place.x, place.y, place.width, place.height);
    main_ = frame;
  }
  bool is_display() const override { return true; }
};

}  // namespace

std::unique_ptr<BoundControl> MakeDisplayControl(const SugParameter& element,
                                                 const ControlPlace& place, QWidget* parent,
                                                 const DisplayHooks& hooks) {
  const Rect& r = place.control;
  std::unique_ptr<BoundControl> control;
  switch (element.kind()) {
    case SuType::kGraph:
      control = std::make_unique<FramedDisplay>(new GraphView, hooks, msg::kGraphNoData, r, parent);
      break;
    case SuType::kScatter:
      control =
          std::make_unique<FramedDisplay>(new ScatterView, hooks, msg::kScatterNoData, r, parent);
      break;
    case SuType::kBarChart:
      control = std::make_unique<FramedDisplay>(new BarChartView, hooks, 0, r, parent);
      break;
    case SuType::kMatrix:
      control = std::make_unique<FramedDisplay>(new MatrixView(hooks), hooks, 0, r, parent);
      break;
    case SuType::kCanvas:
      control = std::make_unique<FramedDisplay>(new CanvasView, hooks, 0, r, parent);
      break;
    case SuType::kTextViewer:
      control = std::make_unique<FramedDisplay>(new TextView, hooks, 0, r, parent);
      break;
    case SuType::kMultiList:
    case SuType::kList: {
      auto list = std::make_unique<ListControl>(element.kind() == SuType::kMultiList, parent);
      list->main_widget()->setGeometry(r.x, r.y, r.width, r.height);
      control = std::move(list);
      break;
    }
    default:
      return std::make_unique<PlaceholderDisplay>(element, r, parent);
  }
  control->Write(*element.parameter);
  return control;
}

}  // namespace tavrin::gui
