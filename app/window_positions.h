#pragma once

// Where windows go between runs: the user's positions file (NRX.POS in the
// user's configuration directory) and the shipped defaults (NRXDEF.POS in
// the installation directory). At exit the file is written with the
// current placements, or left as it was (autostore off), or replaced by the
// defaults, or removed, as the user asked; every write goes through a
// temporary file and is checked.

#include <filesystem>
#include <optional>
#include <string>

#include "positions_file.h"
#include "window_list.h"

namespace tavrin::app {

class MessageServices;

class WindowPositions {
 public:
  enum class AtExit { kStore, kRestoreDefaults, kClear };

  WindowPositions(std::filesystem::path user_file, std::filesystem::path default_file)
      : user_file_(std::move(user_file)), default_file_(std::move(default_file)) {}

  // Reads the user's file, or else the defaults, into the window list.
  gui::Positions Load(gui::WindowList& windows);

  // Writes the user's file now; false (with the reason) when it failed.
  bool Save(const gui::Positions& positions, const gui::WindowList& windows, std::string* error);

  // The exit step: with `current.autostore` off the stored placements are
  // written back unchanged. Reports through `services` (message 204 when a
  // file it needs is missing, the reason when a write failed).
  void AtProgramExit(const gui::Positions& current, const gui::WindowList& windows,
                     MessageServices& services);

  void set_at_exit(AtExit what) { at_exit_ = what; }
  AtExit at_exit() const { return at_exit_; }
  const std::filesystem::path& user_file() const { return user_file_; }

 private:
  std::optional<gui::Positions> Read(const std::filesystem::path& path, gui::WindowList& windows);

  std::filesystem::path user_file_;
  std::filesystem::path default_file_;
  AtExit at_exit_ = AtExit::kStore;
};

}  // namespace tavrin::app
