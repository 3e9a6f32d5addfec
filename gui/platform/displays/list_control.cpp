#include "list_control.h"

namespace tavrin::gui {

ListControl::ListControl(bool multiple, QWidget* parent) : list_(new QListWidget(parent)) {
  list_->setSelectionMode(multiple ? QAbstractItemView::MultiSelection
                                   : QAbstractItemView::SingleSelection);
  QObject::connect(list_, &QListWidget::itemSelectionChanged, list_,
                   [this] { SelectionChanged(); });
  main_ = list_;
}

void ListControl::Write(const SuParameter& p) {
  const auto* display = std::get_if<SuDisplay>(&p.value);
  data_ = display ? static_cast<const ListData*>(display->data) : nullptr;
  const int rows = data_ && data_->count ? std::max(0, data_->count()) : 0;
  writing_ = true;
  while (list_->count() > rows) delete list_->takeItem(list_->count() - 1);
  while (list_->count() < rows) list_->addItem(QString());
  for (int r = 0; r < rows; ++r) {
    QListWidgetItem* item = list_->item(r);
    const QString text = data_->text ? QString::fromStdString(data_->text(r)) : QString();
    if (item->text() != text) item->setText(text);
    const bool on = data_->selected && data_->selected(r);
    if (item->isSelected() != on) item->setSelected(on);
  }
  writing_ = false;
}

void ListControl::SelectionChanged() {
  if (writing_ || data_ == nullptr || !data_->select) return;
  for (int r = 0; r < list_->count(); ++r) data_->select(r, list_->item(r)->isSelected());
}

}  // namespace tavrin::gui
