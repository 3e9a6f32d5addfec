#include "program_files.h"

#include <cstdlib>
#include <system_error>

namespace tavrin::app {
namespace {

bool Exists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

Environment ProcessEnvironment() {
  return [](std::string_view name) -> std::optional<std::string> {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
}

std::filesystem::path ProgramFiles::Installed(std::string_view name) const {
  if (installation_.empty()) return std::filesystem::path(name);
  return installation_ / std::filesystem::path(name);
}

std::optional<std::filesystem::path> ProgramFiles::Find(std::string_view name) const {
  const std::filesystem::path given(name);
  if (given.has_parent_path()) {
    if (Exists(given)) return given;
    return std::nullopt;
  }
  for (const char* variable : {"TAVRIN_USERDIR", "TAVRIN_SYSDIR"}) {
    const std::optional<std::string> directory =
        environment_ ? environment_(variable) : std::nullopt;
    if (!directory || directory->empty()) continue;
    const std::filesystem::path candidate = std::filesystem::path(*directory) / given;
    if (Exists(candidate)) return candidate;
  }
  if (!installation_.empty() && Exists(installation_ / given)) return installation_ / given;
  if (Exists(given)) return given;
  return std::nullopt;
}

std::filesystem::path InstallationDirectory(const std::optional<std::string>& preference,
                                            const std::filesystem::path& executable_directory) {
  if (preference && !preference->empty()) return std::filesystem::path(*preference);
  const std::filesystem::path shared = executable_directory / ".." / "share" / "tavrin";
  std::error_code ec;
  if (std::filesystem::is_directory(shared, ec)) return shared.lexically_normal();
  return {};
}

}  // namespace tavrin::app
