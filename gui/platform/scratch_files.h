#pragma once

// The program's scratch files: in a private directory (mode 0700) of the
// system's temporary directory, with unpredictable names, removed at exit.

#include <QTemporaryDir>
#include <memory>

namespace tavrin::gui {

class ScratchFiles {
 public:
  // False when no private directory could be made.
  bool Create();
  // A new file name in the directory: "<prefix>XXXXXX" made unique.
  QString NewName(const QString& prefix);
  QString directory() const;

 private:
  std::unique_ptr<QTemporaryDir> directory_;
  int count_ = 0;
};

}  // namespace tavrin::gui
