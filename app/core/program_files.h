#pragma once

// Where the program finds its files: the installation directory (where its
// resources are installed: nrx.msg, nrx.lay, icons, help), and the search
// for program files named without a directory.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin::app {

using Environment = std::function<std::optional<std::string>(std::string_view name)>;

// The process environment.
Environment ProcessEnvironment();

class ProgramFiles {
 public:
  ProgramFiles(std::filesystem::path installation_directory, Environment environment)
      : installation_(std::move(installation_directory)), environment_(std::move(environment)) {}

  const std::filesystem::path& installation_directory() const { return installation_; }

  // A file of the installation: "<directory>/<name>", or the name alone
  // (the current directory) when the directory is not known.
  std::filesystem::path Installed(std::string_view name) const;

  // A program file: a name with a directory as given; otherwise the first
  // that exists of $TAVRIN_USERDIR/name, $TAVRIN_SYSDIR/name, the installed
  // file and the name in the current directory (an empty or missing
  // variable is skipped). Nullopt when none exists.
  std::optional<std::filesystem::path> Find(std::string_view name) const;

 private:
  std::filesystem::path installation_;
  Environment environment_;
};

// The installation directory: the one the preferences name when they name
// one, else "<executable's directory>/../share/tavrin" when it exists, else
// none (empty).
std::filesystem::path InstallationDirectory(const std::optional<std::string>& preference,
                                            const std::filesystem::path& executable_directory);

}  // namespace tavrin::app
