#include "compiled_layout.h"

#include <cstddef>

#include "gui_header.h"

namespace tavrin::app {
namespace compiled {

using SugParameter = gui::CompiledElement;
#include "gui.h"

}  // namespace compiled

void AddCompiledLayout(gui::ParameterTable& parameters, gui::ElementTable& elements) {
  gui::AddCompiledElements(compiled::sugDefaultParameters, compiled::sugNumberParameters,
                           parameters, elements);
}

}  // namespace tavrin::app
