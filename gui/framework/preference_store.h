#pragma once

// Where preferences persist: a settings file in the user's configuration
// directory on the desktop, memory in tests.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin::gui {

class PreferenceStore {
 public:
  virtual ~PreferenceStore() = default;
  virtual std::optional<std::string> Read(std::string_view key) const = 0;
  // False when the value could not be kept.
  virtual bool Write(std::string_view key, std::string_view value) = 0;
};

class MemoryPreferenceStore : public PreferenceStore {
 public:
  std::optional<std::string> Read(std::string_view key) const override {
    const auto at = values_.find(std::string(key));
    if (at == values_.end()) return std::nullopt;
    return at->second;
  }
  bool Write(std::string_view key, std::string_view value) override {
    values_[std::string(key)] = std::string(value);
    return true;
  }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace tavrin::gui
