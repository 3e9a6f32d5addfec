#include "settings_store.h"

#include <QStandardPaths>

namespace tavrin::gui {
namespace {

QString Key(std::string_view key) {
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

SettingsStore::SettingsStore() {
  const QString directory = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  settings_ = std::make_unique<QSettings>(directory + "/Tavrin/tavrin.ini", QSettings::IniFormat);
}

std::optional<std::string> SettingsStore::Read(std::string_view key) const {
  const QVariant value = settings_->value(Key(key));
  if (!value.isValid()) return std::nullopt;
  return value.toString().toStdString();
}

bool SettingsStore::Write(std::string_view key, std::string_view value) {
  settings_->setValue(Key(key),
                      QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace tavrin::gui
