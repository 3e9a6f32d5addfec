#include "preferences.h"

namespace tavrin::app {
namespace {

bool Switch(const gui::PreferenceStore& store, std::string_view key) {
  return store.Read(key).value_or("") != "off";
}

}  // namespace

void Preferences::Read(const gui::PreferenceStore& store) {
  installation_directory = store.Read("IniDir4").value_or("");
  long_var_message = Switch(store, "LongVarMess");
  bad_nominal_message = Switch(store, "BadNomMess");
  host_transfer =
      store.Read("KalvimetraTransfer").value_or("") == "Datafile" ? "Datafile" : "Direct";
  startup_open = Switch(store, "StartupOpen");
  open_launch_wizard = Switch(store, "OpenLaunchWizard");
  detail_shown = Switch(store, "DetailShown");
  color_units = Switch(store, "ColorUnits");
  startup_directory = store.Read("StartupDir").value_or("");
}

bool WriteSwitchPreference(gui::PreferenceStore& store, std::string_view key, bool on) {
  return store.Write(key, on ? "on" : "off");
}

}  // namespace tavrin::app
