#include "scratch_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace tavrin::gui {

bool ScratchFiles::Create() {
  directory_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tavrin-XXXXXX");
  if (!directory_->isValid()) {
    directory_.reset();
    return false;
  }
  QFile::setPermissions(directory_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return true;
}

QString ScratchFiles::NewName(const QString& prefix) {
  if (!directory_) return {};
  QTemporaryFile file(directory_->path() + "/" + prefix + "XXXXXX");
  file.setAutoRemove(false);
  if (!file.open()) return {};
  ++count_;
  return file.fileName();
}

QString ScratchFiles::directory() const {
  return directory_ ? directory_->path() : QString();
}

}  // namespace tavrin::gui
