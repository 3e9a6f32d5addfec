#pragma once

// The spreadsheet's cells as Qt reads them, all through one MatrixModel.

#include <QAbstractTableModel>

#include "matrix_model.h"

namespace tavrin::gui {

class MatrixTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Shows another matrix, or the same one with new cells.
  void SetMatrix(MatrixModel* matrix);
  MatrixModel* matrix() const { return matrix_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A refused text leaves the cell showing what the matrix holds.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  MatrixModel* matrix_ = nullptr;
  int rows_ = 0;
  int columns_ = 0;
};

}  // namespace tavrin::gui
