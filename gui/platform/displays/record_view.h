#pragma once

// A view that paints one record type, read through the parameter's pointer.

#include "display_view.h"

namespace tavrin::gui {

template <class Record>
class RecordView : public DisplayView {
 public:
  using DisplayView::DisplayView;

  void SetData(void* data) override {
    record_ = static_cast<const Record*>(data);
    update();
  }

 protected:
  const Record* record() const { return record_; }

 private:
  const Record* record_ = nullptr;
};

}  // namespace tavrin::gui
