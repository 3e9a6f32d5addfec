#pragma once

// The interface's measures: the dialog font (the platform's default user
// interface font) and the table font (its fixed-width font), and the layout
// units they give. Layout fields count tenths of the dialog font's average
// character width (horizontally) or line height (vertically), so windows
// scale with the font on dense screens.

#include <QFont>

namespace tavrin::gui {

struct LayoutUnits {
  QFont dialog_font;
  QFont bold_font;
  QFont table_font;
  int char_width = 7;    // average character width of the dialog font
  int line_height = 15;  // its height, external leading and 1

  int X(int tenths) const { return tenths * char_width / 10; }
  int Y(int tenths) const { return tenths * line_height / 10; }

  static LayoutUnits FromSystemFonts();
};

}  // namespace tavrin::gui
