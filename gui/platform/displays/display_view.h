#pragma once

// The drawing area inside a display frame. Each kind reads its record from
// the parameter's data pointer; the frame asks it for the text it copies and
// saves, and hands it the keys that move around the data.

#include <QWidget>
#include <optional>
#include <string>

#include "export_text.h"

namespace tavrin::gui {

class DisplayView : public QWidget {
 public:
  using QWidget::QWidget;

  // The record to show (its type follows the display's kind); null when the
  // program has none yet. Called on every refresh, so the view repaints.
  virtual void SetData(void* data) = 0;
  // What copy and save write; nullopt when there are no data to export.
  virtual std::optional<std::string> ExportText(ExportLabels labels) const = 0;

  // Arrow steps (negative: towards the end), zoom steps and the full range;
  // only graphs move.
  virtual void Scroll(int /*steps*/) {}
  virtual void Zoom(int /*steps*/) {}
  virtual void ShowFullRange() {}
};

}  // namespace tavrin::gui
