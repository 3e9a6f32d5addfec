#pragma once

// The controls made for elements, each keeping its element's parameter and
// its control in step: what the control shows as text (the on-screen
// value), writing the parameter's value into it, enabling it. The factory
// makes the control an element's kind and style call for, placed as the
// layout rules say.

#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "control_layout.h"
#include "display_hooks.h"
#include "layout_units.h"
#include "su_parameter.h"
#include "sug_element.h"

namespace tavrin::gui {

class BoundControl {
 public:
  virtual ~BoundControl();

  // The value as the control shows it.
  virtual std::string OnScreenValue() const { return {}; }
  // Shows the parameter's value.
  virtual void Write(const SuParameter&) {}
  virtual void SetEnabled(bool enabled);
  // The user is typing into it: a refresh pass leaves it alone.
  virtual bool IsEditing() const { return false; }
  // What a mnemonic or a script's click acts on.
  virtual QWidget* target() const { return main_; }
  // The displays' area: moved and resized with their windows' anchors.
  virtual bool is_display() const { return false; }

  QWidget* main_widget() const { return main_; }
  QLabel* prompt() const { return prompt_; }

 protected:
  QPointer<QWidget> main_;
  QPointer<QLabel> prompt_;
};

// What a control reports back to the interface.
struct ControlEvents {
  // The text of an edit field, a combo box, a check box ("on"/"off") or a
  // radio group to be committed to the parameter; `from_focus_loss` for a
  // field left without Enter.
  std::function<void(int element, const std::string& text, bool from_focus_loss)> commit;
  // A push button, tool button or what-if button clicked.
  std::function<void(int element)> activate;
  // The spin control stepped by +1 or -1 increments.
  std::function<void(int element, int direction)> spin;
  // The pointer rests on the control: the element's description for the
  // status line.
  std::function<void(int element)> hovered;
};

struct ControlContext {
  const LayoutUnits* units = nullptr;
  QString icons_directory;  // tool button icons, "<dir>/<name>.svg"
  bool on_main_window = false;
  ControlEvents events;
  DisplayHooks displays;
};

// Makes the control of element `index` inside `parent`.
std::unique_ptr<BoundControl> MakeControl(const ElementTable& elements, int index, QWidget* parent,
                                          const ControlContext& context);

}  // namespace tavrin::gui
