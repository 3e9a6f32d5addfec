#include "matrix_view.h"

#include <QFontDatabase>
#include <QHeaderView>

namespace tavrin::gui {

MatrixView::MatrixView(QWidget* parent)
    : DisplayView(parent), model_(new MatrixTableModel(this)), table_(new QTableView(this)) {
  table_->setModel(model_);
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  table_->setFont(fixed);
  const QFontMetrics metrics(fixed);
  table_->horizontalHeader()->setDefaultSectionSize(metrics.horizontalAdvance('0') * 11);
  table_->horizontalHeader()->setMinimumSectionSize(metrics.horizontalAdvance('0') * 4);
  table_->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
}

void MatrixView::SetData(void* data) {
  const bool new_matrix = model_->matrix() != data;
  model_->SetMatrix(static_cast<MatrixModel*>(data));
  if (new_matrix) {
    // Labels wider than a cell widen their column once, not on every refresh.
    table_->resizeColumnsToContents();
    const int least = table_->horizontalHeader()->defaultSectionSize();
    for (int c = 0; c < model_->columnCount(); ++c) {
      table_->setColumnWidth(c, std::max(least, table_->columnWidth(c)));
    }
  }
}

std::optional<std::string> MatrixView::ExportText(ExportLabels labels) const {
  if (model_->matrix() == nullptr) return std::nullopt;
  return MatrixText(*model_->matrix(), labels);
}

void MatrixView::resizeEvent(QResizeEvent* event) {
  DisplayView::resizeEvent(event);
  table_->setGeometry(rect());
}

}  // namespace tavrin::gui
