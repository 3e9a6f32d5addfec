#pragma once

// The program's help: one page per topic number, help/<topic>.html in the
// installation directory (topic 0 the contents), shown in a window
// of its own with links between topics.

#include <QPointer>
#include <QString>

class QTextBrowser;
class QWidget;

namespace tavrin::gui {

class HelpViewer {
 public:
  explicit HelpViewer(QString directory) : directory_(std::move(directory)) {}
  ~HelpViewer();

  // Shows a topic, or the contents for -1; false when the page is missing.
  bool Show(int topic, QWidget* parent);
  QString current_page() const;

 private:
  QString directory_;
  QPointer<QTextBrowser> browser_;
};

}  // namespace tavrin::gui
