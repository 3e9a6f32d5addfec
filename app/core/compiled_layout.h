#pragma once

// The definition compiled into the program: the shipped nrx.lay as it was
// at build time, used when the command line names no definition file at all
// ("config" with an empty name).

#include "su_parameter.h"
#include "sug_element.h"

namespace tavrin::app {

void AddCompiledLayout(gui::ParameterTable& parameters, gui::ElementTable& elements);

}  // namespace tavrin::app
