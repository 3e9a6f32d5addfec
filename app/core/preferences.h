#pragma once

// The user's preferences, kept by a preference store under the key names
// the program has always used. A stored text other than "off" counts as on,
// so a missing key is on.

#include <string>
#include <string_view>

#include "preference_store.h"

namespace tavrin::app {

struct Preferences {
  std::string installation_directory;    // "IniDir4", read only
  bool long_var_message = true;          // "LongVarMess"
  bool bad_nominal_message = true;       // "BadNomMess"
  std::string host_transfer = "Direct";  // "KalvimetraTransfer": "Datafile" or "Direct"
  bool startup_open = true;              // "StartupOpen"
  bool open_launch_wizard = true;        // "OpenLaunchWizard"
  bool detail_shown = true;              // "DetailShown"
  bool color_units = true;               // "ColorUnits"
  std::string startup_directory;         // "StartupDir"

  void Read(const gui::PreferenceStore& store);
};

// Writes one on/off preference as "on" or "off"; false when it could not be kept.
bool WriteSwitchPreference(gui::PreferenceStore& store, std::string_view key, bool on);

}  // namespace tavrin::app
