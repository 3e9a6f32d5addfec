#include "help_viewer.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>

namespace tavrin::gui {

HelpViewer::~HelpViewer() {
  if (browser_) delete browser_.data();
}

bool HelpViewer::Show(int topic, QWidget* parent) {
  const QString page = QString("%1.html").arg(topic < 0 ? 0 : topic);
  if (!QFile::exists(directory_ + "/" + page)) return false;
  if (!browser_) {
    browser_ = new QTextBrowser(parent);
    browser_->setWindowFlag(Qt::Window);
    browser_->setWindowTitle(QObject::tr("Tavrin Help"));
    browser_->setSearchPaths({directory_});
    browser_->setOpenExternalLinks(false);
    browser_->resize(640, 520);
  }
  browser_->setSource(QUrl::fromLocalFile(directory_ + "/" + page));
  browser_->show();
  browser_->raise();
  return true;
}

QString HelpViewer::current_page() const {
  return browser_ ? browser_->source().fileName() : QString();
}

}  // namespace tavrin::gui
