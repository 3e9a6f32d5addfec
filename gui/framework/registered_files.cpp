#include "registered_files.h"

#include <algorithm>

namespace tavrin::gui {
namespace {

std::string Fill(std::string_view format, std::string_view name) {
  std::string text(format);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, name);
  return text;
}

}  // namespace

RegisteredFiles::RegisteredFiles(Kind kind) : kind_(kind) {
  if (kind_ == Kind::kGuiDefinition) names_.push_back("layout/neural.lay");
}

bool RegisteredFiles::Register(std::string_view name, Reporter& reporter) {
  const bool gui = kind_ == Kind::kGuiDefinition;
  if (std::find(names_.begin(), names_.end(), name) != names_.end()) {
    reporter.Warning(Fill(gui ? "Attempt to re-register Gui Definition file <%s> ignored"
                              : "Attempt to re-register Help Definition file <%s> ignored",
                          name));
    return false;
  }
  if (names_.size() >= kMaxFiles) {
    reporter.Error(Fill(gui ? "Can't register Gui Definition file <%s>; maximum number exceeded"
                            : "Can't register Help Definition file <%s>; maximum number exceeded",
                        name));
    return false;
  }
  names_.emplace_back(name);
  return true;
}

bool RegisteredFiles::Replace(std::string_view old_name, std::string_view new_name,
                              Reporter& reporter) {
  const bool gui = kind_ == Kind::kGuiDefinition;
  if (new_name.empty()) {
    reporter.Error(gui ? "SugReplaceGuidDefinitionFile: must give a valid replacement file name"
                       : "SugReplaceHelpdDefinitionFile: must give a valid replacement file name");
    return false;
  }
  const auto at = std::find(names_.begin(), names_.end(), old_name);
  if (at == names_.end()) {
    reporter.Error(Fill(gui ? "Gui definition file <%s> not found, and so not replaced"
                            : "Help definition file <%s> not found, and so not replaced",
                        old_name));
    return false;
  }
  at->assign(new_name);
  return true;
}

bool RegisteredFiles::Remove(std::string_view name) {
  const auto at = std::find(names_.begin(), names_.end(), name);
  if (at == names_.end()) return false;
  names_.erase(at);
  return true;
}

}  // namespace tavrin::gui
