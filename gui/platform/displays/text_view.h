#pragma once

// The text viewer: read-only scrolling text from a string the program keeps.

#include <QPlainTextEdit>

#include "display_view.h"

namespace tavrin::gui {

class TextView : public DisplayView {
 public:
  explicit TextView(QWidget* parent = nullptr);

  void SetData(void* data) override;
  std::optional<std::string> ExportText(ExportLabels labels) const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  const std::string* text_ = nullptr;
  std::string shown_;
  QPlainTextEdit* edit_;
};

}  // namespace tavrin::gui
