#pragma once

// What a display frame asks of the program around it.

#include <QString>
#include <functional>
#include <optional>

#include "export_text.h"
#include "matrix_paste.h"

class QWidget;

namespace tavrin::gui {

struct DisplayHooks {
  // Labels in copied and saved text, as clipboard_row_export and
  // clipboard_column_export choose; null: labels on.
  std::function<ExportLabels()> export_labels;
  // Whether text pasted into a spreadsheet carries labels; null: none.
  std::function<ImportLabels()> import_labels;
  // Whether an operation is running: saving waits for it (null: never).
  std::function<bool()> busy;
  // A numbered message for the user (no data, a failed save).
  std::function<void(int number)> report;
  // A failure told in words (the file and the system's reason).
  std::function<void(const QString& text)> report_text;
  // The file to save to; nullopt when cancelled. Null: the platform dialog.
  std::function<std::optional<QString>(QWidget* parent)> choose_save_file;
  // The texts of the three buttons' tooltips (send, copy, save).
  QString tips[3];
};

}  // namespace tavrin::gui
