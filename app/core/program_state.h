#pragma once

// What the program works on: one current network, one current data set
// (the engine's active pair while the program runs), the values its
// parameters hold, its preferences and the host package's directory.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/data_set.h"
#include "network/network.h"
#include "preferences.h"
#include "program_values.h"

namespace tavrin::app {

struct ProgramState {
  std::unique_ptr<Network> network;
  std::unique_ptr<DataSet> data;
  ProgramValues values;
  Preferences preferences;
  // Changes not yet saved: the program asks before they would be lost.
  bool unsaved_network = false;
  bool unsaved_data = false;
  bool unsaved_set = false;
  // Where the network and the data set were last read or saved; empty: never.
  std::string network_file;
  std::string data_file;
  std::string host_directory;  // the host package's, empty when not installed
  // The training graph's lines: (epoch, error) points since it was last
  // cleared, and the epochs counted towards its interval.
  std::vector<std::pair<double, double>> training_line;
  std::vector<std::pair<double, double>> verification_line;
  long graph_epoch = 0;
};

}  // namespace tavrin::app
