#pragma once

// The Edit menu follows the focus: its commands act on the control that has
// it, so each is enabled only where that control can do it.

#include <string_view>

class QWidget;

namespace tavrin::gui {

struct EditAbilities {
  bool undo = false;
  bool cut = false;
  bool copy = false;
  bool paste = false;
  bool clear = false;
  bool operator==(const EditAbilities&) const = default;
};

// What the Edit menu offers for the control with the focus (null: none).
EditAbilities EditAbilitiesOf(const QWidget* focus);

// Whether the parameter is one of the Edit menu's commands, and that
// command's ability.
bool IsEditCommand(std::string_view parameter);
bool AbilityOf(const EditAbilities& abilities, std::string_view parameter);

}  // namespace tavrin::gui
