#pragma once

// The spreadsheet: one class for every matrix element, in a fixed-pitch
// font, with the matrix's column and row labels.

#include <QTableView>

#include "display_view.h"
#include "matrix_table_model.h"

namespace tavrin::gui {

class MatrixView : public DisplayView {
 public:
  explicit MatrixView(QWidget* parent = nullptr);

  void SetData(void* data) override;
  std::optional<std::string> ExportText(ExportLabels labels) const override;

  QTableView* table() const { return table_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  MatrixTableModel* model_;
  QTableView* table_;
};

}  // namespace tavrin::gui
