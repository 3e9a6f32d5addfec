#include "edit_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTableView>

namespace tavrin::gui {

EditAbilities EditAbilitiesOf(const QWidget* focus) {
  const QClipboard* clipboard = QApplication::clipboard();
  // A spreadsheet takes pasted cells.
  if (qobject_cast<const QTableView*>(focus) != nullptr) {
    return {.paste = clipboard != nullptr && !clipboard->text().isEmpty()};
  }
  const auto* field = qobject_cast<const QLineEdit*>(focus);
  if (field == nullptr || !field->isEnabled()) return {};
  const bool selected = field->hasSelectedText();
  if (field->isReadOnly()) return {.copy = selected};
  return {.undo = field->isUndoAvailable(),
          .cut = selected,
          .copy = selected,
          .paste = clipboard != nullptr && !clipboard->text().isEmpty(),
          .clear = selected};
}

bool IsEditCommand(std::string_view parameter) {
  return parameter == "edit_undo" || parameter == "edit_cut" || parameter == "edit_copy" ||
         parameter == "edit_paste" || parameter == "edit_clear";
}

bool AbilityOf(const EditAbilities& abilities, std::string_view parameter) {
  if (parameter == "edit_undo") return abilities.undo;
  if (parameter == "edit_cut") return abilities.cut;
  if (parameter == "edit_copy") return abilities.copy;
  if (parameter == "edit_paste") return abilities.paste;
  if (parameter == "edit_clear") return abilities.clear;
  return true;
}

}  // namespace tavrin::gui
