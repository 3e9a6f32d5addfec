#pragma once

// The spreadsheet: one class for every matrix element, in a fixed-pitch
// font, with the matrix's column and row labels.

#include <QTableView>

#include "display_hooks.h"
#include "display_view.h"
#include "matrix_table_model.h"

namespace tavrin::gui {

class MatrixView : public DisplayView {
 public:
  explicit MatrixView(DisplayHooks hooks = {}, QWidget* parent = nullptr);

  // Pastes the clipboard's text from the current cell on (the first cell
  // when none is current); cells the matrix refuses keep their values and
  // are reported.
  void Paste();

  void SetData(void* data) override;
  std::optional<std::string> ExportText(ExportLabels labels) const override;

  QTableView* table() const { return table_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  DisplayHooks hooks_;
  MatrixTableModel* model_;
  QTableView* table_;
};

}  // namespace tavrin::gui
