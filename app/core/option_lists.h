#pragma once

// The option texts of choices and the option names of actions come from
// numbered messages of the message file (4000 to 4093), options separated
// by "|". The file can be edited, so a list that does not have as many
// options as the program expects is reported and made to fit.

#include <string>
#include <vector>

#include "message_file.h"
#include "su_parameter.h"

namespace tavrin::app {

struct OptionSource {
  std::string parameter;
  int message;
  // How many options a choice's index may take; 0: as many as the message
  // has. An action's own options say how many it has.
  int options = 0;
};

void FillOptionLists(gui::ParameterTable& parameters, const std::vector<OptionSource>& sources,
                     const MessageTable& messages, gui::Reporter& reporter);

}  // namespace tavrin::app
