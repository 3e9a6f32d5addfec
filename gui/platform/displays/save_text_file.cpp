#include "save_text_file.h"

#include <QSaveFile>

namespace tavrin::gui {

QString SaveTextFile(const QString& path, const std::string& text) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return path + ": " + file.errorString();
  const auto size = static_cast<qint64>(text.size());
  if (file.write(text.data(), size) != size) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return path + ": " + reason;
  }
  if (!file.commit()) return path + ": " + file.errorString();
  return {};
}

}  // namespace tavrin::gui
