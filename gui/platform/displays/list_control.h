#pragma once

// The list elements (multiple and single selection): rows and selection read
// from the element's ListData on every refresh, the user's clicks written
// back through its hook.

#include <QListWidget>

#include "bound_controls.h"
#include "display_data.h"

namespace tavrin::gui {

class ListControl : public BoundControl {
 public:
  ListControl(bool multiple, QWidget* parent);

  void Write(const SuParameter& p) override;
  bool is_display() const override { return true; }

  QListWidget* list() const { return list_; }

 private:
  void SelectionChanged();

  QListWidget* list_;
  const ListData* data_ = nullptr;
  bool writing_ = false;
};

}  // namespace tavrin::gui
