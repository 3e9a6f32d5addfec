#include "layout_units.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace tavrin::gui {

LayoutUnits LayoutUnits::FromSystemFonts() {
  LayoutUnits units;
  units.dialog_font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  units.bold_font = units.dialog_font;
  units.bold_font.setBold(true);
  units.table_font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  units.table_font.setPixelSize(15);
  const QFontMetrics metrics(units.dialog_font);
  units.char_width = std::max(1, metrics.averageCharWidth());
  units.line_height = std::max(1, metrics.height() + metrics.leading() + 1);
  return units;
}

}  // namespace tavrin::gui
