#pragma once

// Preferences in a settings file in the user's configuration directory
// ($XDG_CONFIG_HOME, else ~/.config): Tavrin/tavrin.ini, under the key names
// the program has always used. Every write is checked.

#include <QSettings>
#include <memory>

#include "preference_store.h"

namespace tavrin::gui {

class SettingsStore : public PreferenceStore {
 public:
  SettingsStore();
  std::optional<std::string> Read(std::string_view key) const override;
  bool Write(std::string_view key, std::string_view value) override;
  QString file_name() const { return settings_->fileName(); }

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace tavrin::gui
