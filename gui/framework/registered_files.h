#pragma once

// The lists of GUI definition files and help files other code may register
// (at most 20 names each). The program loads its own definition file
// directly; these lists serve callers that add their own.

#include <string>
#include <string_view>
#include <vector>

#include "su_parameter.h"

namespace tavrin::gui {

class RegisteredFiles {
 public:
  enum class Kind { kGuiDefinition, kHelp };
  static constexpr std::size_t kMaxFiles = 20;

  // The definition list starts with "layout/neural.lay"; the help list empty.
  explicit RegisteredFiles(Kind kind);

  bool Register(std::string_view name, Reporter& reporter);
  bool Replace(std::string_view old_name, std::string_view new_name, Reporter& reporter);
  bool Remove(std::string_view name);
  const std::vector<std::string>& names() const { return names_; }

 private:
  Kind kind_;
  std::vector<std::string> names_;
};

}  // namespace tavrin::gui
