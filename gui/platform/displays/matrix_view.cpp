#include "matrix_view.h"

#include <QAction>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>

namespace tavrin::gui {

MatrixView::MatrixView(DisplayHooks hooks, QWidget* parent)
    : DisplayView(parent),
      hooks_(std::move(hooks)),
      model_(new MatrixTableModel(this)),
      table_(new QTableView(this)) {
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
  auto* paste = new QAction(table_);
  paste->setShortcut(QKeySequence::Paste);
  paste->setShortcutContext(Qt::WidgetShortcut);
  table_->addAction(paste);
  connect(paste, &QAction::triggered, this, &MatrixView::Paste);
}

void MatrixView::Paste() {
  MatrixModel* matrix = model_->matrix();
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (matrix == nullptr || clipboard == nullptr) return;
  const QModelIndex at = table_->currentIndex();
  const PasteResult pasted =
      PasteIntoMatrix(*matrix, clipboard->text().toStdString(), at.isValid() ? at.row() : 0,
                      at.isValid() ? at.column() : 0,
                      hooks_.import_labels ? hooks_.import_labels() : ImportLabels{});
  model_->SetMatrix(matrix);
  if (pasted.refused > 0 && hooks_.report_text) {
    hooks_.report_text(
        QString("%1 pasted cells did not fit the matrix or its values and were left out")
            .arg(pasted.refused));
  }
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
