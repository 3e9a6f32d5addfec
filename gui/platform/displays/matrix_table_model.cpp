#include "matrix_table_model.h"

namespace tavrin::gui {

void MatrixTableModel::SetMatrix(MatrixModel* matrix) {
  const int rows = matrix ? matrix->RowCount() : 0;
  const int columns = matrix ? matrix->ColumnCount() : 0;
  if (matrix == matrix_ && rows == rows_ && columns == columns_) {
    // Same shape: repaint in place, so the current cell and an open editor stay.
    if (rows > 0 && columns > 0) emit dataChanged(index(0, 0), index(rows - 1, columns - 1));
    emit headerDataChanged(Qt::Horizontal, 0, std::max(columns - 1, 0));
    return;
  }
  beginResetModel();
  matrix_ = matrix;
  rows_ = rows;
  columns_ = columns;
  endResetModel();
}

int MatrixTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int MatrixTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

QVariant MatrixTableModel::data(const QModelIndex& index, int role) const {
  if (!matrix_ || !index.isValid()) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole) {
    return QString::fromStdString(matrix_->CellToText(index.row() * columns_ + index.column()));
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

QVariant MatrixTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (!matrix_ || role != Qt::DisplayRole) return {};
  return QString::fromStdString(orientation == Qt::Horizontal ? matrix_->ColumnLabel(section)
                                                              : matrix_->RowLabel(section));
}

Qt::ItemFlags MatrixTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool MatrixTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!matrix_ || !index.isValid() || role != Qt::EditRole) return false;
  const bool taken = matrix_->CellFromText(index.row() * columns_ + index.column(),
                                           value.toString().toStdString());
  emit dataChanged(index, index);
  return taken;
}

}  // namespace tavrin::gui
