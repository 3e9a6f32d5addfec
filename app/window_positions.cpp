#include "window_positions.h"

#include <fstream>
#include <sstream>

#include "common/safe_file_writer.h"
#include "engine_messages.h"
#include "message_services.h"

namespace tavrin::app {

std::optional<gui::Positions> WindowPositions::Read(const std::filesystem::path& path,
                                                    gui::WindowList& windows) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return gui::ReadPositions(in, windows);
}

gui::Positions WindowPositions::Load(gui::WindowList& windows) {
  std::optional<gui::Positions> positions = Read(user_file_, windows);
  if (!positions) positions = Read(default_file_, windows);
  return positions.value_or(gui::Positions{});
}

bool WindowPositions::Save(const gui::Positions& positions, const gui::WindowList& windows,
                           std::string* error) {
  // The engine's safe writer reports through its sink; keep the reason here.
  CaughtEngineMessages caught;
  std::error_code ec;
  std::filesystem::create_directories(user_file_.parent_path(), ec);
  SafeFileWriter file;
  bool ok = file.Open(user_file_, "Cannot write the window positions file").ok();
  if (ok) {
    ok = gui::WritePositions(file.stream(), positions, windows) &&
         file.Commit("Cannot write the window positions file").ok();
  }
  if (!ok && error) *error = caught.last();
  return ok;
}

void WindowPositions::AtProgramExit(const gui::Positions& current, const gui::WindowList& windows,
                                    MessageServices& services) {
  std::string error;
  switch (at_exit_) {
    case AtExit::kClear: {
      std::error_code ec;
      std::filesystem::remove(user_file_, ec);
      return;
    }
    case AtExit::kRestoreDefaults: {
      gui::WindowList defaults;
      const std::optional<gui::Positions> read = Read(default_file_, defaults);
      if (!read) {
        services.Warning(services.Message(gui::msg::kDefaultPositionsMissing));
        return;
      }
      if (!Save(*read, defaults, &error)) services.Error(error);
      return;
    }
    case AtExit::kStore:
      break;
  }
  if (!current.autostore) {
    // The stored placements stay, written back with autostore off.
    gui::WindowList stored;
    std::optional<gui::Positions> read = Read(user_file_, stored);
    if (!read) read = Read(default_file_, stored);
    if (!read) {
      services.Warning(services.Message(gui::msg::kDefaultPositionsMissing));
      return;
    }
    read->autostore = false;
    if (!Save(*read, stored, &error)) services.Error(error);
    return;
  }
  if (!Save(current, windows, &error)) services.Error(error);
}

}  // namespace tavrin::app
